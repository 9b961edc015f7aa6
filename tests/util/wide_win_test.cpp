#include "util/wide_win.h"

#include <gtest/gtest.h>

#include "util/module_state.h"

namespace {

TEST(WideWin, ConvertsInConsoleCodePage) {
  consoleCodePage = 936;
  EXPECT_EQ(ToWide("C:\\\xD6\xD0\xCE\xC4\\a.apk"), L"C:\\\u4E2D\u6587\\a.apk");
  EXPECT_EQ(ToWide(""), L"");
  EXPECT_EQ(FromWide(L"C:\\\u4E2D\u6587\\a.apk"), "C:\\\xD6\xD0\xCE\xC4\\a.apk");
  EXPECT_EQ(FromWide(L"\u0E01"), "?");
  EXPECT_EQ(FromWide(std::wstring_view(L"A\0B", 3)), "A");
}

}  // namespace
