#include "badging/pt_cli.h"

#include <cstdio>
#include <new>

#include "badging/apk_error.h"
#include "badging/badging.h"
#include "badging/zip_archive.h"

namespace apk {
namespace {

constexpr const char* kVersionLine = "pt: Fennlow's own badging tool, version 1.0 (not the Android Asset Packaging Tool)\n";
constexpr const char* kUsage = "usage: pt dump badging <file.apk> | pt version";

std::string Utf8(const std::filesystem::path& path) {
  const auto text = path.u8string();
  return std::string(text.begin(), text.end());
}

std::string OneLine(std::string text) {
  for (char& c : text) {
    if (c == '\n' || c == '\r') c = ' ';
  }
  return "pt: ERROR: " + text + "\n";
}

}  // namespace

PtRun RunPt(const std::vector<std::filesystem::path>& args) {
  PtRun run;
  if (args.size() == 1 && Utf8(args[0]) == "version") {
    run.out = kVersionLine;
    return run;
  }
  if (args.size() < 2 || Utf8(args[0]) != "dump") {
    run.exitCode = 2;
    run.err = OneLine(kUsage);
    return run;
  }
  if (Utf8(args[1]) != "badging") {
    run.exitCode = 2;
    run.err = OneLine("unknown dump option '" + Utf8(args[1]) + "'");
    return run;
  }
  if (args.size() != 3) {
    run.exitCode = 2;
    run.err = OneLine(args.size() < 3 ? "no dump file specified" : kUsage);
    return run;
  }
  try {
    const ZipArchive archive(OpenFile(args[2]));
    BadgingResult result = DumpBadging(archive);
    run.out = std::move(result.output);
    if (!result.error.empty()) {
      run.exitCode = 1;
      run.err = OneLine(result.error);
    }
  } catch (const ApkError& e) {
    run.exitCode = 1;
    run.err = OneLine(Utf8(args[2].filename()) + ": " + e.what());
  } catch (const std::bad_alloc&) {
    run.exitCode = 1;
    run.err = OneLine("out of memory");
  }
  return run;
}

int RunPtOnStandardStreams(const std::vector<std::filesystem::path>& args) {
  const PtRun run = RunPt(args);
  std::fwrite(run.out.data(), 1, run.out.size(), stdout);
  std::fflush(stdout);
  std::fwrite(run.err.data(), 1, run.err.size(), stderr);
  return run.exitCode;
}

}  // namespace apk
