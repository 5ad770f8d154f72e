// Measures the process runner (Form1's ejecutar) on Linux with the stand-in gfxpak1: the
// runner's own CPU time while a tool runs, and the delay from one tool's end to the next start.
//
// Usage: runner_bench GAME_FOLDER   (a folder holding the stand-in as "gfxpak1")
#include <algorithm>
#include <chrono>
#include <cstdio>
#include <ctime>
#include <filesystem>
#include <fstream>
#include <sstream>
#include <string>
#include <vector>

#include "app/form1.h"
#include "platform/posix/posix_platform.h"

namespace {

namespace fs = std::filesystem;

void RunAndWait(verdantix::Form1& form, std::string command_line) { form.ejecutar(command_line); }

constexpr int kLongRunMs = 2000;
constexpr int kRunsForDelay = 40;

void Control(const fs::path& folder, int sleep_ms) {
  std::ofstream(folder / "gfxpak1.control") << sleep_ms << " 0\n";
}

/// Start and end times (ns) of every logged run.
std::vector<std::pair<long long, long long>> LoggedTimes(const fs::path& folder) {
  std::vector<std::pair<long long, long long>> times;
  std::ifstream log(folder / "gfxpak1.log");
  for (std::string line; std::getline(log, line);) {
    std::istringstream fields(line);
    long long start = 0, end = 0;
    fields >> start >> end;
    times.emplace_back(start, end);
  }
  return times;
}

double CpuMilliseconds() { return 1000.0 * static_cast<double>(std::clock()) / CLOCKS_PER_SEC; }

void MeasureCpuDuringWait(verdantix::Form1& form, const fs::path& folder) {
  Control(folder, kLongRunMs);
  const double cpu_before = CpuMilliseconds();
  const auto wall_before = std::chrono::steady_clock::now();
  RunAndWait(form, "gfxpak1 /i bench bench");
  const double cpu = CpuMilliseconds() - cpu_before;
  const double wall =
      std::chrono::duration<double, std::milli>(std::chrono::steady_clock::now() - wall_before)
          .count();
  std::printf("runner CPU during a %d ms tool run: %.2f ms (wall %.0f ms; target < 20 ms)\n",
              kLongRunMs, cpu, wall);
}

long long NowNanoseconds() {
  return std::chrono::duration_cast<std::chrono::nanoseconds>(
             std::chrono::system_clock::now().time_since_epoch())
      .count();
}

double Median(std::vector<double> values) {
  std::sort(values.begin(), values.end());
  return values[values.size() / 2];
}

double Max(const std::vector<double>& values) {
  return *std::max_element(values.begin(), values.end());
}

void PrintLine(const char* what, const std::vector<double>& milliseconds) {
  std::printf("%s: median %.2f ms, max %.2f ms\n", what, Median(milliseconds), Max(milliseconds));
}

/// The gap between runs, split into the part after a tool's last act (its exit and the
/// runner's wake) and the part before the next tool's first act (the runner's start of it).
void MeasureGapBetweenRuns(verdantix::Form1& form, const fs::path& folder) {
  fs::remove(folder / "gfxpak1.log");
  Control(folder, 0);
  std::vector<std::pair<long long, long long>> calls;
  const double cpu_before = CpuMilliseconds();
  for (int i = 0; i < kRunsForDelay; ++i) {
    const long long called = NowNanoseconds();
    RunAndWait(form, "gfxpak1 /r bench bench");
    calls.emplace_back(called, NowNanoseconds());
  }
  const double cpu = CpuMilliseconds() - cpu_before;
  auto times = LoggedTimes(folder);
  if (times.size() != calls.size()) return;
  std::vector<double> gaps, after_exit, before_start;
  for (std::size_t i = 0; i < times.size(); ++i) {
    before_start.push_back(static_cast<double>(times[i].first - calls[i].first) / 1e6);
    after_exit.push_back(static_cast<double>(calls[i].second - times[i].second) / 1e6);
    if (i > 0) gaps.push_back(static_cast<double>(times[i].first - times[i - 1].second) / 1e6);
  }
  std::printf("over %d runs of a tool that ends at once:\n", kRunsForDelay);
  PrintLine("  tool end to next tool start (target < 5 ms)", gaps);
  PrintLine("    tool's last act to the runner's return", after_exit);
  PrintLine("    runner's call to the tool's first act", before_start);
  std::printf("  runner CPU per run: %.2f ms\n", cpu / kRunsForDelay);
}

}  // namespace

int main(int argc, char** argv) {
  if (argc != 2) {
    std::fprintf(stderr, "usage: runner_bench GAME_FOLDER\n");
    return 2;
  }
  const fs::path folder = argv[1];
  verdantix::posix::PosixPlatform platform(verdantix::posix::CreateTerminalUi(), folder.string());
  platform.SetCurrentFolder(folder.string());
  verdantix::Form1 form(platform);
  MeasureCpuDuringWait(form, folder);
  MeasureGapBetweenRuns(form, folder);
  return 0;
}
