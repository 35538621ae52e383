#pragma once
// The layout's numbers are 96-dpi units. Each window has one scale that maps them to the pixels its driver
// draws in: the monitor's DPI / 96 on Win32, the font's size against the size the layouts were drawn for on
// GTK (whose own device scale applies underneath). Edges, not sizes, are rounded, so neighbouring controls
// neither overlap nor part; at scale 1 every rectangle is exactly the layout's.

namespace raziz::ui {

class TGadget;

struct LayoutScale {
  double factor = 1.0;

  // Units to pixels; a position rounds half away from zero.
  int Px(long long units) const;
  // Pixels back to units, nearest; for what the platform reports (a window moved or sized by the user).
  int Units(long long pixels) const;
  bool IsOne() const { return factor == 1.0; }
};

// The scale of the window holding `gadget` (1 for the desktop or a gadget in no window).
LayoutScale ScaleOf(const TGadget& gadget);

// A driver's measurement for a window. Factors outside 0.5..8 are taken as 1 (a broken measurement must not
// make a window vanish or fill memory). When the window and its contents have already been placed, each of
// them is placed again (NativeGeometry, window last), so the window grows with its layout.
void SetLayoutScale(TGadget& window, double factor);

}  // namespace raziz::ui
