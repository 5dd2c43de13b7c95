#include "batch/csvwriter.h"

#include "batch/csvreader.h"

#include <array>
#include <cstring>

namespace kaldora::batch {

namespace {

constexpr char kQuote = '"';

// The bytes that make a field need quotes, looked up for every byte written.
constexpr auto kNeedsQuotes = [] {
    std::array<bool, 256> table{};
    for (const char c : {CsvReader::kSeparator, kQuote, '\n', '\r'}) {
        table[static_cast<unsigned char>(c)] = true;
    }
    return table;
}();

bool needsQuotes(std::string_view text)
{
    for (const char c : text) {
        if (kNeedsQuotes[static_cast<unsigned char>(c)]) {
            return true;
        }
    }
    return false;
}

} // namespace

CsvWriter::CsvWriter(ByteSink& out)
    : m_out(&out)
{
    m_buffer.reserve(kFlushThreshold + 4096);
}

CsvWriter::CsvWriter() = default;

// Whatever is still buffered goes out; a failure here is seen by the
// caller's own flush() or not at all, since a destructor cannot report it.
CsvWriter::~CsvWriter()
{
    if (m_out != nullptr) {
        flush();
    }
}

void CsvWriter::field(std::string_view text)
{
    const bool first = m_firstField;
    m_firstField = false;
    if (!needsQuotes(text)) {
        // One piece for the separator and the field: every cell of every
        // bill is written here.
        const std::size_t at = m_buffer.size();
        const std::size_t separator = first ? 0 : 1;
        m_buffer.resize(at + separator + text.size());
        char* out = m_buffer.data() + at;
        if (!first) {
            *out++ = CsvReader::kSeparator;
        }
        if (!text.empty()) {
            std::memcpy(out, text.data(), text.size());
        }
        return;
    }
    if (!first) {
        m_buffer.push_back(CsvReader::kSeparator);
    }
    m_buffer.push_back(kQuote);
    for (const char c : text) {
        if (c == kQuote) {
            m_buffer.push_back(kQuote);
        }
        m_buffer.push_back(c);
    }
    m_buffer.push_back(kQuote);
}

void CsvWriter::endRecord()
{
    m_buffer.push_back('\n');
    m_firstField = true;
    writeOutIfFull();
}

void CsvWriter::append(std::string_view records)
{
    m_buffer.append(records);
    writeOutIfFull();
}

void CsvWriter::writeOutIfFull()
{
    if (m_out != nullptr && m_buffer.size() >= kFlushThreshold) {
        writeOut();
    }
}

void CsvWriter::writeOut()
{
    if (!m_failed && !m_buffer.empty()) {
        m_failed = !m_out->write(m_buffer.data(), m_buffer.size());
    }
    m_buffer.clear();
}

std::size_t CsvWriter::wholeRecordsLength(std::string_view text)
{
    // A doubled quote inside a field turns quoting off and on again.
    bool quoted = false;
    std::size_t whole = 0;
    for (std::size_t i = 0; i < text.size(); ++i) {
        if (text[i] == kQuote) {
            quoted = !quoted;
        } else if (text[i] == '\n' && !quoted) {
            whole = i + 1;
        }
    }
    return whole;
}

bool CsvWriter::flush()
{
    if (m_out != nullptr) {
        writeOut();
    }
    return !m_failed;
}

} // namespace kaldora::batch
