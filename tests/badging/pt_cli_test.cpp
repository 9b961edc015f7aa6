#include "badging/pt_cli.h"

#include <gtest/gtest.h>

#include <filesystem>
#include <fstream>

#include "byte_builders.h"

namespace {

namespace fs = std::filesystem;
using apk::RunPt;
using apktest::Bytes;

class PtCli : public ::testing::Test {
 protected:
  void SetUp() override {
    dir_ = fs::temp_directory_path() / ("pt_cli_test_" + std::to_string(::testing::UnitTest::GetInstance()->random_seed()) +
                                        ::testing::UnitTest::GetInstance()->current_test_info()->name());
    fs::create_directories(dir_);
  }
  void TearDown() override { fs::remove_all(dir_); }

  fs::path write(const std::string& name, const Bytes& bytes) {
    const fs::path path = dir_ / fs::u8path(name);
    std::ofstream(path, std::ios::binary).write(reinterpret_cast<const char*>(bytes.data()), static_cast<std::streamsize>(bytes.size()));
    return path;
  }

  fs::path dir_;
};

std::size_t Lines(const std::string& text) { return static_cast<std::size_t>(std::count(text.begin(), text.end(), '\n')); }

TEST_F(PtCli, VersionNamesOurOwnTool) {
  const auto run = RunPt({"version"});
  EXPECT_EQ(run.exitCode, 0);
  EXPECT_NE(run.out.find("Fennlow"), std::string::npos);
  EXPECT_EQ(run.out.find("Android Asset Packaging Tool, v"), std::string::npos);
}

TEST_F(PtCli, BadInputEndsWithOneErrorLineAndNonZeroExit) {
  const Bytes manifest = apktest::BuildXml({"manifest"}, true, {}, {0, {}, {}});
  struct Case {
    const char* what;
    std::vector<fs::path> args;
  };
  const std::vector<Case> cases = {
      {"no arguments", {}},
      {"unknown command", {"list", "x.apk"}},
      {"unknown dump option", {"dump", "resources", "x.apk"}},
      {"no file", {"dump", "badging"}},
      {"missing file", {"dump", "badging", dir_ / "missing.apk"}},
      {"a directory", {"dump", "badging", dir_}},
      {"not a zip", {"dump", "badging", write("text.apk", Bytes(300, 'A'))}},
      {"empty file", {"dump", "badging", write("empty.apk", {})}},
      {"no manifest", {"dump", "badging", write("nomanifest.apk", apktest::BuildZip({{"classes.dex", Bytes(10, 0)}}))}},
      {"garbage manifest",
       {"dump", "badging", write("garbage.apk", apktest::BuildZip({{"AndroidManifest.xml", Bytes(64, 0x5A)}}))}},
      {"garbage table",
       {"dump", "badging",
        write("garbage_arsc.apk", apktest::BuildZip({{"AndroidManifest.xml", manifest}, {"resources.arsc", Bytes(64, 7)}}))}},
  };
  for (const Case& c : cases) {
    SCOPED_TRACE(c.what);
    const auto run = RunPt(c.args);
    EXPECT_NE(run.exitCode, 0);
    EXPECT_EQ(Lines(run.err), 1u) << run.err;
    EXPECT_TRUE(run.out.empty()) << run.out;
  }
}

TEST_F(PtCli, MinimalPackageWithoutResourcesAndAChinesePath) {
  // <manifest package="p"> with no resource table: no densities, no icon lines.
  const Bytes manifest =
      apktest::BuildXml({"manifest", "package", "p"}, false, {}, {0, {{0xFFFFFFFFu, 1, 2, 0x03, 2}}, {}});
  const fs::path apk = write("图标 应用.apk", apktest::BuildZip({{"AndroidManifest.xml", manifest, true}}));
  const auto run = RunPt({"dump", "badging", apk});
  EXPECT_EQ(run.exitCode, 0) << run.err;
  EXPECT_EQ(run.out, "package: name='p' versionCode='' versionName=''\nlocales:\ndensities:\n");
}

#ifdef FENNLOW_FIXTURE_DIR
// Real packages built by Debian's aapt: each good one names its best bitmap; broken ones fail cleanly.
TEST_F(PtCli, AaptBuiltFixtures) {
  const fs::path fixtures = FENNLOW_FIXTURE_DIR;
  if (!fs::exists(fixtures / "png_densities.apk")) GTEST_SKIP() << "fixtures not built";
  struct Case {
    const char* file;
    int exit;
    const char* lastIconLine;
  } cases[] = {
      {"png_densities.apk", 0, "application-icon-best:'res/mipmap-xxxhdpi-v4/ic_launcher.png'"},
      {"adaptive_only.apk", 0, "application-icon-65534:'res/mipmap-anydpi-v26/ic_launcher.xml'"},
      {"not_zip.apk", 1, nullptr},
      {"truncated.apk", 1, nullptr},
      {"manifest_inflate_bomb.apk", 1, nullptr},
      {"reference_loop.apk", 1, nullptr},
  };
  for (const Case& c : cases) {
    SCOPED_TRACE(c.file);
    const auto run = RunPt({"dump", "badging", fixtures / c.file});
    EXPECT_EQ(run.exitCode, c.exit) << run.err;
    if (c.lastIconLine == nullptr) {
      EXPECT_EQ(Lines(run.err), 1u);
      continue;
    }
    std::string last;
    std::size_t at = 0;
    while ((at = run.out.find("application-icon-", at)) != std::string::npos) {
      const std::size_t end = run.out.find('\n', at);
      last = run.out.substr(at, end - at);
      at = end;
    }
    EXPECT_EQ(last, c.lastIconLine);
  }
}
#endif

}  // namespace
