// The contract every platform keeps: one test suite, run against each implementation.
#pragma once

#include <functional>
#include <memory>
#include <string>

#include <gtest/gtest.h>

#include "platform/platform.h"

namespace verdantix {

/// A platform whose game folder is an empty, writable folder to work in.
struct ContractTarget {
  std::unique_ptr<Platform> platform;
  /// A program that the system's own search would find (along PATH), but not in the folder.
  std::string program_elsewhere;
  /// Makes the existing file at `path` hidden and returns its path afterwards (POSIX hides by
  /// a leading dot in the name; Windows and the in-memory disk by an attribute).
  std::function<std::string(const std::string& path)> hide;
  std::function<void(const std::string& path)> make_read_only;
  /// Holds `path` open without sharing until the returned object is destroyed, as a running
  /// game does; null where the platform has no such locks.
  std::function<std::shared_ptr<void>(const std::string& path)> lock;
  std::function<void()> tear_down;
};

using ContractTargetFactory = ContractTarget (*)();

/// What every platform, the in-memory one included, does.
class PlatformContract : public testing::TestWithParam<ContractTargetFactory> {
 protected:
  void SetUp() override { target_ = GetParam()(); }
  void TearDown() override {
    if (target_.tear_down) target_.tear_down();
  }
  Platform& platform() { return *target_.platform; }
  /// `name` inside the game folder, "a\b" separators mapped.
  std::string At(const std::string& name) { return platform().PathOf("\\" + name); }

  ContractTarget target_;
};

/// What only real files do (the in-memory platform leaves it out): read-only and held files,
/// letter case, missing folders, folders where files are due, sizes beyond 4 GiB.
class DiskContract : public PlatformContract {};

}  // namespace verdantix
