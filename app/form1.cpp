// Form1's load handler, click bindings and the start-up of the whole program.
#include "app/form1.h"

#include <exception>
#include <new>

#include "addon/addon_tree.h"
#include "app/form1_layout.h"
#include "patch/index_patch.h"
#include "tools/package_installer.h"
#include "tools/process_runner.h"

namespace verdantix {

void Form1::Load() {
  // Resume-next: whatever stops the patch, the handler goes on to its end, showing nothing.
  try {
    RunIndexPatch(platform_);
  } catch (const std::exception&) {
  }
}

namespace {

/// The standard report of an unhandled run-time error, then the end of the program.
[[noreturn]] void ReportAndEnd(Platform& platform, const RuntimeError& error) {
  platform.ShowMessage(error.Report(), MessageIcon::kError);
  platform.EndProgram(error.code());
}

}  // namespace

template <typename Action>
void Form1::RunUnhandled(Action action) {
  if (action_running_) return;
  action_running_ = true;
  try {
    action();
  } catch (const RuntimeError& error) {
    ReportAndEnd(platform_, error);
  } catch (const std::bad_alloc&) {
    ReportAndEnd(platform_, RuntimeError(ErrorNumber::kOutOfMemory, ""));
  }
  action_running_ = false;
}

void Form1::OnClick(int control_id) {
  if (control_id == kCommand2Id) {
    RunUnhandled([this] {
      RunPackageInstaller(platform_, [this](std::string& command) { ejecutar(command); });
    });
  } else if (control_id == kCommand3Id) {
    RunUnhandled([this] { BuildAddonTree(platform_); });
  }
}

void Form1::ejecutar(std::string& Aplicacion) { RunAndWait(platform_, Aplicacion); }

int RunProgram(Platform& platform) {
  Form1 form(platform);
  form.Load();
  platform.RunWindow(kForm1, form);
  return 0;
}

}  // namespace verdantix
