#include "badging/resource_table.h"

#include <gtest/gtest.h>

#include "badging/apk_error.h"
#include "badging/badging.h"
#include "byte_builders.h"

namespace {

using apk::LookupStatus;
using apk::ResConfig;
using apk::ResourceTable;
using apk::Value;
using apktest::Encoding;
using apktest::TableType;

constexpr std::uint8_t kRef = 0x01;
constexpr std::uint8_t kStr = 0x03;
constexpr std::uint8_t kInt = 0x10;
constexpr std::uint8_t kBag = 0xFF;

// Values: 0 res/a-mdpi.png, 1 res/a-xhdpi.png, 2 res/a.xml, 3 res/b-hdpi.webp, 4 Hello, 5 Bonjour, 6 res/n.png
const std::vector<std::string> kValues = {"res/a-mdpi.png", "res/a-xhdpi.png", "res/a.xml", "res/b-hdpi.webp",
                                          "Hello",          "Bonjour",         "res/n.png"};

ResConfig Request(std::uint16_t density) {
  ResConfig r = ResConfig::BadgingRequest();
  r.density = density;
  return r;
}

std::string Resolve(const ResourceTable& table, std::uint32_t id, const ResConfig& request) {
  Value v{kRef, id};
  for (int hops = 0; v.dataType == kRef && hops < 20; ++hops) {
    if (table.getResource(v.data, request, v) != LookupStatus::kFound) return "<none>";
  }
  return v.dataType == kStr ? table.values().at(v.data).value_or("<bad>") : "<not a string>";
}

TEST(ResourceTable, EveryEntryEncodingResolvesTheSameWay) {
  for (const Encoding encoding : {Encoding::kDense, Encoding::kSparse, Encoding::kOffset16, Encoding::kCompact}) {
    SCOPED_TRACE(static_cast<int>(encoding));
    const ResourceTable table(apktest::BuildTable(
        kValues, {3, 2},
        {
            TableType{1, 160, "", {{0, kStr, 0}, {2, kInt, 7}}, encoding},
            TableType{1, 320, "", {{0, kStr, 1}}, encoding},
            TableType{1, 0xFFFE, "", {{0, kStr, 2}}, encoding},
            TableType{2, 0, "", {{0, kStr, 4}, {1, kRef, 0x7f010000}}, encoding},
            TableType{2, 0, "fr", {{0, kStr, 5}}, encoding},
        }));
    EXPECT_EQ(Resolve(table, 0x7f010000, Request(160)), "res/a.xml") << "anydpi wins";
    EXPECT_EQ(Resolve(table, 0x7f020000, Request(160)), "Hello");
    ResConfig french = Request(160);
    french.setBcp47("fr");
    EXPECT_EQ(Resolve(table, 0x7f020000, french), "Bonjour");
    EXPECT_EQ(Resolve(table, 0x7f020001, Request(160)), "res/a.xml") << "through a reference";
    Value v;
    EXPECT_EQ(table.getResource(0x7f010002, Request(160), v), LookupStatus::kFound);
    EXPECT_EQ(v.data, 7u);
    EXPECT_EQ(table.getResource(0x7f010001, Request(160), v), LookupStatus::kNoSuchResource) << "no entry";
    EXPECT_EQ(table.getResource(0x7f030000, Request(160), v), LookupStatus::kBadType) << "no such type";
    EXPECT_EQ(table.getResource(0x01010000, Request(160), v), LookupStatus::kNoSuchResource) << "no such package";
    EXPECT_EQ(table.getResource(0x7f010005, Request(160), v), LookupStatus::kNoSuchResource) << "beyond the entry count";

    std::vector<int> densities;
    table.forEachConfiguration([&](const ResConfig& c) { densities.push_back(c.density); });
    EXPECT_EQ(densities, (std::vector<int>{160, 320, 0xFFFE, 0, 0}));
  }
}

TEST(ResourceTable, BagsAreReportedAsComplex) {
  const ResourceTable table(apktest::BuildTable(kValues, {1}, {TableType{1, 0, "", {{0, kBag, 0}}}}));
  Value v;
  EXPECT_EQ(table.getResource(0x7f010000, Request(160), v), LookupStatus::kComplex);
}

TEST(ResourceTable, BestIconBitmapTakesTheHighestBucketThroughReferences) {
  struct Case {
    const char* what;
    std::vector<TableType> types;
    std::optional<std::string> expect;
  };
  const std::vector<Case> cases = {
      {"adaptive icon with legacy bitmaps",
       {{1, 160, "", {{0, kStr, 0}}}, {1, 320, "", {{0, kStr, 1}}}, {1, 0xFFFE, "", {{0, kStr, 2}}}},
       "res/a-xhdpi.png"},
      {"only an XML drawable", {{1, 0xFFFE, "", {{0, kStr, 2}}}}, std::nullopt},
      {"nodpi only when no bucket has a file", {{1, 0xFFFF, "", {{0, kStr, 6}}}, {1, 160, "", {{0, kStr, 0}}}},
       "res/a-mdpi.png"},
      {"nodpi alone", {{1, 0xFFFF, "", {{0, kStr, 6}}}}, "res/n.png"},
      {"through an alias to another resource",
       {{1, 0, "", {{0, kRef, 0x7f020000}}}, {2, 160, "", {{0, kStr, 0}}}, {2, 240, "", {{0, kStr, 3}}}},
       "res/b-hdpi.webp"},
      {"variants of other locales are not the package's icon",
       {{1, 160, "", {{0, kStr, 0}}}, {1, 640, "fr", {{0, kStr, 1}}}},
       "res/a-mdpi.png"},
      {"a reference loop ends", {{1, 0, "", {{0, kRef, 0x7f020000}}}, {2, 0, "", {{0, kRef, 0x7f010000}}}}, std::nullopt},
  };
  for (const Case& c : cases) {
    SCOPED_TRACE(c.what);
    const ResourceTable table(apktest::BuildTable(kValues, {1, 1}, c.types));
    EXPECT_EQ(apk::BestIconBitmap(table, ResConfig::BadgingRequest(), 0x7f010000), c.expect);
  }
}

TEST(ResourceTable, RefusesBrokenTables) {
  const apktest::Bytes good = apktest::BuildTable(kValues, {2}, {TableType{1, 160, "", {{0, kStr, 0}}}});
  const std::size_t poolSize = good[12 + 4] | (good[12 + 5] << 8);
  const std::size_t packageAt = 12 + poolSize;
  struct Case {
    const char* what;
    std::function<void(apktest::Bytes&)> change;
  } cases[] = {
      {"not a table", [](apktest::Bytes& b) { b[0] = 0x03; }},
      {"truncated", [](apktest::Bytes& b) { b.resize(b.size() - 9); }},
      {"table size past the data", [](apktest::Bytes& b) { apktest::Set32(b, 4, 0x7FFFFFFF); }},
      {"package size past the table", [&](apktest::Bytes& b) { apktest::Set32(b, packageAt + 4, 0x7FFFFFF0); }},
      {"string count beyond its pool", [](apktest::Bytes& b) { apktest::Set32(b, 12 + 8, 0x40000000); }},
      {"chunk of size zero", [&](apktest::Bytes& b) { apktest::Set32(b, packageAt + 4, 0); }},
  };
  for (const Case& c : cases) {
    SCOPED_TRACE(c.what);
    apktest::Bytes bytes = good;
    c.change(bytes);
    EXPECT_THROW(ResourceTable{bytes}, apk::ApkError);
  }
}

}  // namespace
