#include "audio/render/sample_sink.h"

#include <bit>
#include <cstring>
#include <vector>

#ifdef _WIN32
#include <fcntl.h>
#include <io.h>
#endif

namespace raziz {
namespace {

static_assert(std::endian::native == std::endian::little, "samples are written in the machine's order");

void put16(std::vector<unsigned char>& b, unsigned v) {
  b.push_back(static_cast<unsigned char>(v & 0xff));
  b.push_back(static_cast<unsigned char>((v >> 8) & 0xff));
}
void put32(std::vector<unsigned char>& b, std::uint32_t v) {
  put16(b, v & 0xffff);
  put16(b, v >> 16);
}
void tag(std::vector<unsigned char>& b, const char* t) { b.insert(b.end(), t, t + 4); }

// A WAVE header for 32-bit IEEE float stereo; non-PCM data carries a fmt extension and a fact chunk.
std::vector<unsigned char> wav_header(int rate, std::uint64_t frames) {
  const std::uint64_t data_bytes = frames * 8;
  const std::uint32_t data32 =
      data_bytes > 0xffffffffull - 64 ? 0xffffffffu - 64 : static_cast<std::uint32_t>(data_bytes);
  std::vector<unsigned char> b;
  tag(b, "RIFF");
  put32(b, 4 + (8 + 18) + (8 + 4) + 8 + data32);
  tag(b, "WAVE");
  tag(b, "fmt ");
  put32(b, 18);
  put16(b, 3);  // IEEE float
  put16(b, 2);
  put32(b, static_cast<std::uint32_t>(rate));
  put32(b, static_cast<std::uint32_t>(rate) * 8);
  put16(b, 8);
  put16(b, 32);
  put16(b, 0);
  tag(b, "fact");
  put32(b, 4);
  put32(b, static_cast<std::uint32_t>(frames > 0xffffffffull ? 0xffffffffull : frames));
  tag(b, "data");
  put32(b, data32);
  return b;
}

}  // namespace

SampleSink::SampleSink(const std::string& path, int rate, std::uint64_t frames) {
  if (path.empty()) {
#ifdef _WIN32
    _setmode(_fileno(stdout), _O_BINARY);
#endif
    file_ = stdout;
    return;
  }
  file_ = std::fopen(path.c_str(), "wb");
  owned_ = true;
  if (!file_) return;
  const auto header = wav_header(rate, frames);
  failed_ = std::fwrite(header.data(), 1, header.size(), file_) != header.size();
}

SampleSink::~SampleSink() { finish(); }

void SampleSink::write(const float* interleaved_stereo, int frames) {
  if (!ok()) return;
  const std::size_t n = static_cast<std::size_t>(frames) * 2;
  if (std::fwrite(interleaved_stereo, sizeof(float), n, file_) != n) failed_ = true;
}

bool SampleSink::finish() {
  if (!file_) return false;
  if (std::fflush(file_) != 0) failed_ = true;
  if (owned_ && std::fclose(file_) != 0) failed_ = true;
  file_ = nullptr;
  return !failed_;
}

}  // namespace raziz
