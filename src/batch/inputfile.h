#pragma once

#include "batch/bytesource.h"

#include <cstdio>
#include <memory>
#include <string>

namespace kaldora::batch {

// The batch calculator's input: a file, or standard input. It is read in
// pieces as the rows are billed, so neither a large file nor a pipe is ever
// held whole.
class InputFile final : public ByteSource {
public:
    // An empty path or "-" is standard input. Null and a message naming the
    // file and the reason when it cannot be opened.
    static std::unique_ptr<InputFile> open(const std::string& path, std::string& error);

    // Reads an already open stream; `name` is how messages call it.
    InputFile(std::FILE* stream, std::string name, bool owned);
    ~InputFile() override;
    InputFile(const InputFile&) = delete;
    InputFile& operator=(const InputFile&) = delete;

    std::size_t read(char* buffer, std::size_t size) override;
    std::string error() const override;

private:
    std::FILE* m_stream;
    std::string m_name;
    bool m_owned;
    int m_readError = 0;
};

} // namespace kaldora::batch
