// A stand-in for the external tool gfxpak1 on Linux: logs how it was started, can sleep and
// exit with a chosen status.
//
// It first writes to "gfxpak1.signals" in its current folder the signals it was started with
// blocked and ignored: the lines SigBlk and SigIgn of /proc/self/status.
//
// It reads "gfxpak1.control" in its current folder, if there is one: two numbers, the
// milliseconds to sleep and the exit status. When done it appends one line to "gfxpak1.log" in
// its current folder: start and end times (nanoseconds of the system clock), the current
// folder, then each argument, all separated by tabs.
#include <chrono>
#include <filesystem>
#include <fstream>
#include <thread>

int main(int argc, char** argv) {
  auto now = [] {
    using std::chrono::system_clock;
    return std::to_string(std::chrono::nanoseconds(system_clock::now().time_since_epoch()).count());
  };
  std::string line = now() + "\t";
  std::ifstream status("/proc/self/status");
  std::ofstream signals("gfxpak1.signals");
  for (std::string field; std::getline(status, field);) {
    if (field.starts_with("SigIgn:") || field.starts_with("SigBlk:")) signals << field << '\n';
  }
  long long sleep_ms = 0;
  int exit_status = 0;
  std::ifstream("gfxpak1.control") >> sleep_ms >> exit_status;
  std::this_thread::sleep_for(std::chrono::milliseconds(sleep_ms));
  line += now() + "\t" + std::filesystem::current_path().string();
  for (int i = 1; i < argc; ++i) line += std::string("\t") + argv[i];
  std::ofstream("gfxpak1.log", std::ios::app) << line << '\n';
  return exit_status;
}
