// The program: Form1 on the platform it was built for.
#include "app/form1.h"
#include "platform/native.h"

namespace verdantix {

int ProgramMain() {
  auto platform = CreateNativePlatform();
  return RunProgram(*platform);
}

}  // namespace verdantix
