// Times one import phase by phase with the program's own pieces, and reports this process's peak
// memory. Must sit in a run directory beside pt.exe, uz.exe and zlibwapi.dll.
//   extract_bench_import <apk path> <mode 1|2> <repeats>
// Prints one line per phase: the median milliseconds over the repeats.
#include <algorithm>
#include <chrono>
#include <cstdio>
#include <cstdlib>
#include <string>
#include <vector>

#include "app/main_window.h"
#include "extract/backends.h"
#include "extract/icon_lookup.h"
#include "picture/image_decode.h"
#include "regex/regexp_wrapper.h"
#include "util/codepage.h"
#include "util/console_runner.h"
#include "util/module_state.h"
#include "util/windows_prelude.h"
#include <psapi.h>

namespace {

using Clock = std::chrono::steady_clock;

double Ms(Clock::time_point from, Clock::time_point to) {
  return std::chrono::duration<double, std::milli>(to - from).count();
}

double Median(std::vector<double> v) {
  std::sort(v.begin(), v.end());
  return v.empty() ? 0 : v[v.size() / 2];
}

PROCESS_MEMORY_COUNTERS Memory() {
  PROCESS_MEMORY_COUNTERS counters{};
  counters.cb = sizeof(counters);
  ::GetProcessMemoryInfo(::GetCurrentProcess(), &counters, sizeof(counters));
  return counters;
}

double MiB(std::size_t bytes) { return static_cast<double>(bytes) / (1024.0 * 1024.0); }

}  // namespace

int wmain(int argc, wchar_t** argv) {
  if (argc < 4) return 2;
  const Text apk = Utf16ToText(std::u16string(argv[1], argv[1] + ::lstrlenW(argv[1])));
  const int mode = static_cast<int>(std::wcstol(argv[2], nullptr, 10));
  const int repeats = std::max(1, static_cast<int>(std::wcstol(argv[3], nullptr, 10)));
  osVersionWord = 0x0601;  // cmd.exe, as start-up would choose on any current Windows

  const Text runDirectory = RunDirectory();
  const std::u16string runWide = TextToUtf16(runDirectory);
  std::vector<double> badging, lookup, extraction, display, total;
  const PROCESS_MEMORY_COUNTERS before = Memory();
  std::size_t pictureSize = 0;
  std::size_t peakBeforeExtraction = 0;
  for (int i = 0; i < repeats; ++i) {
    const auto t0 = Clock::now();
    RegExpWrapper wrapper;
    const Text quoted = "\"" + apk + "\"";
    ::SetCurrentDirectoryW(reinterpret_cast<const wchar_t*>(runWide.c_str()));
    const Text output = RunConsoleCommand("pt dump badging " + quoted);
    const auto t1 = Clock::now();
    const Text entry = LookUpIconEntry(wrapper, Utf8ToConsoleText(TextToBytes(output)));
    const auto t2 = Clock::now();
    peakBeforeExtraction = std::max<std::size_t>(peakBeforeExtraction, Memory().PeakWorkingSetSize);
    const Bytes picture = entry.empty() ? Bytes{} : mode == 1 ? ExtractWithUnzip(quoted, entry) : ExtractInMemory(apk, entry);
    const auto t3 = Clock::now();
    const Image32 image = DecodeImage(picture);
    const auto t4 = Clock::now();
    pictureSize = picture.size();
    badging.push_back(Ms(t0, t1));
    lookup.push_back(Ms(t1, t2));
    extraction.push_back(Ms(t2, t3));
    display.push_back(Ms(t3, t4));
    total.push_back(Ms(t0, t4));
    if (i == 0) std::printf("entry %s, %zu bytes\n", entry.c_str(), pictureSize);
  }
  const PROCESS_MEMORY_COUNTERS after = Memory();
  std::printf("badging_ms %.1f\nlookup_ms %.1f\nextraction_ms %.1f\ndisplay_ms %.1f\ntotal_ms %.1f\n",
              Median(badging), Median(lookup), Median(extraction), Median(display), Median(total));
  std::printf("peak_working_set_mib %.1f\npeak_before_extraction_mib %.1f\npeak_pagefile_mib %.1f\nstart_working_set_mib %.1f\n",
              MiB(after.PeakWorkingSetSize), MiB(peakBeforeExtraction), MiB(after.PeakPagefileUsage),
              MiB(before.WorkingSetSize));
  return pictureSize > 0 ? 0 : 1;
}
