// The one event queue: a ring of 256 events with put and take counts, the merge and drop rules, and the
// current event.

#include <array>
#include <cstdint>

#include "ui/widgets/core/core.h"

namespace raziz::ui {

namespace {

constexpr std::uint64_t kSlots = 256;

struct Queue {
  std::array<TEvent, kSlots> ring{};
  std::uint64_t put = 0;  // both counts only grow; waiting events are those in [take, put)
  std::uint64_t take = 0;
  TEvent current{};
};

Queue& TheQueue() {
  static Queue queue;
  return queue;
}

bool Merges(int id) { return id == kGadgetAction || id == kWindowMove || id == kWindowSize || id == kTimerTick; }

}  // namespace

void Emit(const TEvent& event) {
  auto& q = TheQueue();
  if (Merges(event.id)) {
    for (auto n = q.take; n != q.put; ++n) {
      TEvent& waiting = q.ring[n % kSlots];
      if (waiting.id == event.id && waiting.source == event.source) {
        waiting.data = event.data;
        waiting.mods = event.mods;
        waiting.x = event.x;
        waiting.y = event.y;
        waiting.extra = event.extra;
        return;
      }
    }
  }
  if (q.put - q.take == kSlots) return;
  q.ring[q.put % kSlots] = event;
  ++q.put;
}

int TakeEvent() {
  auto& q = TheQueue();
  auto& layer = detail::Layer();
  while (q.put == q.take) {
    if (layer.dispatch_depth > 0) {
      // Called from inside a message being handled: Wait would return at once and this would spin, so wait
      // for the platform directly, as a nested message loop does.
      detail::DispatchScope scope;
      Driver().WaitMessages();
    } else {
      Wait();
    }
  }
  q.current = q.ring[q.take % kSlots];
  ++q.take;
  if (layer.dispatch_depth == 0) detail::SweepDeadGadgets();
  return q.current.id;
}

const TEvent& CurrentEvent() { return TheQueue().current; }

int PendingEvents() {
  auto& q = TheQueue();
  return static_cast<int>(q.put - q.take);
}

namespace detail {

bool EventsName(const TGadget* gadget) {
  auto& q = TheQueue();
  if (q.current.source == gadget) return true;
  for (auto n = q.take; n != q.put; ++n) {
    if (q.ring[n % kSlots].source == gadget) return true;
  }
  return false;
}

void ClearEventsForTests() { TheQueue() = Queue{}; }

}  // namespace detail

}  // namespace raziz::ui
