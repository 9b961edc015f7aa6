#include "badging/binary_xml.h"

#include <gtest/gtest.h>

#include "badging/apk_error.h"
#include "badging/attribute_reader.h"
#include "byte_builders.h"

namespace {

using apk::ApkError;
using apk::XmlDocument;
using apk::XmlEvent;
using apktest::Bytes;
using apktest::XmlElement;

constexpr std::uint32_t kNone = 0xFFFFFFFFu;
// Strings: 0 label, 1 icon, 2 manifest, 3 package, 4 com.example, 5 application, 6 Hello "x"\n, 7 ns uri
const std::vector<std::string> kStrings = {"label", "icon", "manifest", "package", "com.example",
                                           "application", "Hello \"x\"\n", "http://schemas.android.com/apk/res/android"};

Bytes Manifest(bool utf8) {
  XmlElement app{5,
                 {{7, 0, 6, 0x03, 6},                    // android:label="Hello..."
                  {7, 1, kNone, 0x01, 0x7f020000u}},  // android:icon=@drawable/...
                 {}};
  XmlElement root{2, {{kNone, 3, 4, 0x03, 4}}, {app}};
  return apktest::BuildXml(kStrings, utf8, {0x01010001, 0x01010002}, root);
}

TEST(BinaryXml, ReadsElementsAttributesAndTheResourceMapInBothEncodings) {
  for (const bool utf8 : {true, false}) {
    SCOPED_TRACE(utf8 ? "UTF-8 pool" : "UTF-16 pool");
    const XmlDocument doc(Manifest(utf8));
    ASSERT_EQ(doc.events().size(), 4u);
    const XmlEvent& manifest = doc.events()[0];
    const XmlEvent& app = doc.events()[1];
    EXPECT_EQ(doc.string(manifest.name), "manifest");
    EXPECT_EQ(doc.string(app.name), "application");
    EXPECT_EQ(doc.events()[2].kind, XmlEvent::Kind::kEnd);
    EXPECT_EQ(doc.findAttribute(manifest, std::string_view("package")), 0u);
    EXPECT_FALSE(doc.findAttribute(app, std::string_view("label")).has_value()) << "namespaced names do not match bare names";
    EXPECT_EQ(doc.findAttribute(app, 0x01010002u), 1u);
    EXPECT_FALSE(doc.findAttribute(app, 0x01010003u).has_value());

    const apk::ResourceTable noTable;
    const apk::AttributeReader reader(doc, noTable);
    std::string error;
    EXPECT_EQ(reader.string(manifest, "package"), "com.example");
    EXPECT_EQ(reader.resolved(app, 0x01010001, &error), "Hello \"x\"\n");
    EXPECT_TRUE(error.empty());
    // A reference into a package without resources names nothing.
    EXPECT_EQ(reader.resolved(app, 0x01010002, &error), "");
    EXPECT_EQ(error, "attribute value reference does not exist");
    error.clear();
    EXPECT_EQ(reader.integer(app, 0x01010001, -1, &error), -1);
    EXPECT_EQ(error, "attribute is not an integer value");
  }
}

TEST(BinaryXml, RefusesBrokenDocuments) {
  const Bytes good = Manifest(true);
  // Offsets inside the good document: the pool starts at 8, its string count at 16.
  const std::size_t poolSize = good[12] | (good[13] << 8);
  const std::size_t mapAt = 8 + poolSize;
  const std::size_t mapSize = good[mapAt + 4] | (good[mapAt + 5] << 8);
  const std::size_t elementAt = mapAt + mapSize;
  struct Case {
    const char* what;
    std::function<void(Bytes&)> change;
  } cases[] = {
      {"not XML", [](Bytes& b) { b[0] = 0x02; }},
      {"truncated", [](Bytes& b) { b.resize(b.size() / 2); }},
      {"document size past the data", [](Bytes& b) { apktest::Set32(b, 4, 0x7FFFFFFF); }},
      {"string count beyond the pool", [](Bytes& b) { apktest::Set32(b, 16, 0x10000000); }},
      {"chunk of size zero", [&](Bytes& b) { apktest::Set32(b, elementAt + 4, 0); }},
      {"attribute count beyond its chunk", [&](Bytes& b) { b[elementAt + 16 + 12] = 0xFF; b[elementAt + 16 + 13] = 0x7F; }},
      {"attribute size too small", [&](Bytes& b) { b[elementAt + 16 + 10] = 4; }},
      {"end without start", [&](Bytes& b) { b[elementAt] = 0x03; }},
  };
  for (const Case& c : cases) {
    SCOPED_TRACE(c.what);
    Bytes bytes = good;
    c.change(bytes);
    EXPECT_THROW(XmlDocument{bytes}, ApkError);
  }
}

TEST(BinaryXml, UnreadableStringsReadAsEmpty) {
  Bytes bytes = Manifest(true);
  const XmlDocument doc(bytes);
  EXPECT_EQ(doc.string(12345), "");
  EXPECT_EQ(doc.string(kNone), "");
}

}  // namespace
