// A fuzz target's main where there is no libFuzzer (a GCC build): runs the target once on
// every file named, or on every file of every folder named, and fails on the first input
// that makes it fail. Options, which only libFuzzer reads (-runs=0), are passed over.
#include <cstdint>
#include <cstdio>
#include <filesystem>
#include <fstream>
#include <iterator>
#include <string>
#include <vector>

extern "C" int LLVMFuzzerTestOneInput(const std::uint8_t* data, std::size_t size);

namespace {

void Replay(const std::filesystem::path& file) {
    std::ifstream in(file, std::ios::binary);
    const std::vector<char> bytes{std::istreambuf_iterator<char>(in),
                                  std::istreambuf_iterator<char>()};
    std::printf("%s\n", file.filename().c_str());
    LLVMFuzzerTestOneInput(reinterpret_cast<const std::uint8_t*>(bytes.data()), bytes.size());
}

}  // namespace

int main(int argc, char** argv) {
    int inputs = 0;
    for (int i = 1; i < argc; ++i) {
        const std::string argument = argv[i];
        if (argument.starts_with('-')) continue;
        if (!std::filesystem::is_directory(argument)) {
            Replay(argument);
            ++inputs;
            continue;
        }
        for (const auto& entry : std::filesystem::directory_iterator(argument)) {
            if (!entry.is_regular_file()) continue;
            Replay(entry.path());
            ++inputs;
        }
    }
    std::printf("%d inputs run\n", inputs);
    return inputs > 0 ? 0 : 1;
}
