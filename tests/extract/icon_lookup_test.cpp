#include <gtest/gtest.h>

#include <string>

#include "extract/icon_lookup.h"
#include "regex/regexp_wrapper.h"

namespace {

// Output recorded from the badging tool, trimmed to the lines around the icon.
constexpr char kHead[] =
    "package: name='com.example.app' versionCode='7' versionName='1.7'\r\n"
    "sdkVersion:'14'\r\n"
    "targetSdkVersion:'28'\r\n"
    "application-label:'Example'\r\n";
constexpr char kTail[] =
    "application: label='Example' icon='res/drawable-mdpi/ic_launcher.png'\r\n"
    "launchable-activity: name='com.example.app.Main'  label='' icon=''\r\n"
    "supports-screens: 'small' 'normal' 'large' 'xlarge'\r\n"
    "densities: '120' '160' '240' '320'\r\n";

struct Case {
  const char* name;
  std::string iconLines;
  const char* expected;
};

const Case kCases[] = {
    {"densities 120..320 all png: the last one",
     "application-icon-120:'res/drawable-ldpi/ic_launcher.png'\r\n"
     "application-icon-160:'res/drawable-mdpi/ic_launcher.png'\r\n"
     "application-icon-240:'res/drawable-hdpi/ic_launcher.png'\r\n"
     "application-icon-320:'res/drawable-xhdpi/ic_launcher.png'\r\n",
     "res/drawable-xhdpi/ic_launcher.png"},
    {"last line xml: the last png line",
     "application-icon-160:'res/mipmap-mdpi-v4/ic_launcher.png'\r\n"
     "application-icon-240:'res/mipmap-hdpi-v4/ic_launcher.png'\r\n"
     "application-icon-65534:'res/mipmap-anydpi-v26/ic_launcher.xml'\r\n",
     "res/mipmap-hdpi-v4/ic_launcher.png"},
    {"webp only",
     "application-icon-160:'res/mipmap-mdpi/ic_launcher.webp'\r\n"
     "application-icon-480:'res/mipmap-xxhdpi/ic_launcher.webp'\r\n",
     "res/mipmap-xxhdpi/ic_launcher.webp"},
    {"png before webp: png wins",
     "application-icon-160:'res/mipmap-mdpi/ic_launcher.png'\r\n"
     "application-icon-480:'res/mipmap-xxhdpi/ic_launcher.webp'\r\n",
     "res/mipmap-mdpi/ic_launcher.png"},
    {"best line last",
     "application-icon-160:'res/mipmap-mdpi/ic_launcher.png'\r\n"
     "application-icon-320:'res/mipmap-xhdpi/ic_launcher.png'\r\n"
     "application-icon-best:'res/mipmap-xxxhdpi/ic_launcher.png'\r\n",
     "res/mipmap-xxxhdpi/ic_launcher.png"},
    {"no icon", "", ""},
    {"xml only", "application-icon-65534:'res/mipmap-anydpi-v26/ic_launcher.xml'\r\n", ""},
    {"root entry", "application-icon-160:'icon.png'\r\n", "icon.png"},
    {"capitals: the appended extension is lower case", "APPLICATION-ICON-160:'res/ICON.PNG'\r\n", "res/ICON.png"},
    {"a match never spans lines", "application-icon-65534:'res/ic.xml\r\nx.png'\r\n", ""},
    {"Unix line ends", "application-icon-160:'res/icon.png'\n", "res/icon.png"},
};

TEST(IconLookup, RecordedBadgingOutputs) {
  for (const Case& c : kCases) {
    RegExpWrapper lookup(RegExpEngineKind::BuiltIn);
    EXPECT_EQ(LookUpIconEntry(lookup, kHead + c.iconLines + kTail), c.expected) << c.name;
  }
}

TEST(IconLookup, EmptyOutput) {
  RegExpWrapper lookup(RegExpEngineKind::BuiltIn);
  EXPECT_EQ(LookUpIconEntry(lookup, ""), "");
}

}  // namespace
