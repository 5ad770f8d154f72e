// Form1's behaviour: the load handler, the click bindings of its hidden buttons, and ejecutar.
#pragma once

#include <string>

#include "platform/platform.h"

namespace verdantix {

class Form1 : public WindowEvents {
 public:
  explicit Form1(Platform& platform) : platform_(platform) {}

  /// The load handler: the index patch under the resume-next policy. It returns only when the
  /// patch failed; the failure leaves no trace.
  void Load();

  /// Command2 runs the package installer, Command3 the add-on tree builder. A click that comes
  /// while an action runs (from inside the installer's wait) is ignored. An unhandled run-time
  /// error shows the standard report and ends the program.
  void OnClick(int control_id) override;

  /// Refused while an action runs: the action goes on to its end, which ends the program.
  bool QueryClose() override { return !action_running_; }

  /// The process runner: starts `Aplicacion` hidden and returns when it has ended.
  void ejecutar(std::string& Aplicacion);

 private:
  /// Runs one click action, turning an unhandled failure into the standard report and the end.
  template <typename Action>
  void RunUnhandled(Action action);

  Platform& platform_;
  bool action_running_ = false;
};

/// Loads Form1, shows it when the load handler returns, and runs until the window is closed.
/// Returns the program's exit status.
int RunProgram(Platform& platform);

}  // namespace verdantix
