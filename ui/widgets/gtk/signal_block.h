#pragma once
// Program-made changes must not come back as user actions: while one is applied, the handlers that report
// user actions for that widget are blocked at the source.

#include <glib-object.h>

#include <vector>

namespace raziz::ui::gtk {

class SignalBlock {
 public:
  SignalBlock(gpointer instance, const std::vector<gulong>& handlers) : instance_(instance), handlers_(handlers) {
    for (gulong id : handlers_) g_signal_handler_block(instance_, id);
  }
  ~SignalBlock() {
    for (gulong id : handlers_) g_signal_handler_unblock(instance_, id);
  }
  SignalBlock(const SignalBlock&) = delete;
  SignalBlock& operator=(const SignalBlock&) = delete;

 private:
  gpointer instance_;
  std::vector<gulong> handlers_;
};

}  // namespace raziz::ui::gtk
