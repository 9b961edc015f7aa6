#include <gtest/gtest.h>

#include "extract/import.h"

namespace {

struct Case {
  const char* text;
  const char* separator;
  const char* expected;
};

// "\x81\x5C" (乗) and "\x81\x61" (乤) are double-byte characters of code page 936 whose trail byte
// is '\' and 'a'; "\xB1\xED" is 表.
const Case kCases[] = {
    {"res/mipmap-hdpi/ic_launcher.png", "/", "ic_launcher.png"},
    {"icon.png", "/", ""},
    {"res/", "/", ""},
    {"/a", "/", "a"},
    {"", "/", ""},
    {"abc", "", ""},
    {"a--b--c", "--", "c"},
    {"a---b", "--", "b"},
    {"aXbxc", "x", "c"},
    {"aXb", "x", ""},
    {"dir\\\x81\x5Cname", "\\", "\x81\x5Cname"},
    {"\x81\x5C" "abc", "\\", ""},
    {"xa\x81\x61z", "a", "\x81\x61z"},
    {"\x81\x61z", "a", ""},
    {"a\xB1\xED" "b\xB1\xED" "c", "\xB1\xED", "c"},
    {"a\x81\x61", "a\x81", ""},
    {"ab\x81", "b", "\x81"},
};

TEST(TextAfterLast, Table) {
  for (const Case& c : kCases) {
    EXPECT_EQ(TextAfterLast(c.text, c.separator), c.expected) << "text: " << c.text << " separator: " << c.separator;
  }
}

}  // namespace
