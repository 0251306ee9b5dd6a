// Times LoadPicture's work on each file given (the careful read, then the
// decoding), without a host around it: medians of seven runs, processor
// time and wall time, in ms, and the worst wall time.
#include <algorithm>
#include <chrono>
#include <cstdio>
#include <ctime>
#include <string>
#include <vector>

#include "runtime/picture.hpp"
#include "runtime/regular_file.hpp"
#include "runtime/runtime_error.hpp"

int main(int argc, char** argv) {
  for (int i = 1; i < argc; ++i) {
    std::vector<double> ms;
    std::vector<double> cpu_ms;
    const char* outcome = "loads";
    for (int run = 0; run < 7; ++run) {
      const auto start = std::chrono::steady_clock::now();
      const std::clock_t cpu_start = std::clock();
      try {
        std::string bytes;
        if (mofu::ReadRegularFile(argv[i], mofu::kPictureFileLimit, bytes) != mofu::FileRead::kRead)
          throw mofu::RuntimeError(mofu::ErrorNumber::kPathFileAccess, argv[i]);
        mofu::DecodePicture(reinterpret_cast<const std::uint8_t*>(bytes.data()), bytes.size());
      } catch (const mofu::RuntimeError&) {
        outcome = "refused";
      }
      cpu_ms.push_back(1000.0 * static_cast<double>(std::clock() - cpu_start) / CLOCKS_PER_SEC);
      ms.push_back(
          std::chrono::duration<double, std::milli>(std::chrono::steady_clock::now() - start)
              .count());
    }
    std::sort(ms.begin(), ms.end());
    std::sort(cpu_ms.begin(), cpu_ms.end());
    std::printf("| %s | %s | %.1f | %.1f | %.1f |\n", argv[i], outcome, cpu_ms[cpu_ms.size() / 2],
                ms[ms.size() / 2], ms.back());
  }
}
