#include "batch/csvwriter.h"

#include "batch/csvreader.h"

namespace kaldora::batch {

namespace {

constexpr char kQuote = '"';

bool needsQuotes(std::string_view text)
{
    for (const char c : text) {
        if (c == CsvReader::kSeparator || c == kQuote || c == '\n' || c == '\r') {
            return true;
        }
    }
    return false;
}

} // namespace

CsvWriter::CsvWriter(std::ostream& out)
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
    if (!m_firstField) {
        m_buffer.push_back(CsvReader::kSeparator);
    }
    m_firstField = false;
    if (!needsQuotes(text)) {
        m_buffer.append(text);
        return;
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
        m_out->write(m_buffer.data(), static_cast<std::streamsize>(m_buffer.size()));
        m_buffer.clear();
    }
}

bool CsvWriter::flush()
{
    if (m_out == nullptr) {
        return true;
    }
    if (!m_buffer.empty()) {
        m_out->write(m_buffer.data(), static_cast<std::streamsize>(m_buffer.size()));
        m_buffer.clear();
    }
    m_out->flush();
    return static_cast<bool>(*m_out);
}

} // namespace kaldora::batch
