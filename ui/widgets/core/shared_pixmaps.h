#pragma once
// Pictures read anew each time they are shown, but mostly the same: nine lamps show one of two pictures.

#include <memory>

#include "ui/widgets/core/pixmap.h"

namespace raziz::ui {

// `fresh`, or a pixmap already handed out by this function and still in use whose pixels (and double-size
// version's) are the same. Null stays null.
std::shared_ptr<const TPixmap> ShareIdentical(std::shared_ptr<const TPixmap> fresh);

}  // namespace raziz::ui
