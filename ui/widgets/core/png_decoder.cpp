// PNG through libpng. libpng reports errors by longjmp back to the setjmp in RunPng, so every object that
// must be released lives in the Job (owned by the caller) and no frame that a longjmp can skip holds an
// object with a destructor.

#include <png.h>

#include <csetjmp>
#include <cstring>
#include <vector>

#include "ui/widgets/core/image_decoders.h"

namespace raziz::ui::image {

namespace {

struct Job {
  const std::uint8_t* data = nullptr;
  std::size_t size = 0;
  std::size_t read = 0;
  TPixmap image;  // filled in place, handed out whole
  std::vector<png_bytep> rows;
};

[[noreturn]] void OnError(png_structp png, png_const_charp /*message*/) { png_longjmp(png, 1); }
void OnWarning(png_structp /*png*/, png_const_charp /*message*/) {}

void ReadBytes(png_structp png, png_bytep out, png_size_t count) {
  auto* job = static_cast<Job*>(png_get_io_ptr(png));
  if (count > job->size - job->read) png_error(png, "truncated");
  std::memcpy(out, job->data + job->read, count);
  job->read += count;
}

// Called under RunPng's setjmp; holds nothing that needs destroying.
void Decode(png_structp png, png_infop info, Job& job) {
  png_set_read_fn(png, &job, ReadBytes);
  png_set_sig_bytes(png, 8);
  job.read = 8;
  png_set_user_limits(png, static_cast<png_uint_32>(kMaxSide), static_cast<png_uint_32>(kMaxSide));
  png_read_info(png, info);

  const png_uint_32 w = png_get_image_width(png, info), h = png_get_image_height(png, info);
  if (!SizeAllowed(w, h)) png_error(png, "image too large");
  // Deflate packs at most 1032 bytes into one, so a file cannot hold more stored rows than that: a header
  // claiming more pixels than its data could make is refused before their buffer is made.
  const double stored_bytes = (static_cast<double>(png_get_rowbytes(png, info)) + 1.0) * h;
  if (stored_bytes > 1032.0 * static_cast<double>(job.size) + 1024.0) png_error(png, "image larger than its data");
  const int colour = png_get_color_type(png, info);
  const int depth = png_get_bit_depth(png, info);
  const bool trns = png_get_valid(png, info, PNG_INFO_tRNS) != 0;

  if (depth == 16) png_set_strip_16(png);
  if (colour == PNG_COLOR_TYPE_PALETTE) png_set_palette_to_rgb(png);
  if (colour == PNG_COLOR_TYPE_GRAY && depth < 8) png_set_expand_gray_1_2_4_to_8(png);
  if (trns) png_set_tRNS_to_alpha(png);
  // Grey with alpha becomes RGBA: the buffers are grey, RGB or RGBA only.
  if (colour == PNG_COLOR_TYPE_GRAY_ALPHA || (colour == PNG_COLOR_TYPE_GRAY && trns)) png_set_gray_to_rgb(png);
  png_set_interlace_handling(png);
  png_read_update_info(png, info);

  const int channels = png_get_channels(png, info);
  if (channels != 1 && channels != 3 && channels != 4) png_error(png, "unexpected layout");
  const std::size_t stride = static_cast<std::size_t>(w) * channels;
  if (png_get_rowbytes(png, info) != stride) png_error(png, "unexpected row size");

  job.image.width = static_cast<int>(w);
  job.image.height = static_cast<int>(h);
  job.image.channels = channels;
  job.image.pixels.resize(stride * h);
  job.rows.resize(h);
  for (png_uint_32 y = 0; y < h; ++y) job.rows[y] = job.image.pixels.data() + stride * y;
  // The chunks after the image data are not read: a damaged trailer does not spoil a complete picture.
  png_read_image(png, job.rows.data());
}

bool RunPng(Job& job) {
  png_structp png = png_create_read_struct(PNG_LIBPNG_VER_STRING, nullptr, OnError, OnWarning);
  if (!png) return false;
  png_infop info = png_create_info_struct(png);
  if (!info) {
    png_destroy_read_struct(&png, nullptr, nullptr);
    return false;
  }
  volatile bool ok = false;  // read again after a longjmp
  if (setjmp(png_jmpbuf(png)) == 0) {
    try {
      Decode(png, info, job);
      ok = true;
    } catch (...) {  // a failed allocation: release libpng's structures all the same
    }
  }
  png_destroy_read_struct(&png, &info, nullptr);
  return ok;
}

}  // namespace

std::shared_ptr<TPixmap> DecodePng(const std::uint8_t* data, std::size_t size) {
  if (size < 8 || png_sig_cmp(data, 0, 8) != 0) return nullptr;
  Job job;
  job.data = data;
  job.size = size;
  if (!RunPng(job)) return nullptr;
  return std::make_shared<TPixmap>(std::move(job.image));
}

}  // namespace raziz::ui::image
