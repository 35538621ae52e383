#include "ui/widgets/core/styles.h"

#include "ui/widgets/core/gadget.h"

namespace raziz::ui {

bool HasTitleBar(const TGadget& w) { return (w.style & window_style::kTitleBar) != 0; }
bool IsResizable(const TGadget& w) { return (w.style & window_style::kResizable) != 0; }
bool IsToolWindow(const TGadget& w) { return (w.style & window_style::kToolWindow) != 0; }
bool AcceptsDroppedFiles(const TGadget& w) { return (w.style & window_style::kAcceptFiles) != 0; }
bool GeometryIsClientArea(const TGadget& w) { return (w.style & window_style::kClientGeometry) != 0; }
bool StartsHidden(const TGadget& w) { return (w.style & window_style::kHidden) != 0; }
bool IsCentred(const TGadget& w) { return (w.style & window_style::kCentred) != 0; }

ButtonKind ButtonKindOf(const TGadget& b) {
  switch (b.style & 7) {
    case button_style::kCheckBox: return ButtonKind::kCheckBox;
    case button_style::kRadio: return ButtonKind::kRadio;
    case button_style::kDefault: return ButtonKind::kDefault;
    case button_style::kCancel: return ButtonKind::kCancel;
    default: return ButtonKind::kPush;
  }
}

bool IsCheckBox(const TGadget& b) { return b.kind() == kButton && ButtonKindOf(b) == ButtonKind::kCheckBox; }
bool IsRadio(const TGadget& b) { return b.kind() == kButton && ButtonKindOf(b) == ButtonKind::kRadio; }
bool DrawnAsBox(const TGadget& b) { return (IsCheckBox(b) || IsRadio(b)) && !(b.style & button_style::kPushLook); }

PanelBorder PanelBorderOf(const TGadget& p) {
  switch (p.style & 3) {
    case panel_style::kSunken: return PanelBorder::kSunken;
    case panel_style::kRaised: return PanelBorder::kRaised;
    case panel_style::kGroup: return PanelBorder::kGroup;
    default: return PanelBorder::kPlain;
  }
}

bool IsGroupPanel(const TGadget& g) { return g.kind() == kPanel && PanelBorderOf(g) == PanelBorder::kGroup; }
bool ReportsInput(const TGadget& p) { return (p.style & panel_style::kActive) != 0; }
bool IsCanvas(const TGadget& p) { return (p.style & panel_style::kCanvas) != 0; }

Alignment LabelAlignment(const TGadget& l) {
  switch (l.style & 24) {
    case label_style::kRight: return Alignment::kRight;
    case label_style::kCentred: return Alignment::kCentre;
    default: return Alignment::kLeft;
  }
}

LabelFrame LabelFrameOf(const TGadget& l) {
  switch (l.style & 7) {
    case 1: return LabelFrame::kLine;
    case 2: return LabelFrame::kSunken;
    case 3: return LabelFrame::kSeparator;
    default: return LabelFrame::kNone;
  }
}

bool HidesTypedText(const TGadget& f) { return (f.style & 1) != 0; }
bool WrapsLines(const TGadget& a) { return (a.style & 1) != 0; }
bool IsReadOnly(const TGadget& a) { return (a.style & 2) != 0; }

SliderKind SliderKindOf(const TGadget& s) {
  switch (s.style & ~3) {
    case slider_style::kTrackBar: return SliderKind::kTrackBar;
    case slider_style::kStepper: return SliderKind::kStepper;
    default: return SliderKind::kScrollBar;
  }
}

bool IsHorizontal(const TGadget& s) { return (s.style & slider_style::kHorizontal) != 0; }

bool ShowsContainerFace(const TGadget& g) {
  if (g.kind() == kLabel || g.kind() == kSlider) return true;
  return g.kind() == kButton && (IsCheckBox(g) || IsRadio(g));
}

}  // namespace raziz::ui
