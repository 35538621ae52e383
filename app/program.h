#pragma once
// The platform-neutral program: start-up, the main loop and its two exit paths. A platform's main builds its
// widget driver, fills ProgramOptions and calls run_program.

#include <filesystem>
#include <functional>

#include "app/end_process.h"
#include "audio/tone_bank.h"
#include "ui/strips/channel_strip.h"

namespace raziz::ui {
class TGadget;
class TGuiDriver;
}  // namespace raziz::ui

namespace raziz {

struct ProgramOptions {
  // The executable's own path as the operating system reports it (Linux: the target of /proc/self/exe;
  // Windows: GetModuleFileNameW). Not argv[0]: started through PATH or a relative link it names no usable
  // folder. Its folder becomes the working directory, so the images next to the executable are found.
  std::filesystem::path executable_path;

  AudioOutput audio_output = AudioOutput::device;

  // Ends the process with the status and does not return. Tests replace it with one that throws or records;
  // if it returns, the main loop returns that status.
  std::function<void(int status)> end_process = end_process_now;
};

// The File menu's items, as their menu actions name them.
enum MenuTag : int { kHelpTag = 100, kAboutTag = 200, kExitTag = 300 };

// What the shell holds for the life of the process.
struct Program {
  ToneBank bank;
  ui::TGadget* main_window = nullptr;
  ui::TGadget* file_menu = nullptr;
  ui::TGadget* help_item = nullptr;
  ui::TGadget* about_item = nullptr;
  ui::TGadget* exit_item = nullptr;
  ChannelStrips strips;
};

// Start-up, in order: working directory, widget layer, tone bank, main window and menu, strips, repaint.
void start_program(Program& program, ui::TGuiDriver& driver, const ProgramOptions& options);

// Takes and dispatches events until an exit path ends the process; returns the status only when
// options.end_process returned.
int main_loop(Program& program, const ProgramOptions& options);

// start_program, then main_loop.
int run_program(ui::TGuiDriver& driver, const ProgramOptions& options);

}  // namespace raziz
