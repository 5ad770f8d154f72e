// A stand-in for gfxpak1 on Linux. It sleeps for the milliseconds in "gfxpak1.control" of its
// current folder, if there is one, then appends to "gfxpak1.log" there one line of tab-separated
// fields: its start and end times (ns of the system clock), the signals it was started with
// blocked and ignored (SigBlk and SigIgn of /proc/self/status), its current folder, its arguments.
#include <chrono>
#include <filesystem>
#include <fstream>
#include <thread>

int main(int argc, char** argv) {
  auto now = [] {
    using std::chrono::system_clock;
    return std::to_string(std::chrono::nanoseconds(system_clock::now().time_since_epoch()).count());
  };
  const std::string start = now();
  std::string signals;
  std::ifstream status("/proc/self/status");
  for (std::string field; std::getline(status, field);) {
    if (field.starts_with("SigBlk:") || field.starts_with("SigIgn:")) signals += "\t" + field;
  }
  long long sleep_ms = 0;
  std::ifstream("gfxpak1.control") >> sleep_ms;
  std::this_thread::sleep_for(std::chrono::milliseconds(sleep_ms));
  std::string line =
      start + "\t" + now() + signals + "\t" + std::filesystem::current_path().string();
  for (int i = 1; i < argc; ++i) line += std::string("\t") + argv[i];
  std::ofstream("gfxpak1.log", std::ios::app) << line << '\n';
}
