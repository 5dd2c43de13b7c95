#include "batch/csvreader.h"

#include <utility>

namespace kaldora::batch {

namespace {

constexpr char kQuote = '"';
constexpr std::string_view kByteOrderMark = "\xEF\xBB\xBF";

bool isLineEndChar(char c)
{
    return c == '\n' || c == '\r';
}

} // namespace

CsvReader::CsvReader(std::string text)
    : m_text(std::move(text))
{
    if (std::string_view(m_text).starts_with(kByteOrderMark)) {
        m_pos = kByteOrderMark.size();
    }
}

bool CsvReader::atLineEnd() const
{
    return m_pos < m_text.size() && isLineEndChar(m_text[m_pos]);
}

void CsvReader::skipLineEnd()
{
    if (m_text[m_pos] == '\r' && m_pos + 1 < m_text.size() && m_text[m_pos + 1] == '\n') {
        ++m_pos;
    }
    ++m_pos;
    ++m_nextLine;
}

CsvReader::Status CsvReader::next()
{
    m_fields.clear();
    while (atLineEnd()) {
        skipLineEnd();
    }
    if (m_pos >= m_text.size()) {
        m_line = m_nextLine;
        return Status::End;
    }
    m_line = m_nextLine;

    for (;;) {
        if (m_pos < m_text.size() && m_text[m_pos] == kQuote) {
            if (const Status s = readQuoted(); s != Status::Record) {
                return s;
            }
        } else {
            readUnquoted();
        }
        if (m_pos >= m_text.size()) {
            return Status::Record;
        }
        if (m_text[m_pos] == kSeparator) {
            ++m_pos;
            continue;
        }
        skipLineEnd();
        return Status::Record;
    }
}

void CsvReader::readUnquoted()
{
    const std::size_t start = m_pos;
    while (m_pos < m_text.size()) {
        const char c = m_text[m_pos];
        if (c == kSeparator || isLineEndChar(c)) {
            break;
        }
        ++m_pos;
    }
    m_fields.emplace_back(m_text.data() + start, m_pos - start);
}

CsvReader::Status CsvReader::readQuoted()
{
    ++m_pos; // the opening quote
    const std::size_t start = m_pos;
    // The unquoted text is never longer than the quoted one, so it is
    // written over the field itself.
    std::size_t out = m_pos;
    for (;;) {
        if (m_pos >= m_text.size()) {
            return Status::UnterminatedQuote;
        }
        const char c = m_text[m_pos];
        if (c == kQuote) {
            if (m_pos + 1 < m_text.size() && m_text[m_pos + 1] == kQuote) {
                m_text[out++] = kQuote;
                m_pos += 2;
                continue;
            }
            ++m_pos;
            break;
        }
        // A line end inside the field still counts as a line of the file, so
        // that later messages name the line an editor shows.
        if (c == '\n' || (c == '\r' && (m_pos + 1 >= m_text.size() || m_text[m_pos + 1] != '\n'))) {
            ++m_nextLine;
        }
        m_text[out++] = c;
        ++m_pos;
    }
    m_fields.emplace_back(m_text.data() + start, out - start);

    if (m_pos < m_text.size() && m_text[m_pos] != kSeparator && !isLineEndChar(m_text[m_pos])) {
        while (m_pos < m_text.size() && !isLineEndChar(m_text[m_pos])) {
            ++m_pos;
        }
        if (m_pos < m_text.size()) {
            skipLineEnd();
        }
        return Status::TextAfterQuote;
    }
    return Status::Record;
}

} // namespace kaldora::batch
