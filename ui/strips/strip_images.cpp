#include "ui/strips/strip_images.h"

#include "ui/strips/channel_strip.h"
#include "ui/widgets/core/gadget.h"
#include "ui/widgets/core/pixmap.h"
#include "ui/widgets/core/shared_pixmaps.h"

namespace raziz {

void show_lamp(ChannelStrip& strip, const char* file) {
  strip.lamp_pixmap = ui::ShareIdentical(ui::LoadPixmap(file));
  strip.lamp->SetPixmap(strip.lamp_pixmap, 0);  // 0: tiled from the corner
}

}  // namespace raziz
