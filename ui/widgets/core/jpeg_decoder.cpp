// JPEG through libjpeg. Its errors longjmp back to RunJpeg; as with PNG, everything to release lives in the
// Job owned by the caller.

#include <cstdio>  // jpeglib.h needs FILE and size_t declared first

#include <jpeglib.h>

#include <csetjmp>
#include <vector>

#include "ui/widgets/core/image_decoders.h"

namespace raziz::ui::image {

namespace {

struct ErrorManager {
  jpeg_error_mgr base;  // first, so libjpeg's pointer to it is a pointer to the whole
  std::jmp_buf jump;
};

struct Job {
  const std::uint8_t* data = nullptr;
  std::size_t size = 0;
  TPixmap image;  // filled in place, handed out whole
};

[[noreturn]] void OnError(j_common_ptr info) { std::longjmp(reinterpret_cast<ErrorManager*>(info->err)->jump, 1); }
void OnMessage(j_common_ptr /*info*/) {}

// Called under RunJpeg's setjmp; holds nothing that needs destroying.
void Decode(jpeg_decompress_struct& info, Job& job) {
  jpeg_mem_src(&info, job.data, static_cast<unsigned long>(job.size));
  jpeg_read_header(&info, TRUE);
  if (!SizeAllowed(info.image_width, info.image_height)) return;
  info.out_color_space = info.jpeg_color_space == JCS_GRAYSCALE ? JCS_GRAYSCALE : JCS_RGB;
  jpeg_start_decompress(&info);
  const int channels = info.output_components;
  if (channels != 1 && channels != 3) return;
  const std::size_t stride = static_cast<std::size_t>(info.output_width) * channels;
  job.image.pixels.resize(stride * info.output_height);
  while (info.output_scanline < info.output_height) {
    JSAMPROW row = job.image.pixels.data() + stride * info.output_scanline;
    jpeg_read_scanlines(&info, &row, 1);
  }
  jpeg_finish_decompress(&info);
  job.image.width = static_cast<int>(info.output_width);
  job.image.height = static_cast<int>(info.output_height);
  job.image.channels = channels;
}

bool RunJpeg(Job& job) {
  jpeg_decompress_struct info;
  ErrorManager errors;
  info.err = jpeg_std_error(&errors.base);
  errors.base.error_exit = OnError;
  errors.base.output_message = OnMessage;
  if (setjmp(errors.jump) != 0) {
    jpeg_destroy_decompress(&info);
    return false;
  }
  jpeg_create_decompress(&info);
  volatile bool ok = false;  // read again after a longjmp
  try {
    Decode(info, job);
    ok = job.image.channels != 0;
  } catch (...) {  // a failed allocation
  }
  jpeg_destroy_decompress(&info);
  return ok;
}

}  // namespace

std::shared_ptr<TPixmap> DecodeJpeg(const std::uint8_t* data, std::size_t size) {
  if (size < 3 || data[0] != 0xFF || data[1] != 0xD8 || data[2] != 0xFF) return nullptr;
  Job job;
  job.data = data;
  job.size = size;
  if (!RunJpeg(job)) return nullptr;
  return std::make_shared<TPixmap>(std::move(job.image));
}

}  // namespace raziz::ui::image
