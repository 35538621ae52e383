// The program as it stands when the main loop begins.
#include <gtest/gtest.h>

#include <functional>
#include <ostream>
#include <string>
#include <utility>
#include <vector>

#include "tests/program/program_fixture.h"
#include "ui/strips/strip_images.h"
#include "ui/widgets/core/event.h"
#include "ui/widgets/core/geometry.h"

namespace raziz::test {
namespace {

using ui::Rect;
using ui::TGadget;

Rect rect_of(const TGadget* g) { return Rect{g->xpos, g->ypos, g->width, g->height}; }

class StartUp : public ProgramTest {};

TEST_F(StartUp, MainWindowIsTitledWithTheVersionAndHoldsOnlyTheFileMenu) {
  start();
  TGadget* window = program.main_window;
  EXPECT_EQ(window->text(), "Raziz 1.0");
  EXPECT_EQ(peer(window).text, "Raziz 1.0");
  EXPECT_EQ(peer(window).rect, (Rect{100, 100, 809, 526}));
  EXPECT_EQ(window->style, 1);
  EXPECT_EQ(window->parent, ui::Desktop());
  EXPECT_TRUE(peer(window).visible);
  EXPECT_EQ(session.driver.ActiveWindow(), window);
  EXPECT_EQ(window->focus(), nullptr) << "the window itself has the keyboard focus";

  const auto& bar = peer(window).menu_bar;
  ASSERT_EQ(bar.size(), 1u);
  EXPECT_EQ(bar[0].text, "File");
  EXPECT_EQ(bar[0].tag, 0);
  ASSERT_EQ(bar[0].children.size(), 3u);
  const char* const names[] = {"Help", "About", "Exit"};
  const int tags[] = {100, 200, 300};
  for (int i = 0; i < 3; ++i) {
    EXPECT_EQ(bar[0].children[i].text, names[i]);
    EXPECT_EQ(bar[0].children[i].tag, tags[i]);
    EXPECT_TRUE(bar[0].children[i].children.empty());
  }
  EXPECT_EQ(peer(window).menu_bar_builds, 1);
  EXPECT_GE(peer(window).immediate_repaints, 2) << "repainted during and after building the strips";
}

TEST_F(StartUp, NothingThatStartUpDidIsWaitingAsAnAction) {
  start();
  // Only the window's own activation may be queued; no strip control raised anything while it was made.
  while (ui::PendingEvents() > 0) {
    ui::TakeEvent();
    const ui::TEvent& e = ui::CurrentEvent();
    EXPECT_NE(e.id, ui::kGadgetAction);
    EXPECT_FALSE(find_control(program.strips, e.source).has_value());
  }
}

TEST_F(StartUp, EveryStripStandsWhereItShould) {
  start();
  for (int b = 0; b < 9; ++b) {
    SCOPED_TRACE("band " + std::to_string(b));
    const ChannelStrip& s = strip(b);
    const std::string caption = std::to_string(kBandFrequencies[b]);

    EXPECT_EQ(s.group_panel->parent, program.main_window);
    EXPECT_EQ(rect_of(s.group_panel), (Rect{6 + 88 * b, -6, 88, 480}));
    EXPECT_EQ(s.group_panel->style, 3);
    EXPECT_EQ(s.group_panel->text(), "");
    EXPECT_TRUE(s.group_panel->has_color());
    EXPECT_EQ(s.group_panel->color(), (ui::Rgb{192, 192, 192}));

    // Creation order is keyboard order: tone button, frequency, level, SQUARE, TRIANGLE, then the slider's well.
    const std::vector<TGadget*> order = {s.lamp,        s.hertz_label, s.tone_button,  s.frequency_field,
                                         s.level_field, s.square_box,  s.triangle_box, s.slider_well};
    EXPECT_EQ(s.group_panel->kids, order);

    EXPECT_EQ(rect_of(s.lamp), (Rect{14, 0, 50, 50}));
    EXPECT_EQ(s.lamp->kind(), ui::kPanel);
    EXPECT_EQ(s.lamp->style, 0);
    EXPECT_EQ(s.lamp->text(), " ");

    EXPECT_EQ(s.hertz_label->kind(), ui::kLabel);
    EXPECT_EQ(rect_of(s.hertz_label), (Rect{20, 55, 36, 14}));
    EXPECT_EQ(s.hertz_label->text(), "HERTZ");
    EXPECT_EQ(s.hertz_label->style, 0);

    EXPECT_EQ(s.tone_button->kind(), ui::kButton);
    EXPECT_EQ(rect_of(s.tone_button), (Rect{9, 74, 58, 34}));
    EXPECT_EQ(s.tone_button->style, 4);
    EXPECT_EQ(peer(s.tone_button).text, caption);

    EXPECT_EQ(s.frequency_field->kind(), ui::kTextField);
    EXPECT_EQ(rect_of(s.frequency_field), (Rect{13, 115, 50, 18}));
    EXPECT_EQ(peer(s.frequency_field).text, caption);

    // The 630 Hz strip's level field stands 4 pixels further left.
    EXPECT_EQ(s.level_field->kind(), ui::kTextField);
    EXPECT_EQ(rect_of(s.level_field), (Rect{b == 1 ? 9 : 13, 384, 50, 18}));
    EXPECT_EQ(peer(s.level_field).text, "50");

    EXPECT_EQ(rect_of(s.square_box), (Rect{4, 410, 74, 23}));
    EXPECT_EQ(rect_of(s.triangle_box), (Rect{4, 435, 74, 23}));
    EXPECT_EQ(s.square_box->style, 2);
    EXPECT_EQ(s.triangle_box->style, 2);
    EXPECT_EQ(peer(s.square_box).text, "SQUARE");
    EXPECT_EQ(peer(s.triangle_box).text, "TRIANGLE");
    EXPECT_EQ(peer(s.square_box).check, 0);
    EXPECT_EQ(peer(s.triangle_box).check, 0);

    EXPECT_EQ(rect_of(s.slider_well), (Rect{12, 140, 50, 230}));
    EXPECT_EQ(s.slider_well->style, 3);
    EXPECT_EQ(s.slider_well->kids, std::vector<TGadget*>{s.level_slider});
    EXPECT_EQ(s.level_slider->kind(), ui::kSlider);
    EXPECT_EQ(rect_of(s.level_slider), (Rect{9, 1, 23, 200}));
    EXPECT_EQ(s.level_slider->style, 6);
    EXPECT_EQ(peer(s.level_slider).slider_min, 1);
    EXPECT_EQ(peer(s.level_slider).slider_max, 200);
    EXPECT_EQ(peer(s.level_slider).slider_position, 96) << "value 105 counted from the top";
    EXPECT_EQ(s.level_slider->GetProp(), 105);

    // In the window's client area: the strip's frame starts 6 pixels above it, the slider inside two frames.
    EXPECT_EQ(peer(s.tone_button).rect, (Rect{6 + 88 * b + 4 + 9, -6 + 16 + 74, 58, 34}));
    EXPECT_EQ(peer(s.level_slider).rect, (Rect{6 + 88 * b + 4 + 12 + 4 + 9, -6 + 16 + 140 + 16 + 1, 23, 200}));

    // What a screen reader calls them.
    EXPECT_EQ(peer(s.frequency_field).accessible_name, "Frequency " + caption + " Hz");
    EXPECT_EQ(peer(s.level_field).accessible_name, "Level percent " + caption + " Hz");
    EXPECT_EQ(peer(s.level_slider).accessible_name, "Level " + caption + " Hz");
    EXPECT_EQ(peer(s.group_panel).accessible_name, "Band " + caption + " Hz");
    EXPECT_EQ(s.tone_button->accessible_name(), caption);
    EXPECT_EQ(s.square_box->accessible_name(), "SQUARE");
  }
  // The strips' contents reach 798 x 474 pixels of the client area.
  const ChannelStrip& last = strip(8);
  EXPECT_EQ(last.group_panel->xpos + last.group_panel->width, 798);
  EXPECT_EQ(last.group_panel->ypos + last.group_panel->height, 474);
}

TEST_F(StartUp, LampsAreGreenAndWellsShowTheBackdrop) {
  start();
  const auto green = image_pixels(kGreenLamp);
  const auto backdrop = image_pixels(kSliderBackdrop);
  ASSERT_FALSE(green.empty());
  ASSERT_FALSE(backdrop.empty());
  for (int b = 0; b < 9; ++b) {
    SCOPED_TRACE("band " + std::to_string(b));
    ASSERT_NE(strip(b).lamp->pixmap(), nullptr);
    EXPECT_EQ(strip(b).lamp->pixmap()->pixels, green);
    EXPECT_EQ(strip(b).lamp->pixmap_flags(), 0);
    ASSERT_NE(strip(b).slider_well->pixmap(), nullptr);
    EXPECT_EQ(strip(b).slider_well->pixmap()->pixels, backdrop);
    EXPECT_EQ(strip(b).slider_well->pixmap_flags(), 0);
  }
}

TEST_F(StartUp, NineOscillatorsRunMutedAtTheBandFrequencies) {
  start();
  for (int b = 0; b < 9; ++b) {
    SCOPED_TRACE("band " + std::to_string(b));
    EXPECT_FALSE(program.bank.channels[b].sounding);
    EXPECT_TRUE(muted(b));
    EXPECT_FALSE(paused(b));
    EXPECT_FLOAT_EQ(volume(b), 0.2f);
    EXPECT_EQ(waveform(b), mixer::WAVE_SINE);
    EXPECT_EQ(rate(b), static_cast<float>(kBandFrequencies[b]));
  }
  EXPECT_EQ(render_peak(4800), 0.0f);
}

// Every mixer call start-up makes, with its handle and how many windows existed when it came.
class StartUpCalls {
 public:
  struct Call {
    std::string call;
    const void* handle;
    std::size_t windows;
    friend bool operator==(const Call&, const Call&) = default;
    friend void PrintTo(const Call& c, std::ostream* out) {
      *out << c.call << "(" << c.handle << ") windows " << c.windows;
    }
  };

  // `prepare` runs on the new system before the program's own calls reach it.
  explicit StartUpCalls(std::function<void(mixer::System*)> prepare = {}) : prepare_(std::move(prepare)) {
    mixer::SetSystemCreatedHook(&StartUpCalls::created, this);
  }
  ~StartUpCalls() { mixer::SetSystemCreatedHook(nullptr, nullptr); }
  StartUpCalls(const StartUpCalls&) = delete;
  StartUpCalls& operator=(const StartUpCalls&) = delete;

  std::vector<Call> calls;

 private:
  static void created(void* user, mixer::System* system) {
    auto* self = static_cast<StartUpCalls*>(user);
    if (self->prepare_) self->prepare_(system);
    mixer::System_SetCallTrace(system, &StartUpCalls::trace, self);
  }
  static void trace(void* user, const char* call, const void* handle) {
    static_cast<StartUpCalls*>(user)->calls.push_back(
        {call, handle, ui::headless::THeadlessDriver::FindAll(ui::kWindow).size()});
  }
  std::function<void(mixer::System*)> prepare_;
};

TEST_F(StartUp, TheToneBankComesUpBandByBandBeforeTheFirstWindow) {
  StartUpCalls recorded;
  start();
  const void* system = program.bank.system;
  std::vector<StartUpCalls::Call> want = {{"System_Create", system, 0}, {"System_Init", system, 0}};
  for (const ToneChannel& tone : program.bank.channels) {
    const void* oscillator = tone.oscillator;
    const void* channel = tone.channel;
    for (auto [call, handle] : {std::pair<const char*, const void*>{"System_CreateDSPByType", system},
                                {"DSP_SetParameter", oscillator},  // sine
                                {"DSP_SetParameter", oscillator},  // the band's frequency
                                {"System_PlayDSP", system},
                                {"Channel_SetVolume", channel},
                                {"DSP_SetParameter", oscillator},  // sine again
                                {"Channel_SetPaused", channel},
                                {"Channel_SetMute", channel}}) {
      want.push_back({call, handle, 0});
    }
  }
  EXPECT_EQ(recorded.calls, want);
  EXPECT_EQ(ui::headless::THeadlessDriver::FindAll(ui::kWindow), std::vector<TGadget*>{program.main_window});
}

// The program ignores what the mixer answers: with a system that cannot start, it runs without sound and
// still ends as usual.
TEST_F(StartUp, AnAudioSystemThatFailsToStartLeavesAWorkingSilentProgram) {
  {
    // Used up before the program's own System_Init reaches it, which then fails, and every call after it.
    StartUpCalls recorded([](mixer::System* system) {
      mixer::System_Init(system, 1, mixer::INIT_OFFLINE, nullptr);
      mixer::System_Close(system);
    });
    start();
    ASSERT_GE(recorded.calls.size(), 2u);
    EXPECT_EQ(recorded.calls[1].call, "System_Init");
  }
  for (const ToneChannel& tone : program.bank.channels) {
    EXPECT_EQ(tone.oscillator, nullptr);
    EXPECT_EQ(tone.channel, nullptr);
  }
  ChannelStrip& s = strip(4);
  user().click(s.tone_button);
  user().drag_slider(s.level_slider, {thumb_for(200)});
  user().set_text_by_user(s.frequency_field, "440");
  user().click(s.square_box);
  ASSERT_TRUE(run_until_idle());
  EXPECT_TRUE(program.bank.channels[4].sounding);
  EXPECT_EQ(s.lamp->pixmap()->pixels, image_pixels(kRedLamp));
  EXPECT_EQ(peer(s.level_field).text, "100");
  EXPECT_EQ(peer(s.tone_button).text, "440");

  user().choose_menu(program.exit_item);
  EXPECT_EQ(run_to_end(), 0);
  EXPECT_EQ(ended_status, 0);
}

TEST_F(StartUp, WindowEventsOfOtherKindsChangeNothing) {
  start();
  user().move(program.main_window, 300, 200);
  user().resize(program.main_window, 900, 600);
  user().switch_away();
  user().come_back(program.main_window);
  user().activate(program.main_window);
  ASSERT_TRUE(run_until_idle());
  EXPECT_FALSE(ended_status.has_value());
  for (int b = 0; b < 9; ++b) {
    EXPECT_TRUE(muted(b));
    EXPECT_FLOAT_EQ(volume(b), 0.2f);
    EXPECT_EQ(peer(strip(b).level_field).text, "50");
  }
}

}  // namespace
}  // namespace raziz::test
