// replay_corpus.cpp: runs a fuzz target over every file of its seed corpus,
// so that the ordinary test build checks the corpus without libFuzzer. The
// program is built with the sanitizers; a fault in any input fails it.
//
// Usage: <target>_replay DIRECTORY...
#include <cstddef>
#include <cstdint>
#include <cstdio>
#include <filesystem>
#include <fstream>
#include <iterator>
#include <vector>

extern "C" int LLVMFuzzerTestOneInput(const std::uint8_t* data, std::size_t size);

int main(int argc, char** argv) {
    std::size_t replayed = 0;
    for (int i = 1; i < argc; ++i) {
        for (const auto& entry : std::filesystem::directory_iterator(argv[i])) {
            if (!entry.is_regular_file()) {
                continue;
            }
            std::ifstream in(entry.path(), std::ios::binary);
            const std::vector<unsigned char> bytes{std::istreambuf_iterator<char>(in),
                                                   std::istreambuf_iterator<char>()};
            LLVMFuzzerTestOneInput(bytes.data(), bytes.size());
            ++replayed;
        }
    }
    std::printf("replayed %zu inputs\n", replayed);
    // An empty corpus would pass while checking nothing.
    return replayed > 0 ? 0 : 1;
}
