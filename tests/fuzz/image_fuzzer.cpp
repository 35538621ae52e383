// Image bytes of any kind through the loader and through each decoder on its own (so a format that an
// earlier one accepts still gets its bytes to the later ones). Whatever comes back must be a consistent
// buffer within the size limits, and every byte of it readable.

#include <cstddef>
#include <cstdint>
#include <memory>

#include "tests/fuzz/fuzz_check.h"
#include "ui/widgets/core/image_decoders.h"
#include "ui/widgets/core/pixmap.h"

namespace {

using raziz::ui::TPixmap;
namespace image = raziz::ui::image;

void Check(const std::shared_ptr<TPixmap>& pixmap) {
  if (!pixmap) return;
  FUZZ_CHECK(image::SizeAllowed(pixmap->width, pixmap->height));
  FUZZ_CHECK(pixmap->channels == 1 || pixmap->channels == 3 || pixmap->channels == 4);
  const std::size_t expected =
      static_cast<std::size_t>(pixmap->width) * static_cast<std::size_t>(pixmap->height) * pixmap->channels;
  FUZZ_CHECK(pixmap->pixels.size() == expected);
  // Reading every byte lets the sanitizers see a buffer that is shorter than it claims or uninitialised.
  unsigned sum = 0;
  for (std::uint8_t byte : pixmap->pixels) sum += byte;
  volatile unsigned sink = sum;
  (void)sink;
}

}  // namespace

extern "C" int LLVMFuzzerTestOneInput(const std::uint8_t* data, std::size_t size) {
  Check(raziz::ui::DecodePixmap(data, size));
  Check(image::DecodeTga(data, size));
  Check(image::DecodePng(data, size));
  Check(image::DecodeJpeg(data, size));
  Check(image::DecodeBmp(data, size));
  return 0;
}
