#pragma once
// What a gadget's style bits mean, read in one place so that no driver decodes the raw masks itself.

namespace raziz::ui {

class TGadget;

// Windows.
bool HasTitleBar(const TGadget& window);
bool IsResizable(const TGadget& window);
bool IsToolWindow(const TGadget& window);
bool AcceptsDroppedFiles(const TGadget& window);
bool GeometryIsClientArea(const TGadget& window);  // x, y, width, height give the client area, not the frame
bool StartsHidden(const TGadget& window);
bool IsCentred(const TGadget& window);

// Buttons: style & 7 is the kind; bit 8 draws boxes as push buttons.
enum class ButtonKind { kPush, kCheckBox, kRadio, kDefault, kCancel };
ButtonKind ButtonKindOf(const TGadget& button);
bool DrawnAsBox(const TGadget& button);  // a check box or radio button with its mark, not drawn as a push button
bool IsCheckBox(const TGadget& button);  // kind check box, however drawn
bool IsRadio(const TGadget& button);

// Panels: style & 3 is the border.
enum class PanelBorder { kPlain, kSunken, kRaised, kGroup };
PanelBorder PanelBorderOf(const TGadget& panel);
bool IsGroupPanel(const TGadget& gadget);  // any gadget: true only for a panel with the group border
bool ReportsInput(const TGadget& panel);
bool IsCanvas(const TGadget& panel);

// Labels: style & 24 the alignment, style & 7 the frame.
enum class Alignment { kLeft, kRight, kCentre };
enum class LabelFrame { kNone, kLine, kSunken, kSeparator };
Alignment LabelAlignment(const TGadget& label);
LabelFrame LabelFrameOf(const TGadget& label);

// Text fields and areas.
bool HidesTypedText(const TGadget& field);
bool WrapsLines(const TGadget& area);
bool IsReadOnly(const TGadget& area);

// Sliders: style & ~3 is the kind, bit 1 the orientation.
enum class SliderKind { kScrollBar, kTrackBar, kStepper };
SliderKind SliderKindOf(const TGadget& slider);
bool IsHorizontal(const TGadget& slider);

// Check boxes, radio buttons, labels and sliders show their container's face around their marks, text and
// groove; push buttons, text boxes and windows draw faces of their own.
bool ShowsContainerFace(const TGadget& gadget);

}  // namespace raziz::ui
