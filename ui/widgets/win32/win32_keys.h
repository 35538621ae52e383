#pragma once
// The keyboard rules are the core's: the pump shows it the keys it decides on before any native widget.

#include "ui/widgets/win32/win32_api.h"

namespace raziz::ui::win32 {

// True when `msg` was a key the core consumed; the pump then neither translates nor dispatches it.
bool OfferKeyToCore(const MSG& msg);

}  // namespace raziz::ui::win32
