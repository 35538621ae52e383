#include <algorithm>
#include <cmath>

#include "ui/widgets/core/geometry.h"
#include "ui/widgets/core/input.h"
#include "ui/widgets/gtk/gtk_controls.h"
#include "ui/widgets/gtk/signal_block.h"

namespace raziz::ui::gtk {

// The core works with the platform position p, counted from the top of a vertical slider, and maps it to
// the value (min + max - p). GTK's scale is inverted instead, so that its own value, the one a screen
// reader announces, is the slider's value with the maximum at the top.
namespace {

int gtk_value_for(const TGadget& slider, int position) {
  const bool vertical = !IsHorizontal(slider);
  return vertical ? slider.slider_min() + slider.slider_max() - position : position;
}

}  // namespace

void TGtkSlider::NativeCreate() {
  const bool horizontal = IsHorizontal(*this);
  GtkAdjustment* adj = gtk_adjustment_new(gtk_value_for(*this, slider_position()), slider_min(), slider_max(), 1, 1, 0);
  GtkWidget* scale = gtk_scale_new(horizontal ? GTK_ORIENTATION_HORIZONTAL : GTK_ORIENTATION_VERTICAL, adj);
  gtk_range_set_inverted(GTK_RANGE(scale), !horizontal);
  gtk_scale_set_draw_value(GTK_SCALE(scale), FALSE);
  gtk_scale_set_digits(GTK_SCALE(scale), 0);
  // The well's picture shows the level; GTK's coloured fill would hide it.
  gtk_scale_set_has_origin(GTK_SCALE(scale), FALSE);
  gtk_range_set_round_digits(GTK_RANGE(scale), 0);
  gtk_style_context_add_class(gtk_widget_get_style_context(scale), "raziz");
  Adopt(scale);
  // GTK tells of a change of its value only. The core must hear every notification (each drag, groove, key or
  // wheel step, and letting go of the thumb), since after an out-of-range SetProp the value at the thumb
  // differs from the last one even where GTK's value stays put; the core drops what repeats the last value.
  moved_ =
      Connect("value-changed", to_callback([](GtkRange*, gpointer self) { static_cast<TGtkSlider*>(self)->Report(); }));
  stepped_ = g_signal_connect_after(widget_, "change-value",
                                    to_callback([](GtkRange*, GtkScrollType, gdouble, gpointer self) -> gboolean {
                                      static_cast<TGtkSlider*>(self)->Report();
                                      return FALSE;
                                    }),
                                    this);
  handlers_.emplace_back(widget_, stepped_);
  Connect("button-release-event", to_callback([](GtkWidget*, GdkEventButton*, gpointer self) -> gboolean {
            static_cast<TGtkSlider*>(self)->Report();
            return FALSE;
          }));
  NativeSlider();
}

void TGtkSlider::Report() {
  if (!raises_events()) return;
  // The mapping is its own inverse.
  input::SliderMoved(this,
                     gtk_value_for(*this, static_cast<int>(std::lround(gtk_range_get_value(GTK_RANGE(widget_))))));
}

void TGtkSlider::NativeGeometry() {
  TGtkGadget::NativeGeometry();
  ApplyTicks();
}

void TGtkSlider::NativeSlider() {
  SignalBlock quiet(widget_, {moved_, stepped_});
  const int lo = slider_min(), hi = std::max(slider_max(), slider_min());
  // The groove pages a fifth of the range towards a click, as Page Up and Page Down do.
  GtkAdjustment* adj = gtk_range_get_adjustment(GTK_RANGE(widget_));
  gtk_adjustment_configure(adj, std::clamp(gtk_value_for(*this, slider_position()), lo, hi), lo, hi, 1,
                           std::max(1, (hi - lo) / 5), 0);
  ApplyTicks();
}

void TGtkSlider::ApplyTicks() {
  gtk_scale_clear_marks(GTK_SCALE(widget_));
  if (!SliderShowsTicks(*this)) return;
  const GtkPositionType side = IsHorizontal(*this) ? GTK_POS_BOTTOM : GTK_POS_RIGHT;
  for (int v = slider_min(); v <= slider_max(); ++v) gtk_scale_add_mark(GTK_SCALE(widget_), v, side, nullptr);
}

}  // namespace raziz::ui::gtk
