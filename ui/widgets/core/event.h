#pragma once
// Events and the one queue through which the program learns what the user did.

#include <cstdint>

namespace raziz::ui {

class TGadget;

enum EventId : int {
  kNullEvent = 0,
  kAppSuspend = 0x101,
  kAppResume = 0x102,
  kTimerTick = 0x801,
  kGadgetAction = 0x2001,
  kGadgetSelect = 0x2003,
  kGadgetMenu = 0x2004,
  kGadgetLostFocus = 0x2008,
  kWindowMove = 0x4001,
  kWindowSize = 0x4002,
  kWindowClose = 0x4003,
  kWindowActivate = 0x4004,
  kMenuAction = 0x8001,
};

struct TEvent {
  int id = kNullEvent;
  TGadget* source = nullptr;  // compared by identity only: it may name a gadget already cleaned up
  int data = 0;
  int mods = 0;
  int x = 0;
  int y = 0;
  void* extra = nullptr;
};

// Hands a raised event to the queue: a GadgetAction, WindowMove, WindowSize or TimerTick with the same id and
// source as one still waiting is merged into it; otherwise it is dropped when 256 are waiting.
void Emit(const TEvent& event);

// Waits (through the driver) until an event is waiting, takes the oldest, makes it the current event and
// returns its id.
int TakeEvent();

// The event most recently taken; the null event before the first take.
const TEvent& CurrentEvent();

// Number of events waiting.
int PendingEvents();

// The pump. Both return at once, doing nothing, when called while either of them is handling a message.
void Poll();
void Wait();

// Poll, then paint at once whatever part of the window awaits repainting.
void pump_and_repaint(TGadget* window);

}  // namespace raziz::ui
