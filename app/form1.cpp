// Form1's handlers: each reads top to bottom as the program's behaviour is decided.
#include "app/form1.h"

#include <memory>
#include <new>
#include <stdexcept>

#include "addon/addon_tree.h"
#include "app/form1_layout.h"
#include "installer/command_lines.h"
#include "installer/list_file.h"
#include "installer/package_list.h"
#include "patch/index_patch.h"

namespace verdantix {

void Form1::Form_Load() {
  // Resume-next: whatever stops the patch, the handler goes on to its end, showing nothing.
  try {
    switch (RunIndexPatch(platform_)) {
      case Outcome::kInstalled:
        platform_.ShowMessage(kInstalledMessage, MessageIcon::kNone);
        break;
      case Outcome::kUninstalled:
        platform_.ShowMessage(kUninstalledMessage, MessageIcon::kNone);
        break;
      case Outcome::kNone:
        break;
    }
    platform_.EndProgram(0);
  } catch (const std::exception&) {
  }
}

void Form1::Command2_Click() {
  // Every way out of here ends the program, so the flag is never lowered again.
  if (installer_running_) return;
  installer_running_ = true;
  const std::string game_folder = platform_.GameFolder();
  const std::string list_path = platform_.PathOf(kListFile);
  if (!platform_.FileExists(list_path)) {
    platform_.ShowMessage(kMissingListMessage, MessageIcon::kInformation);
    platform_.EndProgram(0);
  }
  {
    // The list stays open for the whole pass, as its records are read one after another.
    std::unique_ptr<BinaryFile> list = platform_.OpenForReading(list_path);
    const std::string text = ReadListText(platform_, *list, list_path);
    ListFileReader reader(text, list_path);
    while (!reader.AtEnd()) {
      const ListRecord record = reader.ReadRecord();
      platform_.SetCurrentFolder(game_folder);
      std::string install = InstallCommand(record, list_path);
      ejecutar(install);
      std::string remove = RemoveCommand(record);
      ejecutar(remove);
      platform_.SetCurrentFolder(game_folder);
    }
  }
  platform_.SetCurrentFolder(game_folder);
  platform_.Remove(list_path);
  platform_.EndProgram(0);
}

void Form1::Command3_Click() { BuildAddonTree(platform_); }

void Form1::ejecutar(std::string& Aplicacion) {
  std::unique_ptr<Process> process = platform_.StartHidden(Aplicacion);
  platform_.WaitForExit(*process);
}

void Form1::OnClick(int control_id) {
  try {
    if (control_id == kCommand2Id) Command2_Click();
    if (control_id == kCommand3Id) Command3_Click();
  } catch (const std::exception&) {
    EndWithReport(platform_, std::current_exception());
  }
}

void EndWithReport(Platform& platform, std::exception_ptr failure) {
  RuntimeError error(ErrorNumber::kInternalError, "");
  try {
    std::rethrow_exception(failure);
  } catch (const RuntimeError& raised) {
    error = raised;
  } catch (const std::bad_alloc&) {
    error = RuntimeError(ErrorNumber::kOutOfMemory, "");
  } catch (const std::length_error&) {
    error = RuntimeError(ErrorNumber::kOutOfMemory, "");
  } catch (const std::exception& other) {
    error = RuntimeError(ErrorNumber::kInternalError, other.what());
  }
  platform.ShowMessage(error.what(), MessageIcon::kError);
  platform.EndProgram(error.code());
}

int RunProgram(Platform& platform) {
  Form1 form(platform);
  try {
    platform.CreateHiddenWindow(kForm1, form);
    form.Form_Load();
    platform.ShowWindowUntilClosed();
  } catch (const std::exception&) {
    EndWithReport(platform, std::current_exception());
  }
  return 0;
}

}  // namespace verdantix
