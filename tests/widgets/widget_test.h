#pragma once
// A fresh widget layer with a headless driver for every test, and small helpers to read what it raised.

#include <gtest/gtest.h>

#include <vector>

#include "ui/widgets/core/event.h"
#include "ui/widgets/core/gadget.h"
#include "ui/widgets/headless/headless_driver.h"

namespace raziz::test {

using namespace raziz::ui;

class WidgetTest : public ::testing::Test {
 protected:
  headless::Session session;
  headless::THeadlessDriver& driver = session.driver;
  headless::User& user = session.user;

  // Handles what has arrived, then takes every event waiting, oldest first.
  static std::vector<TEvent> Drain() {
    Poll();
    std::vector<TEvent> events;
    while (PendingEvents() > 0) {
      TakeEvent();
      events.push_back(CurrentEvent());
    }
    return events;
  }

  // Lets every scripted step arrive, one at a time as the program waits, and takes every event raised.
  static std::vector<TEvent> RunScript() {
    std::vector<TEvent> events;
    try {
      for (;;) {
        TakeEvent();
        events.push_back(CurrentEvent());
      }
    } catch (const headless::NoMoreInput&) {}
    return events;
  }

  // Events of one id only, so activation and focus events do not clutter a check.
  static std::vector<TEvent> Only(int id, const std::vector<TEvent>& events) {
    std::vector<TEvent> kept;
    for (const TEvent& e : events) {
      if (e.id == id) kept.push_back(e);
    }
    return kept;
  }

  TGadget* MakeWindow(const char* title = "Main") { return NewWindow(title, 100, 100, 400, 300, nullptr, 1); }
};

}  // namespace raziz::test
