#pragma once

#include <cstddef>
#include <string>
#include <string_view>
#include <vector>

namespace kaldora::batch {

// Splits CSV text into records: fields separated by ';', records ended by
// LF, CRLF or a lone CR. A field that starts with '"' is quoted: it runs to
// the next lone '"', may hold separators and line ends, and writes a '"' as
// "". A '"' inside an unquoted field is an ordinary character. A UTF-8 byte
// order mark before the first record is dropped, and empty lines are skipped
// (a spreadsheet often leaves one at the end).
//
// The reader owns the text and unquotes fields in place, so a record costs
// no allocation once the field list has grown to the widest record. The
// texts that fields() points to stay in place as long as the reader lives,
// so rows can be kept as views while later ones are read; the list itself
// is refilled by each call of next().
class CsvReader {
public:
    enum class Status {
        Record,            // fields() holds the next record
        End,               // no records left
        UnterminatedQuote, // a quoted field runs to the end of the text
        TextAfterQuote,    // a closing '"' is followed by something other than ';' or a line end
    };

    static constexpr char kSeparator = ';';

    explicit CsvReader(std::string text);

    // Reads the next record. After TextAfterQuote the rest of that line is
    // skipped and reading can go on; after UnterminatedQuote the text is used up.
    Status next();

    const std::vector<std::string_view>& fields() const { return m_fields; }

    // The line (counted from 1) on which the last record, good or bad, began.
    long line() const { return m_line; }

private:
    bool atLineEnd() const;
    void skipLineEnd();
    Status readQuoted();
    void readUnquoted();

    std::string m_text;
    std::size_t m_pos = 0;
    long m_line = 0;
    long m_nextLine = 1;
    std::vector<std::string_view> m_fields;
};

} // namespace kaldora::batch
