#include <gtest/gtest.h>

#include <string>

#include "extract/unzip_command.h"

namespace {

TEST(UnzipEntryRule, AcceptsOrdinaryEntries) {
  for (const char* entry : {"res/mipmap-xxhdpi/ic_launcher.png", "ic_launcher.png", "res/a b.png", "r/$a.png",
                            "res/drawable/ic_launcher_foreground.webp", "res/a+b@c~d#e,f;g=h'i{j}.png"}) {
    EXPECT_TRUE(IsSafeUnzipEntry(entry)) << entry;
  }
}

TEST(UnzipEntryRule, RejectsEntriesThatCannotBeOneLiteralName) {
  const std::string rejected[] = {
      "", "/abs.png", "-o.png", "res/../x.png", "../x.png", "res/..", "res/./x.png", "res//x.png", "res/",
      "a&calc.png", "a|b.png", "a<b.png", "a>b.png", "a^b.png", "a%PATH%.png", "a\"b.png", "a!b.png",
      "a(b).png", "a)b.png", "a\nb.png", "a\rb.png", "a\tb.png", "a[b].png", "a*.png", "a?.png",
      "a\\b.png", "C:x.png", "\xB1\xED.png", "a`b.png", std::string("a\0b.png", 7), "a\x7F.png",
  };
  for (const std::string& entry : rejected) {
    EXPECT_FALSE(IsSafeUnzipEntry(entry)) << entry;
  }
}

TEST(UnzipEntryRule, IconFileNameIsTheLastSegmentOrTheRootEntry) {
  EXPECT_EQ(IconFileName("res/mipmap-xxhdpi/ic_launcher.png"), "ic_launcher.png");
  EXPECT_EQ(IconFileName("ic_launcher.png"), "ic_launcher.png");
}

TEST(UnzipEntryRule, CommandQuotesBothArgumentsAndOverwrites) {
  EXPECT_EQ(UnzipCommand("\"D:\\a b\\x.apk\"", "res/mipmap-xxhdpi/ic_launcher.png"),
            "uz  -o  -j \"D:\\a b\\x.apk\" \"res/mipmap-xxhdpi/ic_launcher.png\"  -d  icon");
}

}  // namespace
