// The driver of a fuzz target where libFuzzer is not linked (the g++ build):
// it feeds every file named on the command line, and every file in every
// folder named there, to the target once, in a fixed order. Arguments that
// begin with '-' are libFuzzer options and are skipped, so the tests run the
// same command line in both builds.

#include <algorithm>
#include <cstddef>
#include <cstdint>
#include <cstdio>
#include <filesystem>
#include <fstream>
#include <iterator>
#include <string>
#include <system_error>
#include <vector>

extern "C" int LLVMFuzzerTestOneInput(const std::uint8_t* data, std::size_t size);

namespace {

namespace fs = std::filesystem;

constexpr int kExitUsage = 2;

// The files an argument stands for; false when it names nothing readable.
bool collect(const fs::path& path, std::vector<fs::path>& files)
{
    std::error_code ec;
    if (fs::is_directory(path, ec)) {
        std::vector<fs::path> inside;
        for (const auto& entry : fs::directory_iterator(path, ec)) {
            if (entry.is_regular_file(ec)) {
                inside.push_back(entry.path());
            }
        }
        if (ec) {
            return false;
        }
        std::sort(inside.begin(), inside.end());
        files.insert(files.end(), inside.begin(), inside.end());
        return true;
    }
    if (fs::is_regular_file(path, ec)) {
        files.push_back(path);
        return true;
    }
    return false;
}

bool readFile(const fs::path& path, std::vector<std::uint8_t>& bytes)
{
    std::ifstream in(path, std::ios::binary);
    if (!in) {
        return false;
    }
    bytes.assign(std::istreambuf_iterator<char>(in), std::istreambuf_iterator<char>());
    return !in.bad();
}

} // namespace

int main(int argc, char** argv)
{
    std::vector<fs::path> files;
    for (int i = 1; i < argc; ++i) {
        const std::string arg = argv[i];
        if (arg.starts_with('-')) {
            continue;
        }
        if (!collect(arg, files)) {
            std::fprintf(stderr, "%s: cannot read %s\n", argv[0], arg.c_str());
            return kExitUsage;
        }
    }
    // A replay that ran nothing would pass without checking anything.
    if (files.empty()) {
        std::fprintf(stderr, "usage: %s CORPUS_FOLDER_OR_FILE...\n", argv[0]);
        return kExitUsage;
    }
    std::vector<std::uint8_t> bytes;
    for (const fs::path& file : files) {
        if (!readFile(file, bytes)) {
            std::fprintf(stderr, "%s: cannot read %s\n", argv[0], file.c_str());
            return kExitUsage;
        }
        LLVMFuzzerTestOneInput(bytes.data(), bytes.size());
    }
    std::printf("%zu inputs replayed\n", files.size());
    return 0;
}
