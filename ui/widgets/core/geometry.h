#pragma once
// Where things lie. Two spaces: layout units (the numbers the program gives, ClientArea) and the pixels of the
// window's layout scale (every other function here), which is what a driver places and hit-tests with.

#include "ui/widgets/core/styles.h"

namespace raziz::ui {

class TGadget;

struct Rect {
  int x = 0, y = 0, width = 0, height = 0;
  bool Contains(int px, int py) const { return px >= x && px < x + width && py >= y && py < y + height; }
  friend bool operator==(const Rect&, const Rect&) = default;
};

struct Size {
  int width = 0, height = 0;
  friend bool operator==(const Size&, const Size&) = default;
};

// A group panel's children live in its inner area: 4 units in from the left and right edges, 16 below the
// top edge (room for the caption in the frame's top line) and 4 above the bottom edge.
constexpr int kGroupInnerLeft = 4;
constexpr int kGroupInnerTop = 16;
constexpr int kGroupInnerRight = 4;
constexpr int kGroupInnerBottom = 4;

// The area that holds a container's children, in layout units of the container's own coordinates (its
// top-left corner is 0, 0). A window's client area is reported at 0, 0 with the window's size.
Rect ClientArea(const TGadget& container);

// In pixels of the window's layout scale:

// A control's rectangle in its container's client area. For a window: its outer frame on the screen.
Rect PlacedRect(const TGadget& gadget);

// A container's client area inside its own rectangle: a group panel's inner area, or the whole gadget.
Rect PlacedClientArea(const TGadget& container);

// A control's rectangle relative to the client area of the window that holds it, through every panel between.
Rect RectInWindow(const TGadget& control);

// The innermost live panel under a point of the window's client area, or null.
TGadget* PanelAt(const TGadget& window, int x, int y);

// The panel a press at a point of the window's client area gives the keyboard focus to: the innermost panel
// there, or null where one of its controls that takes the keyboard itself (a button, text field, text area or
// slider) lies under the point. A label does not stop the press: it belongs to the panel's empty part.
TGadget* PanelPressedAt(const TGadget& window, int x, int y);

// How far the window's controls reach right and down from the client area's corner.
Size LayoutReach(const TGadget& window);

// What the platform takes from a window's outer frame, in its pixels.
struct Decorations {
  int left = 0, right = 0, top = 0, bottom = 0;  // borders and title bar
  int menu_bar = 0;
};

// The client area a window gets: what its scaled outer frame leaves once the decorations are off (a window of
// style 32 was asked for by its client area: all of it), but never less than its controls reach, so that the
// window grows with its layout instead of cutting it.
Size ClientSizeFor(const TGadget& window, const Decorations& decorations);

// Tick marks stay on a slider only when neighbouring ticks lie at least 4 units apart along its length.
bool SliderShowsTicks(const TGadget& slider);

}  // namespace raziz::ui
