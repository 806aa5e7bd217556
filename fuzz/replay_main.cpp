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
  if (argc != 2) {
    std::fprintf(stderr, "usage: %s CORPUS_DIR\n", argv[0]);
    return 2;
  }
  std::error_code ec;
  fs::directory_iterator entries(argv[1], ec);
  if (ec) {
    std::fprintf(stderr, "cannot read %s: %s\n", argv[1], ec.message().c_str());
    return 1;
  }
  int count = 0;
  for (const fs::directory_entry& entry : entries) {
    if (!entry.is_regular_file()) continue;
    std::ifstream in(entry.path(), std::ios::binary);
    std::vector<uint8_t> bytes((std::istreambuf_iterator<char>(in)),
                               std::istreambuf_iterator<char>());
    LLVMFuzzerTestOneInput(bytes.data(), bytes.size());
    ++count;
  }
  std::printf("replayed %d inputs\n", count);
  return count > 0 ? 0 : 1;
}
