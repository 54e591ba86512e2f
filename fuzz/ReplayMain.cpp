// Runs a fuzz target once over each file named on the command line, or over every file of a
// named folder (in name order): the regression test of the inputs kept in its corpus. A
// crash ends the program as it would under the fuzzer; otherwise it prints how many inputs ran.

#include <algorithm>
#include <cstdint>
#include <cstdio>
#include <filesystem>
#include <fstream>
#include <iterator>
#include <vector>

extern "C" int LLVMFuzzerTestOneInput(const uint8_t *data, size_t size);

namespace {

void runFile(const std::filesystem::path &path)
{
    std::ifstream in(path, std::ios::binary);
    const std::vector<char> bytes((std::istreambuf_iterator<char>(in)), std::istreambuf_iterator<char>());
    std::fprintf(stderr, "%s\n", path.c_str());
    LLVMFuzzerTestOneInput(reinterpret_cast<const uint8_t *>(bytes.data()), bytes.size());
}

} // namespace

int main(int argc, char **argv)
{
    int count = 0;
    for (int i = 1; i < argc; ++i) {
        const std::filesystem::path path(argv[i]);
        if (!std::filesystem::is_directory(path)) {
            runFile(path);
            ++count;
            continue;
        }
        std::vector<std::filesystem::path> files;
        for (const auto &entry : std::filesystem::directory_iterator(path))
            if (entry.is_regular_file())
                files.push_back(entry.path());
        std::sort(files.begin(), files.end());
        for (const auto &file : files) {
            runFile(file);
            ++count;
        }
    }
    if (count == 0) {
        std::fprintf(stderr, "no input: give files or folders of the corpus\n");
        return 1;
    }
    std::printf("%d inputs replayed\n", count);
    return 0;
}
