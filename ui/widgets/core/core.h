#pragma once
// The core's private side: the layer's global state and the class that reaches a gadget's private state and
// Native* hooks. Only the core's own sources include this.

#include <unordered_map>
#include <unordered_set>
#include <utility>
#include <vector>

#include "ui/widgets/core/driver.h"
#include "ui/widgets/core/event.h"
#include "ui/widgets/core/gadget.h"
#include "ui/widgets/core/input.h"

namespace raziz::ui {

namespace detail {

struct LayerState {
  TGuiDriver* driver = nullptr;
  TGadget* desktop = nullptr;
  std::vector<TGadget*> live;  // every gadget not yet cleaned up, in creation order
  std::vector<TGadget*> dead;  // cleaned up, memory kept while an event still names them
  std::unordered_set<const TGadget*> hidden_windows;
  std::unordered_map<const TGadget*, std::pair<int, int>> hot_keys;
  TGadget* active_window = nullptr;        // null while another process is in front
  std::vector<TGadget*> activation_order;  // windows, the most recently active last
  int dispatch_depth = 0;                  // > 0 while the driver handles platform messages
};

LayerState& Layer();

// True while a waiting event or the current event names the gadget.
bool EventsName(const TGadget* gadget);

// Frees the cleaned-up gadgets no event names any longer.
void SweepDeadGadgets();

// Drops every waiting event and the current event.
void ClearEventsForTests();

// Marks the driver as handling messages for the life of the object.
class DispatchScope {
 public:
  DispatchScope() { ++Layer().dispatch_depth; }
  ~DispatchScope() { --Layer().dispatch_depth; }
  DispatchScope(const DispatchScope&) = delete;
  DispatchScope& operator=(const DispatchScope&) = delete;
};

}  // namespace detail

class Core {
 public:
  // Events.
  static bool RaisesEvents(const TGadget* gadget) { return gadget && gadget->alive_ && gadget->raises_events_; }
  static void Raise(int id, TGadget* source, int data = 0, int x = 0, int y = 0);

  // Creation and destruction.
  static TGadget* Create(int kind, std::string_view text, int x, int y, int width, int height, TGadget* group,
                         int style);
  static void Destroy(TGadget* gadget);
  static TGadget* MenuRoot(TGadget* window);

  // Activation and focus.
  static void BecomeActive(TGadget* window, bool tell_platform);
  static void ShowWindow(TGadget* window);
  static void ActivateWithFirstTabStop(TGadget* window);
  static void SetFocus(TGadget* window, TGadget* target, bool select_all);
  static void Deactivate();

  // Controls.
  static void SliderKey(TGadget* slider, Key key);
  static void Rescale(TGadget& window, double factor);
  static void PlaceAgain(TGadget& gadget);

  static bool IsTabStop(const TGadget* gadget);
  static std::vector<TGadget*> TabStops(TGadget* container);

  static void Release(TGadget* gadget) { delete gadget; }
  static void ResetPrivate(TGadget* gadget) {
    gadget->alive_ = false;
    gadget->raises_events_ = false;
  }

 private:
  static void LoseFocus(TGadget* field);
  static void MoveThumb(TGadget* slider, int position);
};

// Slider mapping shared by the slider operations and the input handling.
int SliderValueAt(const TGadget& slider, int position);
int SliderPositionFor(const TGadget& slider, long long value);

}  // namespace raziz::ui
