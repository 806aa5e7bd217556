// Replays every file of a fuzz corpus folder through LLVMFuzzerTestOneInput, so the ordinary
// (gcc, sanitized, and Windows) builds re-check the inputs libFuzzer found.
#include <cstdint>
#include <cstdio>
#include <filesystem>
#include <fstream>
#include <iterator>
#include <vector>

extern "C" int LLVMFuzzerTestOneInput(const uint8_t* data, size_t size);

int main(int argc, char** argv) {
  namespace fs = std::filesystem;
  std::error_code ec;
  int count = 0;
  // A missing folder (or argument) counts no input and fails.
  for (const auto& entry : fs::directory_iterator(argc == 2 ? argv[1] : "", ec)) {
    if (!entry.is_regular_file()) continue;
    std::ifstream in(entry.path(), std::ios::binary);
    const std::vector<uint8_t> bytes{std::istreambuf_iterator<char>(in), {}};
    LLVMFuzzerTestOneInput(bytes.data(), bytes.size());
    ++count;
  }
  std::printf("replayed %d inputs%s%s\n", count, ec ? ": " : "", ec ? ec.message().c_str() : "");
  return count > 0 ? 0 : 1;
}
