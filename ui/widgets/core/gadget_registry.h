#pragma once
// What the layer holds, for drivers that look gadgets up and for tests that check for leaks.

#include <cstddef>
#include <vector>

namespace raziz::ui {

class TGadget;

// Every gadget not yet cleaned up, in creation order: windows, controls, menu roots and menu items (not the
// desktop).
std::vector<TGadget*> LiveGadgets();

// Gadgets already cleaned up whose memory is still held because a waiting event or the current event names
// them; they are freed by a later TakeEvent.
std::size_t HeldDeadGadgets();

}  // namespace raziz::ui
