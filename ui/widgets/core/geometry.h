#pragma once
// Where things lie: the client area a container gives its children, and control rectangles within a window.

namespace raziz::ui {

class TGadget;

struct Rect {
  int x = 0, y = 0, width = 0, height = 0;
  friend bool operator==(const Rect&, const Rect&) = default;
};

// A group panel's children live in its inner area: 4 pixels in from the left and right edges, 16 below the
// top edge (room for the caption in the frame's top line) and 4 above the bottom edge.
constexpr int kGroupInnerLeft = 4;
constexpr int kGroupInnerTop = 16;
constexpr int kGroupInnerRight = 4;
constexpr int kGroupInnerBottom = 4;

bool IsGroupPanel(const TGadget& gadget);

// The area that holds a container's children, in the container's own coordinates (its top-left corner is
// 0, 0). A window's client area is reported at 0, 0 with the window's size: its decorations are the driver's.
Rect ClientArea(const TGadget& container);

// A control's rectangle relative to the client area of the window that holds it, through every panel between.
Rect RectInWindow(const TGadget& control);

// Tick marks stay on a slider only when neighbouring ticks lie at least 4 pixels apart along its length.
bool SliderShowsTicks(const TGadget& slider);

}  // namespace raziz::ui
