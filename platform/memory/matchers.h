// gmock matchers for tests: a callable that fails with a run-time error, or ends the program.
#pragma once

#include <gmock/gmock.h>

#include <string>

#include "platform/memory/memory_platform.h"
#include "platform/runtime_error.h"

namespace verdantix {

/// Matches a callable that throws RuntimeError `number` naming `subject`.
inline auto ThrowsRuntimeError(ErrorNumber number, const std::string& subject) {
  return testing::Throws<RuntimeError>(
      testing::AllOf(testing::Property("number", &RuntimeError::code, static_cast<int>(number)),
                     testing::Property("subject", &RuntimeError::subject, subject)));
}

/// Matches a callable that ends the program (MemoryPlatform) with `exit_code`.
inline auto EndsProgram(int exit_code) {
  return testing::Throws<ProgramEnded>(
      testing::Field("exit_code", &ProgramEnded::exit_code, exit_code));
}

}  // namespace verdantix
