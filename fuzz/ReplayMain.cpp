// Feeds every file below the given folders (or the given files) to the fuzz
// target once, so the seeds and any crash reproducers run without libFuzzer.
#include <cstdint>
#include <cstdio>
#include <filesystem>
#include <fstream>
#include <iterator>
#include <vector>

extern "C" int LLVMFuzzerTestOneInput(const std::uint8_t *data, std::size_t size);

static int runFile(const std::filesystem::path &path) {
    std::ifstream in(path, std::ios::binary);
    const std::vector<char> bytes((std::istreambuf_iterator<char>(in)), std::istreambuf_iterator<char>());
    LLVMFuzzerTestOneInput(reinterpret_cast<const std::uint8_t *>(bytes.data()), bytes.size());
    return 1;
}

int main(int argc, char **argv) {
    int count = 0;
    for (int i = 1; i < argc; ++i) {
        const std::filesystem::path p(argv[i]);
        if (std::filesystem::is_directory(p)) {
            for (const auto &e : std::filesystem::recursive_directory_iterator(p))
                if (e.is_regular_file()) count += runFile(e.path());
        } else {
            count += runFile(p);
        }
    }
    // Truncations and empty input are worth a run on every seed set.
    const std::uint8_t none = 0;
    LLVMFuzzerTestOneInput(&none, 0);
    std::printf("%d inputs replayed\n", count);
    return count > 0 ? 0 : 1;
}
