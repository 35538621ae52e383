// Prints where every control of the main window, Help and About stands, as JSON, by running the program's own
// start-up and dialog code on the headless driver. The end-to-end scenario reads it, so a change in the
// layout reaches the checks without being restated there.
//
// Rectangles are in 96-dpi units of the window's client area (the main window's below its menu bar); window
// rectangles are the outer frames the program asks for, on the screen. With --scale S every window is given
// the layout scale S first, as a driver measuring S would, and the rectangles are the pixels the core then
// places controls at.
#include <cstdio>
#include <cstdlib>
#include <filesystem>
#include <string>
#include <string_view>
#include <algorithm>
#include <utility>
#include <vector>

#include "app/program.h"
#include "ui/dialogs/dialog_texts.h"
#include "ui/dialogs/dialogs.h"
#include "ui/widgets/core/gadget.h"
#include "ui/widgets/core/geometry.h"
#include "ui/widgets/core/layout_scale.h"
#include "ui/widgets/headless/headless_driver.h"

namespace {

using raziz::ui::TGadget;

std::string json_string(std::string_view text) {
  std::string out = "\"";
  for (const char c : text) {
    switch (c) {
      case '"': out += "\\\""; break;
      case '\\': out += "\\\\"; break;
      case '\n': out += "\\n"; break;
      case '\r': out += "\\r"; break;
      case '\t': out += "\\t"; break;
      default:
        if (static_cast<unsigned char>(c) < 0x20) {
          char escaped[8];
          std::snprintf(escaped, sizeof escaped, "\\u%04x", c);
          out += escaped;
        } else {
          out += c;
        }
    }
  }
  return out + "\"";
}

std::string rect_json(int x, int y, int w, int h) {
  return "[" + std::to_string(x) + ", " + std::to_string(y) + ", " + std::to_string(w) + ", " + std::to_string(h) + "]";
}

const char* kind_name(const TGadget& g) {
  namespace ui = raziz::ui;
  switch (g.kind()) {
    case ui::kButton: return ui::IsCheckBox(g) && ui::DrawnAsBox(g) ? "check box" : "button";
    case ui::kPanel: return "panel";
    case ui::kTextField: return "field";
    case ui::kTextArea: return "text area";
    case ui::kLabel: return "label";
    case ui::kSlider: return "slider";
    default: return "other";
  }
}

std::string control_json(const TGadget& g) {
  const raziz::ui::Rect r = raziz::ui::RectInWindow(g);
  return "{\"kind\": " + json_string(kind_name(g)) + ", \"text\": " + json_string(g.text()) +
         ", \"name\": " + json_string(g.accessible_name()) + ", \"rect\": " + rect_json(r.x, r.y, r.width, r.height) +
         "}";
}

void collect(const TGadget& container, std::vector<const TGadget*>& out) {
  for (const TGadget* kid : container.kids) {
    if (kid->kind() == raziz::ui::kMenuItem) continue;
    out.push_back(kid);
    collect(*kid, out);
  }
}

// The rectangle from the client area's origin that holds every control (controls may start above or left of it).
std::string extent_json(const TGadget& window) {
  std::vector<const TGadget*> all;
  collect(window, all);
  int right = 0, bottom = 0;
  for (const TGadget* g : all) {
    const raziz::ui::Rect r = raziz::ui::RectInWindow(*g);
    right = std::max(right, r.x + r.width);
    bottom = std::max(bottom, r.y + r.height);
  }
  return "[" + std::to_string(right) + ", " + std::to_string(bottom) + "]";
}

std::string window_head(const TGadget& window) {
  const raziz::ui::Rect frame = raziz::ui::PlacedRect(window);
  return "\"title\": " + json_string(window.text()) +
         ", \"frame\": " + rect_json(frame.x, frame.y, frame.width, frame.height) +
         ", \"extent\": " + extent_json(window);
}

double g_scale = 1.0;

std::string strip_json(const raziz::ChannelStrip& s, int band) {
  const std::pair<const char*, const TGadget*> parts[] = {
      {"panel", s.group_panel},         {"lamp", s.lamp},         {"tone", s.tone_button},
      {"frequency", s.frequency_field}, {"level", s.level_field}, {"square", s.square_box},
      {"triangle", s.triangle_box},     {"well", s.slider_well},  {"slider", s.level_slider}};
  std::string out = "{\"band\": " + std::to_string(band) + ", \"hz\": " + json_string(s.tone_button->text());
  for (const auto& [part, gadget] : parts) out += ", " + json_string(part) + ": " + control_json(*gadget);
  out += ", \"slider_range\": [" + std::to_string(s.level_slider->slider_min()) + ", " +
         std::to_string(s.level_slider->slider_max()) +
         "], \"slider_value\": " + std::to_string(s.level_slider->slider_last()) + "}";
  return out;
}

std::string_view address_of(std::string_view caption) {
  if (caption == raziz::kWebsiteCaption) return raziz::kWebsiteAddress;
  if (caption == raziz::kFacebookCaption) return raziz::kFacebookAddress;
  if (caption == raziz::kTwitterCaption) return raziz::kTwitterAddress;
  return {};
}

std::string dialog_json(const TGadget& window) {
  std::vector<const TGadget*> all;
  collect(window, all);
  std::string out = "{" + window_head(window) + ", \"controls\": [";
  for (std::size_t i = 0; i < all.size(); ++i) {
    std::string c = control_json(*all[i]);
    const std::string_view address = address_of(all[i]->text());
    if (!address.empty()) c.insert(c.size() - 1, ", \"address\": " + json_string(address));
    out += (i ? ",\n      " : "\n      ") + c;
  }
  return out + "]}";
}

// Runs a dialog to the point where it waits for the user, prints it, and dismisses it with OK.
std::string dump_dialog(raziz::ui::headless::Session& session, TGadget* main_window, void (*run)(TGadget*)) {
  namespace headless = raziz::ui::headless;
  std::string json;
  session.driver.Script({[&] {
                          for (TGadget* w : headless::THeadlessDriver::FindAll(raziz::ui::kWindow))
                            if (w != main_window) {
                              raziz::ui::SetLayoutScale(*w, g_scale);
                              json = dialog_json(*w);
                            }
                        }},
                        nullptr);
  session.user.click(headless::Find(raziz::ui::kButton, std::string(raziz::kOkCaption)));
  run(main_window);
  return json;
}

}  // namespace

int main(int argc, char** argv) {
  namespace headless = raziz::ui::headless;
  if (argc == 3 && std::string_view(argv[1]) == "--scale") {
    g_scale = std::strtod(argv[2], nullptr);
  } else if (argc != 1) {
    std::fputs("usage: raziz-layout [--scale FACTOR]\n", stderr);
    return 2;
  }
  headless::Session session;
  raziz::Program program;
  raziz::ProgramOptions options;
  // The start-up moves into the executable's folder to read its images; this tool's folder is as good.
  std::error_code error;
  options.executable_path = std::filesystem::read_symlink("/proc/self/exe", error);
  options.audio_output = raziz::AudioOutput::offline;
  raziz::start_program(program, session.driver, options);
  raziz::ui::SetLayoutScale(*program.main_window, g_scale);

  std::string out = "{\n  \"main\": {" + window_head(*program.main_window) + ",\n    \"menu\": [";
  const TGadget* items[] = {program.help_item, program.about_item, program.exit_item};
  for (std::size_t i = 0; i < std::size(items); ++i) out += (i ? ", " : "") + json_string(items[i]->name);
  out += "],\n    \"strips\": [";
  for (int b = 0; b < raziz::kBandCount; ++b) out += (b ? ",\n      " : "\n      ") + strip_json(program.strips[b], b);
  out += "]},\n  \"help\": " + dump_dialog(session, program.main_window, raziz::run_help);
  out += ",\n  \"about\": " + dump_dialog(session, program.main_window, raziz::run_about) + "\n}\n";
  std::fputs(out.c_str(), stdout);
  return 0;
}
