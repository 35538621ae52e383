#include "tests/program/program_fixture.h"

#include <stdlib.h>
#include <unistd.h>

#include <algorithm>
#include <cmath>
#include <fstream>

#include "ui/strips/strip_images.h"
#include "ui/widgets/core/pixmap.h"

namespace raziz::test {
namespace fs = std::filesystem;

namespace {

const fs::path kAssets = RAZIZ_ASSETS_DIR;

void write_file(const fs::path& path, const std::string& bytes) {
  std::ofstream out(path, std::ios::binary);
  out << bytes;
}

std::string read_file(const fs::path& path) {
  std::ifstream in(path, std::ios::binary);
  return std::string(std::istreambuf_iterator<char>(in), {});
}

}  // namespace

std::vector<std::uint8_t> image_pixels(const char* file) {
  auto pixmap = ui::LoadPixmap((kAssets / file).string());
  return pixmap ? pixmap->pixels : std::vector<std::uint8_t>{};
}

ProgramTest::ProgramTest() {
  started_in = fs::current_path();
  std::string pattern = (fs::temp_directory_path() / "raziz-program-XXXXXX").string();
  if (!mkdtemp(pattern.data())) throw std::runtime_error("no temporary folder");
  folder = pattern;

  options.executable_path = folder / "raziz";
  options.audio_output = AudioOutput::offline;
  options.end_process = [this](int status) {
    ended_status = status;
    main_window_alive_at_end = program.main_window && program.main_window->alive();
    calls_at_end = calls.size();
  };
}

ProgramTest::~ProgramTest() {
  // A test that leaves the program running still releases its audio, as the process's end would.
  if (program.bank.system) shutdown(program.bank);
  std::error_code ignored;
  fs::current_path(started_in, ignored);
  fs::remove_all(folder, ignored);
}

void ProgramTest::start(Images images) {
  for (const char* file : {kGreenLamp, kRedLamp, kSliderBackdrop}) {
    switch (images) {
      case Images::present: fs::copy_file(kAssets / file, folder / file); break;
      case Images::missing: break;
      case Images::corrupt: {
        // A PNG cut short after its header, for one; plain garbage for the others.
        const std::string png = read_file(kAssets / file);
        write_file(folder / file,
                   std::string_view(file) == kGreenLamp ? png.substr(0, 100) : std::string("not an image\n"));
        break;
      }
    }
  }
  // Launched from elsewhere: the program must find its images through its own path.
  fs::current_path(fs::temp_directory_path());

  start_program(program, session.driver, options);
  mixer::System_SetCallTrace(program.bank.system, &ProgramTest::trace, this);
}

void ProgramTest::trace(void* user, const char* call, const void* handle) {
  auto* self = static_cast<ProgramTest*>(user);
  const int repaints = self->program.main_window ? self->peer(self->program.main_window).immediate_repaints : 0;
  self->calls.push_back(MixerCall{call, handle, repaints});
}

bool ProgramTest::run_until_idle() {
  try {
    const int status = main_loop(program, options);
    ADD_FAILURE() << "the program ended with status " << status;
    return false;
  } catch (const ui::headless::NoMoreInput&) {
    EXPECT_EQ(session.driver.IgnoredInput(), std::vector<std::string>{}) << "scripted steps that missed";
    return true;
  }
}

int ProgramTest::run_to_end() {
  try {
    return main_loop(program, options);
  } catch (const ui::headless::NoMoreInput&) {
    ADD_FAILURE() << "the program still runs when the script is over";
    return -1;
  }
}

void ProgramTest::look(std::function<void()> look) { session.driver.Script({std::move(look)}, nullptr); }

float ProgramTest::volume(int band) {
  float v = -1;
  mixer::Channel_GetVolume(program.bank.channels[band].channel, &v);
  return v;
}

float ProgramTest::waveform(int band) {
  float v = -1;
  mixer::DSP_GetParameter(program.bank.channels[band].oscillator, mixer::OSCILLATOR_TYPE, &v);
  return v;
}

float ProgramTest::rate(int band) {
  float v = -1;
  mixer::DSP_GetParameter(program.bank.channels[band].oscillator, mixer::OSCILLATOR_RATE, &v);
  return v;
}

bool ProgramTest::muted(int band) {
  bool m = false;
  EXPECT_EQ(mixer::Channel_GetMute(program.bank.channels[band].channel, &m), mixer::RESULT_OK);
  return m;
}

bool ProgramTest::paused(int band) {
  bool p = true;
  EXPECT_EQ(mixer::Channel_GetPaused(program.bank.channels[band].channel, &p), mixer::RESULT_OK);
  return p;
}

float ProgramTest::render_peak(int frames) {
  std::vector<float> out(static_cast<std::size_t>(frames) * 2);
  EXPECT_EQ(mixer::System_Render(program.bank.system, out.data(), frames), mixer::RESULT_OK);
  float peak = 0;
  for (float s : out) peak = std::max(peak, std::fabs(s));
  return peak;
}

}  // namespace raziz::test
