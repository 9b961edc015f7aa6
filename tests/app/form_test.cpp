// The form's captions are the intended text in code page 936, and its layout has no overlaps.
#include <gtest/gtest.h>
#include <iconv.h>

#include <string>

#include "app/form.h"

namespace {

// The system's converter, independent of the program's own conversions.
std::string Utf8ToCp936(const std::string& utf8) {
  const iconv_t cd = iconv_open("CP936", "UTF-8");
  if (cd == reinterpret_cast<iconv_t>(-1)) return "<no converter>";
  std::string out(utf8.size() * 2 + 4, '\0');
  char* in = const_cast<char*>(utf8.data());
  std::size_t inLeft = utf8.size();
  char* o = out.data();
  std::size_t outLeft = out.size();
  const std::size_t r = iconv(cd, &in, &inLeft, &o, &outLeft);
  iconv_close(cd);
  if (r == static_cast<std::size_t>(-1)) return "<conversion failed>";
  out.resize(out.size() - outLeft);
  return out;
}

TEST(Form, CaptionsAreCodePage936) {
  const std::pair<int, const char*> expected[] = {
      {kPictureBox1, ""},          {kButton1, "导入文件"}, {kButton2, "复制图片"}, {kButton4, "定位图片"},
      {kButton3, "保存图片"}, {kRadio1, "模式1"},     {kRadio2, "模式2"},
  };
  ASSERT_EQ(std::size(expected), kFormControls.size());
  for (std::size_t i = 0; i < kFormControls.size(); ++i) {
    EXPECT_EQ(kFormControls[i].id, expected[i].first);
    EXPECT_EQ(std::string(kFormControls[i].caption), Utf8ToCp936(expected[i].second)) << expected[i].second;
  }
  EXPECT_EQ(std::string(kMainWindowCaption), "Fennlow  -by Quaddle Tarvin");
}

TEST(Form, NoControlOverlapsAnother) {
  for (std::size_t i = 0; i < kFormControls.size(); ++i) {
    const FormControl& a = kFormControls[i];
    for (std::size_t j = i + 1; j < kFormControls.size(); ++j) {
      const FormControl& b = kFormControls[j];
      const bool apart = a.left + a.width <= b.left || b.left + b.width <= a.left || a.top + a.height <= b.top ||
                         b.top + b.height <= a.top;
      EXPECT_TRUE(apart) << a.id << " overlaps " << b.id;
    }
  }
}

TEST(Form, RadioButtonsEndWhereTheSaveButtonBegins) {
  auto find = [](int id) {
    for (const FormControl& c : kFormControls)
      if (c.id == id) return c;
    return FormControl{};
  };
  EXPECT_EQ(find(kRadio1).top + find(kRadio1).height, find(kButton3).top);
  EXPECT_EQ(find(kRadio2).top + find(kRadio2).height, find(kButton3).top);
  EXPECT_EQ(find(kRadio1).top, find(kButton4).top + find(kButton4).height);
}

}  // namespace
