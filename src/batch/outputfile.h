#pragma once

#include "batch/bytesink.h"

#include <string>

namespace kaldora::batch {

// The batch calculator's output: standard output, written straight to its
// file descriptor, so that a failed write is seen at once and its cause (a
// full disk, a reader that went away, a file-size limit) can be named.
//
// After a failed write a regular file holds whole rows only: the part of the
// failed piece that went out is cut off again. A pipe or a terminal cannot
// take it back; the message then says that the last row is torn.
class OutputFile final : public ByteSink {
public:
    // Standard output. On Windows it is switched to binary, so that the
    // bills have the same bytes there as anywhere else.
    static OutputFile standardOutput();

    explicit OutputFile(int fd);

    bool write(const char* data, std::size_t size) override;
    std::string error() const override;

private:
    int m_fd;
    int m_writeError = 0;
    bool m_tornRow = false;
};

} // namespace kaldora::batch
