#pragma once
// A real widget driver with in-memory native widgets, for tests. Each gadget has a native peer recording what
// a platform would show; a scripted user queues native messages that are handled only while the layer pumps
// (inside Poll and Wait), through the same core calls a platform driver makes.
//
// The script: each user action (a click, a typed character, a drag...) is one step of the script. Wait lets
// the next step arrive and handles it; Poll handles only what has already arrived. DeliverAll() makes every
// scripted step arrive at once, as if the user acted while the program was busy, so queued actions merge.
// When the program waits and the script is empty, Wait throws NoMoreInput instead of hanging.
//
//   headless::Session session;                      // starts the layer with a headless driver
//   TGadget* win = NewWindow("Main", 0, 0, 300, 200, nullptr, 1);
//   TGadget* ok = NewButton("OK", 10, 10, 75, 23, win, 4);
//   session.user.click(ok);
//   TakeEvent();                                    // GadgetAction from `ok`
//   session.user.click(headless::Find(kButton, "Cancel"));   // looked up when the step arrives

#include <cstddef>
#include <deque>
#include <functional>
#include <initializer_list>
#include <memory>
#include <stdexcept>
#include <string>
#include <string_view>
#include <vector>

#include "ui/widgets/core/driver.h"
#include "ui/widgets/core/gadget.h"
#include "ui/widgets/core/geometry.h"
#include "ui/widgets/core/input.h"
#include "ui/widgets/core/panel_paint.h"

namespace raziz::ui::headless {

// The program waits for input and the script holds none: the scripted session is over.
class NoMoreInput : public std::runtime_error {
 public:
  NoMoreInput() : std::runtime_error("headless: the program waits for input and the script holds none") {}
};

// A scripted step names a gadget by kind and text and none is on screen when the step arrives.
class TargetMissing : public std::runtime_error {
 public:
  using std::runtime_error::runtime_error;
};

struct MenuEntry {
  std::string text;  // empty: a separator line
  int tag = 0;
  TGadget* item = nullptr;
  std::vector<MenuEntry> children;  // a drop-down
};

// What the platform shows for one gadget.
struct Peer {
  std::intptr_t handle = 0;         // Query(1)
  std::intptr_t client_handle = 0;  // Query(2): its own for windows and group panels
  bool visible = false;
  bool destroyed = false;
  std::string text;  // title, caption or contents as shown
  std::string accessible_name;
  int check = 0;  // 0, 1, -1 indeterminate
  int slider_min = 0, slider_max = 0, slider_position = 0;
  bool ticks = false;
  int selection_start = 0, selection_end = 0;
  Rect rect;                        // windows: on the screen; controls: in their window's client area
  int paint_count = 0;              // repaints of this gadget's face
  PanelImage face;                  // a panel's face, or what shows around a check box, label or slider
  std::vector<MenuEntry> menu_bar;  // a window's bar as the last UpdateMenu built it
  int menu_bar_builds = 0;
  int immediate_repaints = 0;                      // RepaintNow of a window
  const TGadget* active_when_destroyed = nullptr;  // the platform's active window as this one went
};

// A gadget named for a scripted step: the very handle, or the first live gadget of a kind with a text,
// looked up when the step arrives.
class Target {
 public:
  Target(TGadget* gadget) : gadget_(gadget) {}  // NOLINT: a handle is the usual target
  static Target ByText(int kind, std::string text) { return Target(kind, std::move(text)); }
  TGadget* pinned() const { return gadget_; }
  TGadget* Resolve() const;  // throws TargetMissing for a lookup that finds nothing
  std::string Describe() const;

 private:
  Target(int kind, std::string text) : kind_(kind), text_(std::move(text)) {}
  TGadget* gadget_ = nullptr;
  int kind_ = -1;
  std::string text_;
};

inline Target Find(int kind, std::string text) { return Target::ByText(kind, std::move(text)); }

class THeadlessDriver;

// The scripted user. Every call queues one step of the script; nothing happens until the layer pumps.
class User {
 public:
  explicit User(THeadlessDriver& driver) : driver_(driver) {}

  void click(Target gadget);                                   // press and release: focus, then the click (buttons)
  void click_panel(Target panel);                              // an empty part of a panel
  void type(Target field, std::string_view text);              // one step per character; '\b' erases
  void set_text_by_user(Target field, std::string_view text);  // select all and paste: one change
  void select(Target field, int start, int end);
  void right_click(Target area, int x, int y);
  void key(Target window, Key key, bool shift = false);
  void drag_slider(Target slider, std::initializer_list<int> positions);  // one step: the whole drag
  void drag_slider(Target slider, const std::vector<int>& positions);
  void touch_thumb(Target slider);  // press and let go of the thumb where it stands
  void choose_menu(Target item);
  void close(Target window);  // the close box
  void move(Target window, int x, int y);
  void resize(Target window, int width, int height);
  void activate(Target window);  // click its title bar
  void switch_away();            // another program comes to the front
  void come_back(Target window);

 private:
  THeadlessDriver& driver_;
};

class THeadlessDriver final : public TGuiDriver {
 public:
  THeadlessDriver();
  ~THeadlessDriver() override;
  THeadlessDriver(const THeadlessDriver&) = delete;
  THeadlessDriver& operator=(const THeadlessDriver&) = delete;

  // TGuiDriver.
  TGadget* MakeGadget(int kind, int style) override;
  void PollMessages() override;
  void WaitMessages() override;
  void RepaintNow(std::intptr_t native_window) override;
  void OpenAddress(std::string_view address) override;

  User user{*this};

  // The script.
  using Message = std::function<void()>;
  void Script(std::vector<Message> step, TGadget* pinned);  // one user step, naming `pinned` (or null)
  void DeliverNext();                                       // the next scripted step arrives
  void DeliverAll();                                        // every scripted step arrives
  std::size_t ScriptedSteps() const { return script_.size(); }
  std::size_t ArrivedMessages() const { return arrived_.size(); }

  // Simulated exhaustion of window resources: the next menu bars cannot be built.
  void FailMenuBars(bool fail) { fail_menu_bars_ = fail; }
  bool menu_bars_fail() const { return fail_menu_bars_; }

  // What the platform shows.
  const Peer& PeerOf(const TGadget* gadget) const;
  TGadget* ActiveWindow() const { return active_; }
  TGadget* NativeFocus() const { return native_focus_; }
  const std::vector<std::string>& OpenedAddresses() const { return opened_; }
  const std::vector<std::string>& IgnoredInput() const { return ignored_; }  // steps the platform dropped

  // Lookups over the live gadgets, in creation order.
  static TGadget* Find(int kind, std::string_view text, const TGadget* within = nullptr);
  static std::vector<TGadget*> FindAll(int kind, const TGadget* within = nullptr);
  static std::size_t LiveCount();

  // For the native gadgets.
  std::intptr_t NewHandle() { return ++last_handle_; }
  void NativeFocusMoved(TGadget* gadget) { native_focus_ = gadget; }
  void NativeActiveWindow(TGadget* window) { active_ = window; }
  void NativeDestroyed(TGadget* gadget);
  void Ignored(std::string what) { ignored_.push_back(std::move(what)); }

 private:
  struct Step {
    std::vector<Message> messages;
    TGadget* pinned = nullptr;
  };
  std::deque<Step> script_;
  std::deque<Step> arrived_;
  bool fail_menu_bars_ = false;
  TGadget* active_ = nullptr;
  TGadget* native_focus_ = nullptr;
  std::intptr_t last_handle_ = 0x1000;
  std::vector<std::string> opened_;
  std::vector<std::string> ignored_;
};

// Starts the widget layer with a headless driver, and resets the layer when it ends.
class Session {
 public:
  Session();
  ~Session();
  Session(const Session&) = delete;
  Session& operator=(const Session&) = delete;

  THeadlessDriver driver;
  User& user;
};

}  // namespace raziz::ui::headless
