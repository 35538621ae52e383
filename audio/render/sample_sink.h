#pragma once
// Where raziz-render's samples go: a float WAV file, or raw float32 little-endian to stdout.
#include <cstdint>
#include <cstdio>
#include <string>

namespace raziz {

class SampleSink {
 public:
  // Raw to standard output when path is empty. ok() tells whether it could be opened.
  SampleSink(const std::string& path, int rate, std::uint64_t frames);
  ~SampleSink();
  SampleSink(const SampleSink&) = delete;
  SampleSink& operator=(const SampleSink&) = delete;

  bool ok() const { return file_ != nullptr && !failed_; }
  void write(const float* interleaved_stereo, int frames);
  // Flushes and closes; false if anything failed to be written.
  bool finish();

 private:
  std::FILE* file_ = nullptr;
  bool owned_ = false;
  bool failed_ = false;
};

}  // namespace raziz
