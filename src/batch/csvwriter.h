#pragma once

#include <cstddef>
#include <ostream>
#include <string>
#include <string_view>

namespace kaldora::batch {

// Writes CSV records with ';' between fields and LF after each record,
// quoting a field only when it holds a separator, a quote or a line end.
//
// With a stream, the records collect in a buffer that goes to the stream in
// large pieces, so a hundred thousand rows cost a few dozen writes. Without
// one, the writer keeps its records until they are taken with text() and
// clear(): that is how a worker thread writes its share of the bills.
class CsvWriter {
public:
    explicit CsvWriter(std::ostream& out);
    CsvWriter();
    ~CsvWriter();
    CsvWriter(const CsvWriter&) = delete;
    CsvWriter& operator=(const CsvWriter&) = delete;
    CsvWriter(CsvWriter&&) = default;

    void field(std::string_view text);
    void endRecord();

    // Adds whole records written by another writer.
    void append(std::string_view records);

    // The records not yet handed to a stream.
    std::string_view text() const { return m_buffer; }
    void clear() { m_buffer.clear(); }

    // Hands everything buffered to the stream and flushes it; false when the
    // stream has failed at any point.
    bool flush();

private:
    static constexpr std::size_t kFlushThreshold = std::size_t{64} * 1024;

    void writeOutIfFull();

    std::ostream* m_out = nullptr;
    std::string m_buffer;
    bool m_firstField = true;
};

} // namespace kaldora::batch
