// Help and About opened and closed a thousand times each, in every way a user closes them: afterwards the
// program has exactly the gadgets it had (the same count, one window) and holds no more heap, and its resident
// memory has not grown beyond what allocator noise explains. Links are left out: the headless driver keeps
// every address it was asked to open, which would grow on purpose.

#include <gtest/gtest.h>

#include <cstdio>
#include <string>
#include <vector>

#include "tests/program/program_fixture.h"
#include "tests/robustness/probe.h"
#include "ui/dialogs/dialog_texts.h"
#include "ui/widgets/core/input.h"

namespace raziz::test {
namespace {

using ui::TGadget;
using ui::headless::THeadlessDriver;

class DialogLoops : public ProgramTest {
 protected:
  TGadget* open_dialog() {
    for (TGadget* w : THeadlessDriver::FindAll(ui::kWindow))
      if (w != program.main_window) return w;
    return nullptr;
  }

  // Opens the dialog of `item` and closes it the `way`-th of three ways: OK, its close box, the main
  // window's close box.
  void open_and_close(TGadget* item, int way) {
    user().choose_menu(item);
    switch (way % 3) {
      case 0: user().click(ui::headless::Find(ui::kButton, std::string(kOkCaption))); break;
      case 1:
        session.driver.Script({[this] {
                                if (TGadget* dialog = open_dialog()) ui::input::CloseAsked(dialog);
                              }},
                              nullptr);
        break;
      default: user().close(program.main_window);
    }
  }
};

TEST_F(DialogLoops, AThousandOpeningsOfEachLeaveNoGadgetAndNoMemoryBehind) {
  start();
  // The first rounds grow what the allocator and the layer keep for good; count from after them.
  for (int i = 0; i < 30; ++i) {
    open_and_close(program.help_item, i);
    open_and_close(program.about_item, i);
  }
  ASSERT_TRUE(run_until_idle());
  const std::size_t gadgets = THeadlessDriver::LiveCount();
  const std::size_t heap = HeapBytesInUse();
  const std::size_t resident = ResidentBytes();

  int opened = 0;
  for (int i = 0; i < 1000; ++i) {
    open_and_close(program.help_item, i);
    open_and_close(program.about_item, i);
    opened += 2;
  }
  look([&] { EXPECT_EQ(open_dialog(), nullptr); });
  ASSERT_TRUE(run_until_idle());

  const long heap_growth = static_cast<long>(HeapBytesInUse()) - static_cast<long>(heap);
  const long resident_growth = static_cast<long>(ResidentBytes()) - static_cast<long>(resident);
  std::printf("%d dialogs opened and closed: gadgets %zu -> %zu, heap %+ld bytes, resident %+ld bytes\n", opened,
              gadgets, THeadlessDriver::LiveCount(), heap_growth, resident_growth);
  EXPECT_EQ(THeadlessDriver::LiveCount(), gadgets);
  EXPECT_EQ(THeadlessDriver::FindAll(ui::kWindow), std::vector<TGadget*>{program.main_window});
  EXPECT_FALSE(ended_status.has_value());
  // A leak of a single small object per dialog would pass 16 KiB; a face or a window would pass a megabyte.
  EXPECT_LT(heap_growth, 16 * 1024);
  if (!FreedMemoryIsHeldBack()) { EXPECT_LT(resident_growth, 2 * 1024 * 1024); }
}

}  // namespace
}  // namespace raziz::test
