#pragma once

#include "batch/bytesource.h"

#include <cstddef>
#include <memory>
#include <string>
#include <string_view>
#include <vector>

namespace kaldora::batch {

// Splits CSV input into records: fields separated by ';', records ended by
// LF, CRLF or a lone CR. A field that starts with '"' is quoted: it runs to
// the next lone '"', may hold separators and line ends, and writes a '"' as
// "". A '"' inside an unquoted field is an ordinary character. A UTF-8 byte
// order mark before the first record is dropped, and empty lines are skipped
// (a spreadsheet often leaves one at the end).
//
// The input is read in chunks as records are asked for, so memory does not
// grow with its size. Fields are unquoted in place, and the texts that
// fields() points to stay where they are until release(): the caller can
// keep a block of rows as views and let go of them all at once. The field
// list itself is refilled by each call of next().
class CsvReader {
public:
    enum class Status {
        Record,            // fields() holds the next record
        End,               // no records left
        UnterminatedQuote, // a quoted field runs to the end of the input
        TextAfterQuote,    // a closing '"' is followed by something other than ';' or a line end
        TooLong,           // the record is longer than kMaxRecordBytes; it was skipped
        ReadFailed,        // the input could not be read on; error() says why
    };

    static constexpr char kSeparator = ';';
    static constexpr std::size_t kDefaultChunkBytes = std::size_t{1} << 20;
    // No meter's row comes near this; a longer record is an input that lost
    // a closing quote, and holding it whole could take any amount of memory.
    // A record of exactly this many bytes, its line end not counted, is read.
    static constexpr std::size_t kMaxRecordBytes = std::size_t{1} << 20;

    explicit CsvReader(ByteSource& source, std::size_t chunkBytes = kDefaultChunkBytes);
    ~CsvReader();
    CsvReader(const CsvReader&) = delete;
    CsvReader& operator=(const CsvReader&) = delete;

    // Reads the next record. After TextAfterQuote or TooLong the rest of
    // that record is skipped and reading can go on; after UnterminatedQuote
    // the input is used up; after ReadFailed nothing more can be read.
    Status next();

    const std::vector<std::string_view>& fields() const { return m_fields; }

    // The line (counted from 1) on which the last record, good or bad, began.
    long line() const { return m_line; }

    // Why the input could not be read, after ReadFailed.
    std::string error() const { return m_source.error(); }

    // Lets go of every record read so far: their fields' texts may go.
    void release();

    // Memory held for the records read since the last release().
    std::size_t heldBytes() const;

private:
    struct Chunk {
        std::unique_ptr<char[]> data;
        std::size_t capacity = 0;
    };
    // Where the scan for a record's end stands within the record.
    enum class Scan { FieldStart, Unquoted, Quoted, QuoteInQuoted, AfterQuote };
    enum class Found { Record, TooLong, ReadFailed };

    Chunk newChunk(std::size_t capacity);
    bool refill();
    void skipByteOrderMark();
    bool skipEmptyLines();
    Found findRecordEnd(std::size_t& end, long& lines);
    static Scan nextState(Scan state, char c);
    static Scan inQuotes(char c, bool& lastWasCr, long& lines);
    Found skipRecordRest(Scan state, bool lastWasCr, std::size_t from, long& lines);
    void consumeLineEnd(std::size_t at);
    Status parseRecord(std::size_t end);
    Status readQuoted(std::size_t end);
    void readUnquoted(std::size_t end);

    ByteSource& m_source;
    std::size_t m_chunkBytes;
    Chunk m_chunk;
    std::vector<Chunk> m_held;
    std::vector<Chunk> m_spare;
    std::size_t m_pos = 0;
    std::size_t m_size = 0;
    bool m_pinned = false; // the current chunk holds texts of records handed out
    bool m_sourceDone = false;
    bool m_startChecked = false;
    bool m_afterCr = false; // a CR just ended a line: a LF right after it belongs to it
    long m_line = 0;
    long m_nextLine = 1;
    std::vector<std::string_view> m_fields;
};

} // namespace kaldora::batch
