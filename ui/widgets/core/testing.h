#pragma once
// For tests only: the widget layer is one global set of state per process.

namespace raziz::ui {

// Frees every gadget, empties the queue, forgets the current event and the driver, so that a test can start
// the layer again with a new driver. The driver must still exist while this runs.
void ResetWidgetsForTests();

}  // namespace raziz::ui
