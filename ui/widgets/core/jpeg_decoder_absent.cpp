// Builds without libjpeg (the Windows cross-build): JPEG content is reported as not decodable.

#include "ui/widgets/core/image_decoders.h"

namespace raziz::ui::image {

std::shared_ptr<TPixmap> DecodeJpeg(const std::uint8_t* /*data*/, std::size_t /*size*/) { return nullptr; }

}  // namespace raziz::ui::image
