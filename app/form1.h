// Form1, the program's window: its load handler, the click handlers of its hidden buttons,
// ejecutar, and the start-up of the whole program.
#pragma once

#include <exception>
#include <string>

#include "platform/platform.h"

namespace verdantix {

class Form1 : public WindowEvents {
 public:
  explicit Form1(Platform& platform) : platform_(platform) {}

  /// The load handler, run while the window is still hidden: the index patch under the
  /// resume-next policy. A completed patch shows its message and ends the program; a failed
  /// one leaves no trace, and the handler returns so that the window is shown.
  void Form_Load();

  /// The package installer: gfxpak1 /i and /r for every record of the list file, run from the
  /// game folder one after another; then the list is deleted and the program ends. Without a
  /// list, the missing-list message and the end. A click that comes while the installer waits
  /// for gfxpak1 is refused.
  void Command2_Click();

  /// The add-on tree builder; the window stays open.
  void Command3_Click();

  /// The process runner: starts `Aplicacion` hidden and returns when it has ended, handling the
  /// window's events meanwhile.
  void ejecutar(std::string& Aplicacion);

  /// Routes a click to its handler; a failure that the handler does not handle ends the
  /// program with the standard report.
  void OnClick(int control_id) override;
  /// Refused while the package installer runs: its pass goes on and then ends the program.
  bool QueryClose() override { return !installer_running_; }

 private:
  Platform& platform_;
  bool installer_running_ = false;
};

/// The one policy for a failure that nothing handles, wherever it starts: the standard report
/// of the run-time error (7 when memory ran out, 51 for any other failure of the program
/// itself), then the end of the program with the error's number as its exit status.
[[noreturn]] void EndWithReport(Platform& platform, std::exception_ptr failure);

/// Creates Form1 hidden, runs its load handler, shows it when the handler returns, and runs
/// until the window is closed. Returns the program's exit status.
int RunProgram(Platform& platform);

}  // namespace verdantix
