#include "badging/res_config.h"

#include <gtest/gtest.h>

#include <vector>

namespace {

using apk::ResConfig;

ResConfig WithDensity(std::uint16_t density) {
  ResConfig c;
  c.density = density;
  return c;
}

ResConfig WithLocale(const std::string& tag) {
  ResConfig c;
  if (!tag.empty()) {
    c.setBcp47(tag);
    c.localeScript[0] = c.localeScript[1] = c.localeScript[2] = c.localeScript[3] = 0;  // stored tables carry no computed script
    c.localeScriptWasComputed = false;
  }
  return c;
}

// The packaging tool's selection: the first matching candidate stands until a strictly better one.
int Pick(const std::vector<ResConfig>& candidates, const ResConfig& request) {
  int best = -1;
  for (int i = 0; i < static_cast<int>(candidates.size()); ++i) {
    if (!candidates[i].match(request)) continue;
    if (best >= 0 && !candidates[i].isBetterThan(candidates[best], request)) continue;
    best = i;
  }
  return best;
}

TEST(ResConfig, DensityBestMatchFollowsThePackagingTool) {
  constexpr std::uint16_t kAny = ResConfig::kDensityAny;
  constexpr std::uint16_t kNone = ResConfig::kDensityNone;
  struct Case {
    std::vector<std::uint16_t> have;
    std::uint16_t want;
    std::uint16_t expect;
  } cases[] = {
      {{120, 160, 240, 320}, 480, 320},  // nothing higher: the highest
      {{120, 160, 240, 320}, 120, 120},
      {{120, 160, 240, 320}, 213, 240},  // scaling down beats scaling up
      {{160, 320}, 240, 320},
      {{240, 480}, 320, 480},
      {{120, 240}, 160, 240},
      {{0, 240}, 120, 0},                // no density counts as 160
      {{0, 240}, 480, 240},
      {{120, 160, 240, 320}, kAny, 160}, // an anydpi request is answered with mdpi
      {{160, kAny}, 120, kAny},          // anydpi always wins
      {{kAny, 640}, 640, kAny},
      {{160, kNone}, 160, 160},          // nodpi is a very high density to the ranking
      {{160, kNone}, 640, kNone},
      {{kNone}, 320, kNone},
      {{480, 320, 640}, 320, 320},
  };
  for (const Case& c : cases) {
    std::vector<ResConfig> candidates;
    for (const auto d : c.have) candidates.push_back(WithDensity(d));
    ResConfig request = ResConfig::BadgingRequest();
    request.density = c.want;
    const int best = Pick(candidates, request);
    ASSERT_GE(best, 0);
    EXPECT_EQ(candidates[best].density, c.expect) << "request " << c.want;
  }
}

TEST(ResConfig, LocaleMatchingUsesScriptsAndRegionAncestry) {
  struct Case {
    const char* request;
    std::vector<std::string> have;
    const char* expect;  // the winning tag, "" for the default
  } cases[] = {
      {"zh-TW", {"", "zh-CN"}, ""},           // Hans does not serve a Hant request
      {"zh-TW", {"", "zh-CN", "zh-HK"}, "zh-HK"},
      {"zh-CN", {"", "zh"}, "zh"},
      {"en-US", {"", "en-GB"}, ""},           // default resources are US English
      {"en-GB", {"", "en-AU"}, "en-AU"},
      {"en-GB", {"", "en-AU", "en"}, "en"},   // an ancestor of the request wins
      {"en", {"", "en-GB", "en-XC"}, "en-XC"},
      {"fr-CH", {"fr-CA", "fr-FR"}, "fr-FR"}, // the representative region
      {"", {"", "fr"}, ""},
      {"fr", {"de", "fr-CA", ""}, "fr-CA"},
  };
  for (const Case& c : cases) {
    std::vector<ResConfig> candidates;
    for (const auto& tag : c.have) candidates.push_back(WithLocale(tag));
    ResConfig request = ResConfig::BadgingRequest();
    request.setBcp47(c.request);
    const int best = Pick(candidates, request);
    ASSERT_GE(best, 0) << c.request;
    EXPECT_EQ(c.have[best], c.expect) << "request " << c.request;
  }
}

TEST(ResConfig, ParsesShortAndLongStoredConfigurations) {
  std::vector<std::uint8_t> bytes(64, 0);
  bytes[0] = 64;
  bytes[8] = 'z';
  bytes[9] = 'h';
  bytes[10] = 'T';
  bytes[11] = 'W';
  bytes[14] = 0xE0;
  bytes[15] = 0x01;  // 480
  bytes[24] = 21;    // v21
  const ResConfig full = ResConfig::Parse(apk::ByteView(bytes.data(), bytes.size()));
  EXPECT_EQ(full.density, 480);
  EXPECT_EQ(full.sdkVersion, 21);
  EXPECT_EQ(full.bcp47(), "zh-TW");
  // A configuration that records a size of 16 bytes ends before the density.
  bytes[0] = 16;
  const ResConfig shortOne = ResConfig::Parse(apk::ByteView(bytes.data(), bytes.size()));
  EXPECT_EQ(shortOne.density, 480);
  bytes[0] = 14;
  EXPECT_EQ(ResConfig::Parse(apk::ByteView(bytes.data(), bytes.size())).density, 0);
  EXPECT_EQ(ResConfig::Parse(apk::ByteView(bytes.data(), bytes.size())).bcp47(), "zh-TW");
}

TEST(ResConfig, Bcp47RoundTripsThreeLetterLanguagesAndScripts) {
  for (const char* tag : {"fil", "fil-PH", "sr-Latn", "ast", "en-XC", "es-419", "de-CH"}) {
    ResConfig c;
    c.setBcp47(tag);
    EXPECT_EQ(c.bcp47(), tag);
  }
}

}  // namespace
