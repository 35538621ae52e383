#include "app/program.h"
#include "ui/dialogs/dialogs.h"
#include "ui/strips/strip_handlers.h"
#include "ui/widgets/core/event.h"
#include "ui/widgets/core/gadget.h"

namespace raziz {
namespace {

void run_control(Program& program, ControlMatch match, int data) {
  ChannelStrip& strip = program.strips[match.band];
  switch (match.role) {
    case ControlRole::frequency_field: return on_frequency_field(strip, program.bank, match.band);
    case ControlRole::level_field: return on_level_field(strip, program.bank, match.band);
    case ControlRole::tone_button: return on_tone_button(strip, program.bank, match.band);
    case ControlRole::level_slider: return on_level_slider(strip, program.bank, match.band, static_cast<float>(data));
    case ControlRole::square_box: return on_square_box(strip);
    case ControlRole::triangle_box: return on_triangle_box(strip);
  }
}

// An options record without an end_process still ends the process rather than throwing out of an exit path.
void end_with(const ProgramOptions& options, int status) {
  if (options.end_process) {
    options.end_process(status);
  } else {
    end_process_now(status);
  }
}

}  // namespace

int main_loop(Program& program, const ProgramOptions& options) {
  constexpr int kStatus = 0;
  for (;;) {
    const int id = ui::TakeEvent();
    // A copy: a dialog run from here takes events of its own.
    const ui::TEvent event = ui::CurrentEvent();

    if (id == ui::kWindowClose) {
      // The close box of whichever window: release the audio, then end at once.
      shutdown(program.bank);
      end_with(options, kStatus);
      return kStatus;
    }

    if (id == ui::kGadgetAction) {
      if (const auto match = find_control(program.strips, event.source)) run_control(program, *match, event.data);
      continue;
    }

    if (id == ui::kMenuAction) {
      ui::pump_and_repaint(program.main_window);
      if (event.data == kHelpTag) {
        run_help(program.main_window);
      } else if (event.data == kAboutTag) {
        run_about(program.main_window);
      } else if (event.data == kExitTag) {
        ui::pump_and_repaint(program.main_window);
        shutdown(program.bank);
        ui::pump_and_repaint(program.main_window);
        end_with(options, kStatus);
        return kStatus;
      }
    }
  }
}

int run_program(ui::TGuiDriver& driver, const ProgramOptions& options) {
  Program program;
  start_program(program, driver, options);
  return main_loop(program, options);
}

}  // namespace raziz
