// Runs a command several times and reports its median wall time and largest peak memory.
//
//   measure RUNS COMMAND [ARG...]
#include <sys/resource.h>
#include <sys/wait.h>
#include <unistd.h>

#include <algorithm>
#include <chrono>
#include <cstdio>
#include <cstdlib>
#include <vector>

int main(int argc, char** argv) {
  if (argc < 3) {
    std::fprintf(stderr, "usage: measure RUNS COMMAND [ARG...]\n");
    return 2;
  }
  int runs = std::atoi(argv[1]);
  std::vector<double> milliseconds;
  long peak_kib = 0;
  for (int run = 0; run < runs; ++run) {
    auto start = std::chrono::steady_clock::now();
    pid_t child = fork();
    if (child == 0) {
      execv(argv[2], argv + 2);
      _exit(127);
    }
    int status = 0;
    rusage usage{};
    wait4(child, &status, 0, &usage);
    std::chrono::duration<double, std::milli> took = std::chrono::steady_clock::now() - start;
    if (!WIFEXITED(status) || WEXITSTATUS(status) != 0) {
      std::fprintf(stderr, "measure: %s failed\n", argv[2]);
      return 1;
    }
    milliseconds.push_back(took.count());
    peak_kib = std::max(peak_kib, usage.ru_maxrss);
  }
  std::sort(milliseconds.begin(), milliseconds.end());
  std::printf("median %.2f ms over %d runs, peak memory %ld KiB\n",
              milliseconds[milliseconds.size() / 2], runs, peak_kib);
  return 0;
}
