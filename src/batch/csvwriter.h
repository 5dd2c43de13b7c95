#pragma once

#include "batch/bytesink.h"

#include <cstddef>
#include <string>
#include <string_view>

namespace kaldora::batch {

// Writes CSV records with ';' between fields and LF after each record,
// quoting a field only when it holds a separator, a quote or a line end.
//
// With a sink, the records collect in a buffer that goes to the sink in
// large pieces, so a hundred thousand rows cost a few dozen writes; after a
// failed write nothing more is written, and failed() says so. Without a
// sink, the writer keeps its records until they are taken with text() and
// clear(): that is how a worker thread writes its share of the bills.
class CsvWriter {
public:
    explicit CsvWriter(ByteSink& out);
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

    // Hands everything buffered to the sink; false when a write has failed
    // at any point.
    bool flush();

    // True once a write to the sink has failed.
    bool failed() const { return m_failed; }

    // How many bytes at the start of `text`, which starts with a record,
    // make whole records: up to the last line end that ends a record,
    // rather than one inside a quoted field.
    static std::size_t wholeRecordsLength(std::string_view text);

private:
    static constexpr std::size_t kFlushThreshold = std::size_t{64} * 1024;

    void writeOutIfFull();
    void writeOut();

    ByteSink* m_out = nullptr;
    bool m_failed = false;
    std::string m_buffer;
    bool m_firstField = true;
};

} // namespace kaldora::batch
