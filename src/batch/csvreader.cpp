#include "batch/csvreader.h"

#include <algorithm>
#include <cstring>
#include <utility>

namespace kaldora::batch {

namespace {

constexpr char kQuote = '"';
constexpr std::string_view kByteOrderMark = "\xEF\xBB\xBF";
// Chunks let go of are kept for reuse, up to this many, so that a long
// input does not ask the system for fresh memory at every chunk.
constexpr std::size_t kSpareChunks = 4;
constexpr std::size_t kSmallestChunk = 16;

bool isLineEndChar(char c)
{
    return c == '\n' || c == '\r';
}

} // namespace

CsvReader::CsvReader(ByteSource& source, std::size_t chunkBytes)
    : m_source(source)
    , m_chunkBytes(std::max(chunkBytes, kSmallestChunk))
{
}

CsvReader::~CsvReader() = default;

void CsvReader::release()
{
    for (Chunk& chunk : m_held) {
        if (m_spare.size() < kSpareChunks) {
            m_spare.push_back(std::move(chunk));
        }
    }
    m_held.clear();
    m_pinned = false;
}

std::size_t CsvReader::heldBytes() const
{
    std::size_t bytes = m_chunk.capacity;
    for (const Chunk& chunk : m_held) {
        bytes += chunk.capacity;
    }
    return bytes;
}

CsvReader::Chunk CsvReader::newChunk(std::size_t capacity)
{
    for (auto it = m_spare.begin(); it != m_spare.end(); ++it) {
        if (it->capacity >= capacity) {
            Chunk chunk = std::move(*it);
            m_spare.erase(it);
            return chunk;
        }
    }
    return Chunk{std::make_unique_for_overwrite<char[]>(capacity), capacity};
}

// Keeps the bytes from m_pos on (a record begun but not yet whole), moves
// them to the front of a chunk and reads more after them. A chunk that holds
// texts of records handed out is never written over: it is held, and the
// reading goes on in another one.
bool CsvReader::refill()
{
    if (m_sourceDone) {
        return false;
    }
    const std::size_t partial = m_size - m_pos;
    const std::size_t wanted = std::max(m_chunkBytes, 2 * partial);
    if (m_pinned || m_chunk.capacity < wanted) {
        Chunk fresh = newChunk(wanted);
        if (partial > 0) {
            std::memcpy(fresh.data.get(), m_chunk.data.get() + m_pos, partial);
        }
        if (m_pinned) {
            m_held.push_back(std::move(m_chunk));
        }
        m_chunk = std::move(fresh);
        m_pinned = false;
    } else if (partial > 0 && m_pos > 0) {
        std::memmove(m_chunk.data.get(), m_chunk.data.get() + m_pos, partial);
    }
    m_pos = 0;
    m_size = partial;
    const std::size_t room = m_chunk.capacity - m_size;
    const std::size_t got = m_source.read(m_chunk.data.get() + m_size, room);
    m_size += got;
    if (got < room) {
        m_sourceDone = true;
    }
    return got > 0;
}

void CsvReader::skipByteOrderMark()
{
    m_startChecked = true;
    while (m_size - m_pos < kByteOrderMark.size() && refill()) {
    }
    if (std::string_view(m_chunk.data.get() + m_pos, m_size - m_pos).starts_with(kByteOrderMark)) {
        m_pos += kByteOrderMark.size();
    }
}

bool CsvReader::skipEmptyLines()
{
    for (;;) {
        if (m_pos == m_size && !refill()) {
            return false;
        }
        const char c = m_chunk.data[m_pos];
        if (m_afterCr) {
            m_afterCr = false;
            if (c == '\n') {
                ++m_pos;
                continue;
            }
        }
        if (!isLineEndChar(c)) {
            return true;
        }
        ++m_pos;
        ++m_nextLine;
        m_afterCr = c == '\r';
    }
}

// Finds where the record that starts at m_pos ends: at its line end, or at
// the end of the input. The whole record is then in the current chunk,
// from m_pos to `end`. Line ends inside quoted fields are counted into
// `lines`, since they are lines of the file that later messages count.
// A record longer than kMaxRecordBytes (its line end not counted) is
// skipped wherever it falls in the chunks read.
CsvReader::Found CsvReader::findRecordEnd(std::size_t& end, long& lines)
{
    // Most records hold no quote and end in a LF: found by two quick scans.
    const char* data = m_chunk.data.get();
    if (const void* lf = std::memchr(data + m_pos, '\n', m_size - m_pos)) {
        const std::size_t at = static_cast<std::size_t>(static_cast<const char*>(lf) - data);
        if (std::memchr(data + m_pos, kQuote, at - m_pos) == nullptr &&
            std::memchr(data + m_pos, '\r', at - m_pos) == nullptr) {
            if (at - m_pos > kMaxRecordBytes) {
                return skipRecordRest(Scan::Unquoted, false, at, lines);
            }
            end = at;
            return Found::Record;
        }
    }
    Scan state = Scan::FieldStart;
    bool lastWasCr = false;
    std::size_t i = m_pos;
    for (;;) {
        if (i - m_pos > kMaxRecordBytes) {
            return skipRecordRest(state, lastWasCr, i, lines);
        }
        if (i == m_size) {
            const std::size_t scanned = i - m_pos;
            if (!refill()) {
                if (!m_source.error().empty()) {
                    return Found::ReadFailed;
                }
                end = m_size;
                return Found::Record;
            }
            i = m_pos + scanned;
            continue;
        }
        const char c = m_chunk.data[i];
        if (state == Scan::Quoted) {
            state = inQuotes(c, lastWasCr, lines);
            ++i;
            continue;
        }
        if (isLineEndChar(c)) {
            end = i;
            return Found::Record;
        }
        state = nextState(state, c);
        ++i;
    }
}

// One character inside a quoted field: a quote may end the field; a LF, a
// CR LF or a lone CR is a line of the file.
CsvReader::Scan CsvReader::inQuotes(char c, bool& lastWasCr, long& lines)
{
    if (c == '\r' || (c == '\n' && !lastWasCr)) {
        ++lines;
    }
    lastWasCr = c == '\r';
    return c == kQuote ? Scan::QuoteInQuoted : Scan::Quoted;
}

CsvReader::Scan CsvReader::nextState(Scan state, char c)
{
    switch (state) {
    case Scan::FieldStart:
        return c == kQuote ? Scan::Quoted : c == kSeparator ? Scan::FieldStart : Scan::Unquoted;
    case Scan::Unquoted:
        return c == kSeparator ? Scan::FieldStart : Scan::Unquoted;
    case Scan::Quoted:
        return c == kQuote ? Scan::QuoteInQuoted : Scan::Quoted;
    case Scan::QuoteInQuoted:
        // "" is a quote inside the field; after a closing quote only a
        // separator may follow, anything else spoils the rest of the line.
        return c == kQuote ? Scan::Quoted : c == kSeparator ? Scan::FieldStart : Scan::AfterQuote;
    case Scan::AfterQuote:
        return Scan::AfterQuote;
    }
    return state;
}

// Reads past the rest of a record too long to hold, from `from` in the
// current chunk on, without keeping it, still counting the lines inside its
// quoted fields.
CsvReader::Found CsvReader::skipRecordRest(Scan state, bool lastWasCr, std::size_t from,
                                           long& lines)
{
    for (;;) {
        for (std::size_t i = from; i < m_size; ++i) {
            const char c = m_chunk.data[i];
            if (state == Scan::Quoted) {
                state = inQuotes(c, lastWasCr, lines);
            } else if (isLineEndChar(c)) {
                consumeLineEnd(i);
                return Found::TooLong;
            } else {
                state = nextState(state, c);
            }
        }
        m_pos = m_size;
        if (!refill()) {
            return m_source.error().empty() ? Found::TooLong : Found::ReadFailed;
        }
        from = 0;
    }
}

void CsvReader::consumeLineEnd(std::size_t at)
{
    m_afterCr = m_chunk.data[at] == '\r';
    m_pos = at + 1;
    ++m_nextLine;
}

CsvReader::Status CsvReader::next()
{
    m_fields.clear();
    if (!m_startChecked) {
        skipByteOrderMark();
    }
    if (!skipEmptyLines()) {
        m_line = m_nextLine;
        return m_source.error().empty() ? Status::End : Status::ReadFailed;
    }
    m_line = m_nextLine;

    std::size_t end = 0;
    long lines = 0;
    const Found found = findRecordEnd(end, lines);
    m_nextLine += lines;
    if (found == Found::ReadFailed) {
        return Status::ReadFailed;
    }
    if (found == Found::TooLong) {
        return Status::TooLong;
    }
    const Status status = parseRecord(end);
    if (end < m_size) {
        consumeLineEnd(end);
    } else {
        m_pos = end;
    }
    if (status == Status::Record) {
        m_pinned = true;
    }
    return status;
}

// Splits the record from m_pos to `end`, which holds no line end outside
// quotes: after each field comes a separator or the record's end.
CsvReader::Status CsvReader::parseRecord(std::size_t end)
{
    for (;;) {
        if (m_pos < end && m_chunk.data[m_pos] == kQuote) {
            if (const Status s = readQuoted(end); s != Status::Record) {
                m_pos = end;
                return s;
            }
        } else {
            readUnquoted(end);
        }
        if (m_pos >= end) {
            return Status::Record;
        }
        ++m_pos; // the separator
    }
}

void CsvReader::readUnquoted(std::size_t end)
{
    const char* data = m_chunk.data.get();
    const void* separator = std::memchr(data + m_pos, kSeparator, end - m_pos);
    const std::size_t stop =
        separator != nullptr ? static_cast<std::size_t>(static_cast<const char*>(separator) - data)
                             : end;
    m_fields.emplace_back(data + m_pos, stop - m_pos);
    m_pos = stop;
}

CsvReader::Status CsvReader::readQuoted(std::size_t end)
{
    char* data = m_chunk.data.get();
    ++m_pos; // the opening quote
    const std::size_t start = m_pos;
    // The unquoted text is never longer than the quoted one, so it is
    // written over the field itself.
    std::size_t out = m_pos;
    for (;;) {
        if (m_pos >= end) {
            return Status::UnterminatedQuote;
        }
        const char c = data[m_pos];
        if (c == kQuote) {
            if (m_pos + 1 < end && data[m_pos + 1] == kQuote) {
                data[out++] = kQuote;
                m_pos += 2;
                continue;
            }
            ++m_pos;
            break;
        }
        data[out++] = c;
        ++m_pos;
    }
    m_fields.emplace_back(data + start, out - start);
    if (m_pos < end && data[m_pos] != kSeparator) {
        return Status::TextAfterQuote;
    }
    return Status::Record;
}

} // namespace kaldora::batch
