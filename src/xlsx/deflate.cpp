// zlib behind small functions: every z_stream is ended by its owner's destructor.
#include "xlsx/deflate.h"

#include <zlib.h>

#include <limits>

namespace tarvenix::xlsx {

namespace {

constexpr int raw_window_bits = -15;  // negative: no zlib header, as zip stores it
constexpr int memory_level = 6;       // smaller tables than zlib's default: faster here

class InflateStream {
 public:
  InflateStream() { ok_ = inflateInit2(&stream_, raw_window_bits) == Z_OK; }
  ~InflateStream() {
    if (ok_) inflateEnd(&stream_);
  }
  InflateStream(const InflateStream&) = delete;
  InflateStream& operator=(const InflateStream&) = delete;
  bool ok() const { return ok_; }
  z_stream* get() { return &stream_; }

 private:
  z_stream stream_{};
  bool ok_ = false;
};

constexpr size_t max_chunk = std::numeric_limits<uInt>::max();

}  // namespace

uint32_t crc32_of(std::string_view data) {
  uLong crc = crc32(0L, Z_NULL, 0);
  while (!data.empty()) {
    const size_t n = data.size() < max_chunk ? data.size() : max_chunk;
    crc = crc32(crc, reinterpret_cast<const Bytef*>(data.data()), static_cast<uInt>(n));
    data.remove_prefix(n);
  }
  return static_cast<uint32_t>(crc);
}

bool inflate_raw(std::string_view compressed, size_t expected_size, std::string& out) {
  if (compressed.size() > max_chunk || expected_size >= max_chunk) return false;
  InflateStream stream;
  if (!stream.ok()) return false;
  // One spare byte: output beyond the expected size shows up as a filled buffer.
  out.assign(expected_size + 1, '\0');
  z_stream* z = stream.get();
  z->next_in = reinterpret_cast<Bytef*>(const_cast<char*>(compressed.data()));
  z->avail_in = static_cast<uInt>(compressed.size());
  z->next_out = reinterpret_cast<Bytef*>(out.data());
  z->avail_out = static_cast<uInt>(out.size());
  const int status = inflate(z, Z_FINISH);
  if (status != Z_STREAM_END || z->total_out != expected_size) return false;
  out.resize(expected_size);
  return true;
}

struct Deflater::Stream {
  z_stream z{};
  bool ok = false;
  ~Stream() {
    if (ok) deflateEnd(&z);
  }
};

Deflater::Deflater(int level) : stream_(std::make_unique<Stream>()) {
  stream_->ok = deflateInit2(&stream_->z, level, Z_DEFLATED, raw_window_bits, memory_level,
                             Z_DEFAULT_STRATEGY) == Z_OK;
  failed_ = !stream_->ok;
  crc_ = static_cast<uint32_t>(crc32(0L, Z_NULL, 0));
}

Deflater::~Deflater() = default;

void Deflater::write(std::string_view data) {
  size_ += data.size();
  while (!failed_ && !data.empty()) {
    const size_t n = data.size() < max_chunk ? data.size() : max_chunk;
    crc_ = static_cast<uint32_t>(
        crc32(crc_, reinterpret_cast<const Bytef*>(data.data()), static_cast<uInt>(n)));
    stream_->z.next_in = reinterpret_cast<Bytef*>(const_cast<char*>(data.data()));
    stream_->z.avail_in = static_cast<uInt>(n);
    failed_ = !run(false);
    data.remove_prefix(n);
  }
}

bool Deflater::finish() {
  if (!failed_) failed_ = !run(true);
  return !failed_;
}

// Feeds the pending input to zlib, growing the output as it fills.
bool Deflater::run(bool last) {
  z_stream& z = stream_->z;
  for (;;) {
    if (compressed_.size() - z.total_out < 4096) {
      // Spreadsheet XML shrinks to a tenth or less; start small rather than at the worst case.
      compressed_.resize(compressed_.size() < 16384 ? 16384 : compressed_.size() * 2);
    }
    z.next_out = reinterpret_cast<Bytef*>(compressed_.data() + z.total_out);
    z.avail_out = static_cast<uInt>(compressed_.size() - z.total_out);
    const int status = deflate(&z, last ? Z_FINISH : Z_NO_FLUSH);
    if (status == Z_STREAM_END) {
      compressed_.resize(z.total_out);
      return true;
    }
    if (status != Z_OK && status != Z_BUF_ERROR) return false;
    if (!last && z.avail_in == 0) return true;
  }
}

}  // namespace tarvenix::xlsx
