// The contract every platform keeps: one test suite, run against each implementation.
#pragma once

#include <functional>
#include <memory>
#include <string>

#include <gtest/gtest.h>

#include "platform/platform.h"

namespace verdantix {

/// A platform with an empty folder to work in.
struct ContractTarget {
  std::unique_ptr<Platform> platform;
  /// An empty, writable folder, as a native path without a trailing separator; it is also the
  /// platform's game folder.
  std::string root;
  /// A program that the system's own search would find (along PATH), but not in `root`.
  std::string program_elsewhere;
  /// Makes the existing file at `path` hidden and returns its path afterwards (POSIX hides by
  /// a leading dot in the name; Windows and the in-memory disk by an attribute).
  std::function<std::string(const std::string& path)> hide;
  /// Makes the existing file at `path` read-only; null where the platform has no such files.
  std::function<void(const std::string& path)> make_read_only;
  /// Holds `path` open without sharing until the returned object is destroyed, as a running
  /// game does; null where the platform has no such locks.
  std::function<std::shared_ptr<void>(const std::string& path)> lock;
  /// Cleans up the folder.
  std::function<void()> tear_down;
  /// False where names are matched letter for letter (the in-memory disk, whose paths the
  /// logic's tests spell out): the letter-case case skips.
  bool finds_names_in_any_case = true;
  /// False where a file beyond 4 GiB would take that much memory: the case skips.
  bool holds_files_beyond_4_gib = true;
};

using ContractTargetFactory = ContractTarget (*)();

class PlatformContract : public testing::TestWithParam<ContractTargetFactory> {
 protected:
  void SetUp() override { target_ = GetParam()(); }
  void TearDown() override {
    if (target_.tear_down) target_.tear_down();
  }
  Platform& platform() { return *target_.platform; }
  /// `name` inside the root folder, "a\b" separators mapped.
  std::string At(const std::string& name);

  ContractTarget target_;
};

}  // namespace verdantix
