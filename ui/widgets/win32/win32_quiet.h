#pragma once
// Marks a change the program makes to a platform widget. While one is in progress, the notifications the
// platform sends about it (EN_CHANGE from SetWindowText, WM_SETFOCUS from SetFocus, WM_MOVE from
// SetWindowPos, ...) are not user actions and are not reported to the core.

namespace raziz::ui::win32 {

class ProgramChange {
 public:
  ProgramChange();
  ~ProgramChange();
  ProgramChange(const ProgramChange&) = delete;
  ProgramChange& operator=(const ProgramChange&) = delete;

  static bool InProgress();
};

}  // namespace raziz::ui::win32
