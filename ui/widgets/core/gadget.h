#pragma once
// The gadget: the one handle type of the widget layer. Every rule that is the same on every platform lives in
// the core's implementation of these operations; a platform driver derives a class per kind and implements
// only the Native* hooks, which make and update the platform's own widgets.
//
// Note for the Win32 driver: <windows.h> defines GetProp and SetProp as macros; undefine them after including
// it, or these member names are rewritten in that translation unit.

#include <cstdint>
#include <memory>
#include <string>
#include <string_view>
#include <vector>

#include "ui/widgets/core/input.h"

namespace raziz::ui {

struct TPixmap;

enum GadgetKind : int {
  kDesktop = 0,
  kWindow = 1,
  kButton = 2,
  kPanel = 3,
  kTextField = 4,
  kTextArea = 5,
  kLabel = 12,
  kSlider = 13,
  kMenuItem = 15,
};

namespace window_style {
constexpr int kTitleBar = 1, kResizable = 2, kMenuBar = 4, kStatusBar = 8, kToolWindow = 16, kClientGeometry = 32,
              kHidden = 64, kAcceptFiles = 128, kCentred = 512;
}
namespace button_style {  // style & 7 is the kind of button; bit 8 draws boxes as push buttons
constexpr int kPush = 0, kCheckBox = 2, kRadio = 3, kDefault = 4, kCancel = 5, kPushLook = 8;
}
namespace panel_style {  // style & 3 is the border
constexpr int kPlain = 0, kSunken = 1, kRaised = 2, kGroup = 3, kActive = 4, kCanvas = 8;
}
namespace label_style {  // style & 24 is the alignment, style & 7 the frame
constexpr int kLeft = 0, kRight = 8, kCentred = 16;
}
namespace slider_style {  // style & ~3 is the kind; bit 1 (value 1) makes it horizontal: style 6 is a vertical track bar
constexpr int kScrollBar = 0, kTrackBar = 4, kStepper = 8, kHorizontal = 1;
}

// Bits of State().
enum StateBit : int { kDisabled = 4, kHidden = 8, kChecked = 16, kIndeterminate = 64 };

struct Rgb {
  std::uint8_t r = 0, g = 0, b = 0;
  friend bool operator==(const Rgb&, const Rgb&) = default;
};

class TGadget {
 public:
  TGadget(int kind, int style);
  virtual ~TGadget();
  TGadget(const TGadget&) = delete;
  TGadget& operator=(const TGadget&) = delete;

  // Fields.
  TGadget* parent = nullptr;   // the container; the desktop for a top-level window
  std::vector<TGadget*> kids;  // children in creation order
  int xpos = 0, ypos = 0;      // relative to the container's client area (windows: on the screen)
  int width = 0, height = 0;   // never negative
  std::string name;            // a menu item's text
  int style = 0;
  void* extra = nullptr;

  // Operations, in the order of their virtual slots.
  virtual std::intptr_t Query(int which);
  virtual void CleanUp();
  virtual void Activate(int how);
  virtual int State();
  virtual void SetText(std::string_view text);
  virtual std::string GetText();
  virtual void SetColor(int red, int green, int blue);
  virtual void SetTextColor(int red, int green, int blue);
  virtual void SetPixmap(std::shared_ptr<const TPixmap> pixmap, int flags);
  virtual void SetSelected(int state);
  virtual void SetHotKey(int key, int modifiers);
  virtual TGadget* GetMenu();
  virtual void UpdateMenu();
  virtual void SetRange(int min, int max);
  virtual void SetProp(int value);
  virtual int GetProp();

  // The name a screen reader announces; defaults to the text. Not one of the toolkit's own operations.
  void SetAccessibleName(std::string_view accessible_name);

  // Read-only state for drivers and tests.
  int kind() const { return kind_; }
  bool alive() const { return alive_; }
  const std::string& text() const { return text_; }  // title, caption, contents or panel caption
  const std::string& accessible_name() const { return accessible_name_.empty() ? text_ : accessible_name_; }
  int check() const { return check_; }  // 0 clear, 1 checked, -1 indeterminate
  bool has_color() const { return has_color_; }
  Rgb color() const { return color_; }
  bool has_text_color() const { return has_text_color_; }
  Rgb text_color() const { return text_color_; }
  const std::shared_ptr<const TPixmap>& pixmap() const { return pixmap_; }
  int pixmap_flags() const { return pixmap_flags_; }
  int slider_min() const { return slider_min_; }
  int slider_max() const { return slider_max_; }
  int slider_position() const { return slider_position_; }  // the platform's p, counted from the top
  int slider_last() const { return slider_last_; }          // last value set or reported
  int selection_start() const { return selection_start_; }  // text field and text area, in bytes
  int selection_end() const { return selection_end_; }      // the caret
  int tag() const { return style; }                         // a menu item's tag
  TGadget* menu_root() const { return menu_root_; }         // a window's menu root, once made
  TGadget* focus() const { return focus_; }                 // a window's focused gadget; null: the window itself
  TGadget* window();                                        // the top-level window holding this gadget
  bool raises_events() const { return raises_events_; }
  double layout_scale() const { return layout_scale_; }  // a window's: see layout_scale.h

 protected:
  // Native hooks. The core calls them after it has updated its own state; none of them may raise an event:
  // a driver blocks or ignores the notifications its own changes cause.
  virtual void NativeCreate() {}     // make the platform widget: kind, style and parent are known
  virtual void NativeText() {}       // text() changed
  virtual void NativeGeometry() {}   // xpos, ypos, width, height set
  virtual void NativeShow() {}       // a control: show it; a window: show it and make it active
  virtual void NativeCheck() {}      // check() changed
  virtual void NativeSlider() {}     // slider range or position changed
  virtual void NativeSelection() {}  // selection or caret of a text field changed
  virtual void NativeFocus() {}      // take the keyboard focus (on a window: the window itself)
  virtual void NativeActivate() {}   // a window: bring it to the front and make it active
  virtual void NativePaint() {}      // colour or image changed: repaint this panel and all inside it, now
  virtual bool NativeMenuBar() {
    return true;
  }                                       // a window: rebuild the menu bar from the menu tree;
                                          // false when an item's parent has no platform menu
  virtual void NativeAccessibleName() {}  // accessible_name() changed
  virtual void NativeDestroy() {}         // destroy the platform widget (its children are already gone)
  virtual std::intptr_t NativeHandle(int /*which*/) { return 0; }  // 1: own window, 2: client window

 private:
  friend class Core;  // the creation order, focus and keyboard rules in the core's sources
  // What the user did reaches the gadget's state only through these, the core's entry points for drivers.
  friend void input::Clicked(TGadget*);
  friend void input::TextEdited(TGadget*, std::string_view, int, int);
  friend void input::SelectionChanged(TGadget*, int, int);
  friend void input::SliderMoved(TGadget*, int);
  friend bool input::KeyPressed(TGadget*, Key, bool);
  friend void input::WindowMoved(TGadget*, int, int);
  friend void input::WindowSized(TGadget*, int, int);

  const int kind_;
  bool alive_ = true;
  bool raises_events_ = false;
  std::string text_;
  std::string accessible_name_;
  int check_ = 0;
  bool has_color_ = false;
  Rgb color_;
  bool has_text_color_ = false;
  Rgb text_color_;
  std::shared_ptr<const TPixmap> pixmap_;
  int pixmap_flags_ = 0;
  int slider_min_ = 5, slider_max_ = 10;
  int slider_position_ = 5;
  int slider_last_ = 10;
  int selection_start_ = 0, selection_end_ = 0;
  TGadget* menu_root_ = nullptr;
  TGadget* focus_ = nullptr;
  double layout_scale_ = 1.0;
  bool geometry_set_ = false;  // creation has given it its geometry
};

// The factory. Returns null for a kind the driver does not know. `group` is the container, null for a
// top-level window (which then gets the desktop).
TGadget* CreateGadget(int kind, std::string_view text, int x, int y, int width, int height, TGadget* group, int style);

// One creation call per kind.
TGadget* NewWindow(std::string_view text, int x, int y, int width, int height, TGadget* group, int style);
TGadget* NewButton(std::string_view text, int x, int y, int width, int height, TGadget* group, int style);
TGadget* NewLabel(std::string_view text, int x, int y, int width, int height, TGadget* group, int style);
TGadget* NewPanel(int x, int y, int width, int height, TGadget* group, int style, std::string_view title);
TGadget* NewTextField(int x, int y, int width, int height, TGadget* group, int style);
TGadget* NewTextArea(int x, int y, int width, int height, TGadget* group, int style);
TGadget* NewSlider(int x, int y, int width, int height, TGadget* group, int style);
TGadget* NewMenuItem(std::string_view text, int tag, TGadget* parent, int hot_key, int modifiers);

// A check box's state as the program reads it: -1 indeterminate, 1 checked, 0 otherwise.
int ButtonState(TGadget* button);

// The colour call the program uses: SetColor when flag is 1, SetTextColor otherwise.
void SetGadgetColor(TGadget* gadget, int red, int green, int blue, int flag);

}  // namespace raziz::ui
