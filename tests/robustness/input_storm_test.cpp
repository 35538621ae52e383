// The whole program on the headless driver under 10,000 random user actions: clicks on anything in the main
// window, strings typed or pasted into the fields (long ones, non-ASCII ones, number-like ones), backspaces,
// slider drags and slider keys, Tab, Enter and Escape, and Help and About opened from the menu, used while open
// (the strips' controls too, whose actions the dialog swallows) and closed by their buttons, their links, their
// close box or the main window's. After every action the program must still run and:
// - each band's lamp shows the red image exactly when the band sounds, and its channel is muted when silent;
// - no strip has both waveform boxes checked, unless a box of it was clicked while a dialog was open;
// - after an action that moved a slider, its level field and the channel's volume agree with it; after an
//   edit of a level field, the slider and the volume agree with the field; after an edit of a frequency field,
//   the tone button's caption and the rate agree with it;
// - after a tone-button press, the waveform is the one the boxes choose;
// - once a dialog is closed no gadget of it is left, and no address but the three of About was ever opened.
// The seed is fixed and printed (RAZIZ_STORM_SEED runs another); a failure names the action and the ones
// before it.

#include <gtest/gtest.h>

#include <algorithm>
#include <array>
#include <cstdio>
#include <cstdlib>
#include <memory>
#include <random>
#include <string>
#include <vector>

#include "tests/program/program_fixture.h"
#include "ui/dialogs/dialog_texts.h"
#include "ui/strips/level_math.h"
#include "ui/strips/number_text.h"
#include "ui/strips/strip_images.h"
#include "ui/widgets/core/input.h"

namespace raziz::test {
namespace {

using ui::Key;
using ui::TGadget;
using ui::headless::THeadlessDriver;

constexpr unsigned kSeed = 20240611;  // RAZIZ_STORM_SEED in the environment runs another storm

unsigned StormSeed() {
  const char* other = std::getenv("RAZIZ_STORM_SEED");
  return other ? static_cast<unsigned>(std::strtoul(other, nullptr, 10)) : kSeed;
}
constexpr int kActions = 10000;

// What an action touched, for the checks that follow it.
struct Touched {
  enum What { nothing, slider, level_field, frequency_field, tone_button } what = nothing;
  int band = 0;
};

// A gadget of a dialog, named so that a scripted step finds it when it arrives (the dialog is built then).
struct DialogPart {
  int kind;
  std::string text;
};

class InputStorm : public ProgramTest {
 protected:
  void SetUp() override {
    start(Images::present);
    red_ = image_pixels(kRedLamp);
    green_ = image_pixels(kGreenLamp);
    baseline_gadgets_ = THeadlessDriver::LiveCount();
    help_parts_ = learn_dialog(program.help_item);
    about_parts_ = learn_dialog(program.about_item);
    main_parts_.push_back(program.main_window);
    main_parts_.push_back(program.file_menu);  // the menu's title: Help, About and Exit are actions of their own
    for (int kind : {ui::kButton, ui::kPanel, ui::kTextField, ui::kLabel, ui::kSlider})
      for (TGadget* g : THeadlessDriver::FindAll(kind, program.main_window)) main_parts_.push_back(g);
  }

  // Opens a dialog once to learn the gadgets a click can reach without closing it, then closes it.
  std::vector<DialogPart> learn_dialog(TGadget* item) {
    std::vector<DialogPart> parts;
    user().choose_menu(item);
    look([&] {
      TGadget* dialog = open_dialog();
      if (!dialog) return;
      for (TGadget* g : dialog->kids) {
        const bool unique = THeadlessDriver::Find(g->kind(), g->text()) == g;
        if (g->kind() != ui::kButton && unique) parts.push_back({g->kind(), g->text()});
      }
    });
    user().click(ui::headless::Find(ui::kButton, std::string(kOkCaption)));
    EXPECT_TRUE(run_until_idle());
    EXPECT_FALSE(parts.empty());
    return parts;
  }

  TGadget* open_dialog() {
    for (TGadget* w : THeadlessDriver::FindAll(ui::kWindow))
      if (w != program.main_window) return w;
    return nullptr;
  }

  int pick(int n) { return static_cast<int>(random_() % static_cast<unsigned>(n)); }
  bool chance(int percent) { return pick(100) < percent; }

  std::string random_text() {
    static const char* const kPieces[] = {"0", "1", "7", "9", "42", "500", "1250", "$", "%", "-",        "+",
                                          " ", "a", "F", "x", ".",  "é",   "日本", "🎵", "Ω", "\xC2\xA0", "١٢٣"};
    std::string s;
    switch (pick(5)) {
      case 0:  // a plain number, perhaps signed
        if (chance(30)) s = chance(50) ? "-" : "+";
        s += std::to_string(pick(100000));
        break;
      case 1:  // hexadecimal or binary
        s = chance(50) ? "$" + std::string("fF0a9").substr(0, 1 + pick(5))
                       : "%" + std::string("101101").substr(0, 1 + pick(6));
        break;
      case 2:  // printable ASCII
        for (int n = pick(24); n > 0; --n) s += static_cast<char>(' ' + pick(95));
        break;
      default:  // pieces, non-ASCII among them
        for (int n = 1 + pick(8); n > 0; --n) s += kPieces[pick(static_cast<int>(std::size(kPieces)))];
    }
    return s;
  }

  std::string long_text() {
    std::string s;
    const int length = 1000 + pick(20000);
    while (static_cast<int>(s.size()) < length)
      s += chance(80) ? std::string(1, static_cast<char>('0' + pick(10))) : "日";
    return s;
  }

  TGadget* field_of(int band, bool frequency) {
    return frequency ? strip(band).frequency_field : strip(band).level_field;
  }

  // One random action outside a dialog, mostly on `band`'s strip; returns what it touched.
  Touched script_action(std::string& said, int band) {
    const int kind = pick(100);
    if (kind < 14) {
      said = "click the tone button of band " + std::to_string(band);
      user().click(strip(band).tone_button);
      return {Touched::tone_button, band};
    }
    if (kind < 24) {
      const bool square = chance(50);
      said = std::string("click the ") + (square ? "SQUARE" : "TRIANGLE") + " box of band " + std::to_string(band);
      user().click(square ? strip(band).square_box : strip(band).triangle_box);
      boxes_may_both_[band] = false;
      return {};
    }
    if (kind < 38) {
      TGadget* g = main_parts_[pick(static_cast<int>(main_parts_.size()))];
      said = "click a gadget of kind " + std::to_string(g->kind()) + " \"" + g->text().substr(0, 20) + "\"";
      if (g->kind() == ui::kMenuItem) {
        user().choose_menu(g);
      } else {
        user().click(g);
      }
      for (int b = 0; b < 9; ++b)
        if (g == strip(b).square_box || g == strip(b).triangle_box) boxes_may_both_[b] = false;
      if (g->kind() == ui::kButton)
        for (int b = 0; b < 9; ++b)
          if (g == strip(b).tone_button) return {Touched::tone_button, b};
      return {};
    }
    if (kind < 62) {
      const bool frequency = chance(50);
      TGadget* field = field_of(band, frequency);
      const Touched touched{frequency ? Touched::frequency_field : Touched::level_field, band};
      const int how = pick(10);
      if (how < 5) {
        const std::string text = random_text();
        said = "type \"" + text + "\" into a field of band " + std::to_string(band);
        user().type(field, text);
      } else if (how < 7) {
        const std::string text = chance(15) ? long_text() : random_text();
        said = "paste " + std::to_string(text.size()) + " bytes \"" + text.substr(0, 24) + "\" into a field of band " +
               std::to_string(band);
        user().set_text_by_user(field, text);
      } else if (how < 9) {
        said = "backspace in a field of band " + std::to_string(band);
        user().type(field, std::string(static_cast<std::size_t>(1 + pick(4)), '\b'));
      } else {
        said = "select part of a field of band " + std::to_string(band) + " and type over it";
        const int start = pick(6);  // one draw per statement, so the sequence does not depend on the compiler
        const int end = pick(6);
        user().select(field, start, end);
        user().type(field, random_text());
      }
      return touched;
    }
    if (kind < 74) {
      std::vector<int> positions;
      for (int n = 1 + pick(5); n > 0; --n) positions.push_back(pick(260) - 30);
      said = "drag the slider of band " + std::to_string(band) + " to " + std::to_string(positions.back());
      user().drag_slider(strip(band).level_slider, positions);
      return {Touched::slider, band};
    }
    if (kind < 86) {
      static const Key kSliderKeys[] = {Key::kUp,   Key::kDown, Key::kPageUp, Key::kPageDown,
                                        Key::kHome, Key::kEnd,  Key::kLeft,   Key::kRight};
      const Key key = kSliderKeys[pick(static_cast<int>(std::size(kSliderKeys)))];
      said = "focus the slider of band " + std::to_string(band) + " and press key " +
             std::to_string(static_cast<int>(key));
      user().click(strip(band).level_slider);
      user().key(program.main_window, key);
      return {Touched::slider, band};
    }
    static const Key kKeys[] = {Key::kTab, Key::kEnter, Key::kEscape, Key::kLeft, Key::kRight, Key::kHome, Key::kEnd};
    const Key key = kKeys[pick(static_cast<int>(std::size(kKeys)))];
    said = "press key " + std::to_string(static_cast<int>(key)) + (chance(30) ? " with shift" : "");
    user().activate(program.main_window);
    user().key(program.main_window, key, said.ends_with("shift"));
    // Enter may press the tone button of the strip that holds the focus: the lamp check covers it.
    return {};
  }

  // An action while a dialog is open: the dialog's own gadgets, or the main window's, whose actions it swallows.
  void script_dialog_action(std::string& said, const std::vector<DialogPart>& parts) {
    const int band = pick(9);
    switch (pick(8)) {
      case 0: {
        const DialogPart& part = parts[pick(static_cast<int>(parts.size()))];
        said = "click the dialog's \"" + part.text.substr(0, 20) + "\"";
        user().click(ui::headless::Find(part.kind, part.text));
        break;
      }
      case 1:
        said = "Tab in the dialog";
        dialog_key(Key::kTab);
        break;
      case 2:
        said = "Escape in the dialog";
        dialog_key(Key::kEscape);
        break;
      case 3: {
        const bool square = chance(50);
        said = std::string("click a ") + (square ? "SQUARE" : "TRIANGLE") + " box under the dialog, band " +
               std::to_string(band);
        user().click(square ? strip(band).square_box : strip(band).triangle_box);
        boxes_may_both_[band] = true;
        break;
      }
      case 4:
        said = "click a tone button under the dialog, band " + std::to_string(band);
        user().click(strip(band).tone_button);
        break;
      case 5:
        said = "type under the dialog, band " + std::to_string(band);
        user().type(field_of(band, chance(50)), random_text());
        break;
      case 6:
        said = "drag a slider under the dialog, band " + std::to_string(band);
        user().drag_slider(strip(band).level_slider, {pick(220) - 10});
        break;
      default: {
        TGadget* items[] = {program.help_item, program.about_item, program.exit_item};
        TGadget* item = items[pick(3)];
        said = "choose \"" + item->name + "\" from the menu while the dialog is open";
        user().choose_menu(item);
      }
    }
  }

  // A key to the dialog, which the user first brings to the front. (About's title is the main window's, so
  // the dialog is found by elimination when the step arrives.)
  void dialog_key(Key key) {
    session.driver.Script({[this, key] {
                            TGadget* dialog = open_dialog();
                            if (!dialog) return;
                            session.driver.NativeActiveWindow(dialog);
                            ui::input::WindowActivated(dialog);
                            ui::input::KeyPressed(dialog, key, false);
                          }},
                          nullptr);
  }

  void script_dismissal(std::string& said, bool about) {
    static const std::string_view kLinks[] = {kWebsiteCaption, kFacebookCaption, kTwitterCaption};
    switch (pick(about ? 4 : 3)) {
      case 0:
        said = "click OK";
        user().click(ui::headless::Find(ui::kButton, std::string(kOkCaption)));
        break;
      case 1:
        said = "the dialog's close box";
        session.driver.Script({[this] {
                                if (TGadget* dialog = open_dialog()) ui::input::CloseAsked(dialog);
                              }},
                              nullptr);
        break;
      case 2:
        said = "the main window's close box while the dialog is open";
        user().close(program.main_window);
        break;
      default: {
        const std::string caption(kLinks[pick(3)]);
        said = "click the link " + caption;
        user().click(ui::headless::Find(ui::kButton, caption));
      }
    }
  }

  // Checks the state after action `index`; records the first failure.
  void check_after(std::size_t index, Touched touched, bool dialog_open) {
    look([this, index, touched, dialog_open] {
      if (!failure_.empty()) return;
      const std::string problem = invariant_problem(touched, dialog_open);
      if (!problem.empty()) {
        failure_ = "after action " + std::to_string(index) + " (" + said_[index] + "): " + problem;
        for (std::size_t i = index > 5 ? index - 5 : 0; i < index; ++i) failure_ += "\n  earlier: " + said_[i];
      }
    });
  }

  std::string invariant_problem(Touched touched, bool dialog_open) {
    if ((open_dialog() != nullptr) != dialog_open) return dialog_open ? "the dialog is gone" : "a dialog is open";
    if (!dialog_open) {
      if (THeadlessDriver::LiveCount() != baseline_gadgets_)
        return "gadgets: " + std::to_string(THeadlessDriver::LiveCount()) + " live, " +
               std::to_string(baseline_gadgets_) + " after start-up";
    }
    for (const std::string& address : session.driver.OpenedAddresses())
      if (address != kWebsiteAddress && address != kFacebookAddress && address != kTwitterAddress)
        return "opened the address " + address;
    for (int b = 0; b < 9; ++b) {
      const bool sounding = program.bank.channels[b].sounding;
      const auto& lamp = strip(b).lamp->pixmap();
      if (!lamp || lamp->pixels != (sounding ? red_ : green_))
        return "band " + std::to_string(b) + " sounds " + (sounding ? "yes" : "no") + " but its lamp shows otherwise";
      if (muted(b) == sounding) return "band " + std::to_string(b) + "'s mute does not follow its sounding flag";
      if (!boxes_may_both_[b] && strip(b).square_box->check() && strip(b).triangle_box->check())
        return "band " + std::to_string(b) + " has both waveform boxes checked";
    }
    if (dialog_open) return "";
    ChannelStrip& s = strip(touched.band);
    const int band = touched.band;
    switch (touched.what) {
      case Touched::slider: {
        const float level = level_from_slider(static_cast<float>(s.level_slider->slider_last()));
        if (after_.slider == before_.slider) break;
        ++checked_[Touched::slider];
        if ((volume(band) != level || s.level_field->GetText() != int_to_text(percent_from_level(level))))
          return "level field \"" + s.level_field->GetText() + "\" and volume " + std::to_string(volume(band)) +
                 " out of step with slider value " + std::to_string(s.level_slider->slider_last());
        break;
      }
      case Touched::level_field: {
        const std::int32_t percent = text_to_int(s.level_field->GetText());
        if (after_.level == before_.level) break;
        ++checked_[Touched::level_field];
        if (volume(band) != level_from_field(percent) || s.level_slider->slider_last() != slider_from_field(percent))
          return "slider " + std::to_string(s.level_slider->slider_last()) + " and volume " +
                 std::to_string(volume(band)) + " out of step with level field \"" + s.level_field->GetText() + "\"";
        break;
      }
      case Touched::frequency_field:
        if (after_.frequency == before_.frequency) break;
        ++checked_[Touched::frequency_field];
        if ((s.tone_button->text() != s.frequency_field->GetText() ||
             rate(band) != static_cast<float>(text_to_int(s.frequency_field->GetText()))))
          return "caption and rate out of step with the frequency field";
        break;
      case Touched::tone_button: {
        ++checked_[Touched::tone_button];
        const bool square = s.square_box->check(), triangle = s.triangle_box->check();
        const float wanted = triangle ? mixer::WAVE_TRIANGLE : square ? mixer::WAVE_SQUARE : mixer::WAVE_SINE;
        if (waveform(band) != wanted) return "the waveform does not follow the boxes";
        break;
      }
      case Touched::nothing: break;
    }
    return "";
  }

  // Runs what is scripted; false if the program ended or a step could not be carried out.
  bool run_script() {
    const std::size_t ignored = session.driver.IgnoredInput().size();
    try {
      main_loop(program, options);
      failure_ = "the program ended";
      return false;
    } catch (const ui::headless::NoMoreInput&) {}
    if (session.driver.IgnoredInput().size() != ignored) {
      failure_ = "a step could not be carried out: " + session.driver.IgnoredInput().back();
      return false;
    }
    return failure_.empty();
  }

  const unsigned seed_ = StormSeed();
  std::mt19937 random_{seed_};
  std::vector<std::uint8_t> red_, green_;
  std::size_t baseline_gadgets_ = 0;
  std::vector<TGadget*> main_parts_;
  std::vector<DialogPart> help_parts_, about_parts_;
  std::array<bool, 9> boxes_may_both_{};
  std::vector<std::string> said_;
  std::string failure_;
  // What of the band's strip the last action changed: only a change raises an action that the checks can hold
  // the strip to (a drag back to where the thumb stood, or typing nothing, raises none).
  struct Controls {
    int slider = 0;
    std::string level, frequency;
  };
  Controls Snapshot(int band) {
    ChannelStrip& s = strip(band);
    return {s.level_slider->slider_last(), s.level_field->GetText(), s.frequency_field->GetText()};
  }
  Controls before_, after_;
  std::array<int, 5> checked_{};  // the follow-up checks made, by what was touched
};

TEST_F(InputStorm, TenThousandRandomActionsKeepEveryStripConsistent) {
  std::printf("input storm: seed %u\n", seed_);
  int dialogs = 0;
  while (static_cast<int>(said_.size()) < kActions) {
    if (chance(8)) {
      // A dialog: opened from the menu, used, closed. Every step is followed by the checks.
      const bool about = chance(50);
      said_.push_back(about ? "choose About" : "choose Help");
      user().choose_menu(about ? program.about_item : program.help_item);
      check_after(said_.size() - 1, {}, true);
      for (int n = pick(6); n > 0; --n) {
        said_.emplace_back();
        script_dialog_action(said_.back(), about ? about_parts_ : help_parts_);
        check_after(said_.size() - 1, {}, true);
      }
      said_.emplace_back();
      script_dismissal(said_.back(), about);
      check_after(said_.size() - 1, {}, false);
      ++dialogs;
    } else {
      // Whether the action moved the band's slider is seen before and after it.
      const int band = pick(9);
      look([this, band] { before_ = Snapshot(band); });
      said_.emplace_back();
      const Touched touched = script_action(said_.back(), band);
      look([this, band] { after_ = Snapshot(band); });
      check_after(said_.size() - 1, touched, false);
    }
    ASSERT_TRUE(run_script()) << failure_ << "\nseed " << seed_;
  }
  std::printf(
      "input storm: %zu actions, %d dialogs opened and closed, %zu addresses opened; in step after %d slider "
      "moves, %d level and %d frequency edits; waveform right after %d tone-button presses\n",
      said_.size(), dialogs, session.driver.OpenedAddresses().size(), checked_[Touched::slider],
      checked_[Touched::level_field], checked_[Touched::frequency_field], checked_[Touched::tone_button]);
  // A storm that stopped reaching the controls would prove little.
  for (auto what : {Touched::slider, Touched::level_field, Touched::frequency_field, Touched::tone_button})
    EXPECT_GT(checked_[what], 300) << "too few follow-up checks of kind " << what;
}

}  // namespace
}  // namespace raziz::test
