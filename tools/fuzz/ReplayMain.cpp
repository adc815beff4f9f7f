// Feeds every file of the folders named on the command line to the fuzz target it is linked with,
// so that each input kept in a corpus stays a test of the ordinary builds.
#include <cstdint>
#include <cstdio>
#include <filesystem>
#include <fstream>
#include <iterator>
#include <memory>
#include <string>

extern "C" int LLVMFuzzerTestOneInput(const uint8_t* data, size_t size);

int main(int argc, char** argv)
{
    int replayed = 0;
    for (int index = 1; index < argc; ++index) {
        for (const auto& entry : std::filesystem::directory_iterator(argv[index])) {
            std::ifstream file(entry.path(), std::ios::binary);
            const std::string bytes((std::istreambuf_iterator<char>(file)), std::istreambuf_iterator<char>());
            // A buffer of exactly the input's size, so that the sanitizers see any read past its end.
            const std::unique_ptr<uint8_t[]> input(new uint8_t[bytes.size()]);
            bytes.copy(reinterpret_cast<char*>(input.get()), bytes.size());
            std::printf("%s\n", entry.path().filename().string().c_str()); // names the input a failure stops at
            std::fflush(stdout);
            LLVMFuzzerTestOneInput(input.get(), bytes.size());
            ++replayed;
        }
    }
    std::printf("%d inputs replayed\n", replayed);
    return replayed > 0 ? 0 : 1;
}
