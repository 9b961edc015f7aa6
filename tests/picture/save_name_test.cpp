// The save-name rule and the format signatures.
#include <gtest/gtest.h>

#include "picture/save_format.h"
#include "picture/save_name.h"

namespace {

struct NameCase {
  const char* confirmed;
  const char* saved;
};

class SaveName : public ::testing::TestWithParam<NameCase> {};

TEST_P(SaveName, OnlyTheFileNameIsMadeToEndInPng) { EXPECT_EQ(SaveNameFor(GetParam().confirmed), GetParam().saved); }

INSTANTIATE_TEST_SUITE_P(
    Table, SaveName,
    ::testing::Values(NameCase{"C:\\out\\icon", "C:\\out\\icon.png"}, NameCase{"C:\\out\\icon.png", "C:\\out\\icon.png"},
                      NameCase{"C:\\out\\icon.PNG", "C:\\out\\icon.PNG"},
                      NameCase{"C:\\out\\icon.Png", "C:\\out\\icon.Png"},
                      NameCase{"C:\\out\\icon.png.png", "C:\\out\\icon.png.png"},
                      // The folders keep their ".png", before and after the name.
                      NameCase{"C:\\a.png.dir\\icon", "C:\\a.png.dir\\icon.png"},
                      NameCase{"C:\\a.png\\icon", "C:\\a.png\\icon.png"},
                      NameCase{"C:\\x.png\\y.png", "C:\\x.png\\y.png"},
                      NameCase{"D:\\apps\\app.apk", "D:\\apps\\app.apk.png"},
                      NameCase{"C:\\out\\icon.pn", "C:\\out\\icon.pn.png"},
                      NameCase{"C:\\out\\iconpng", "C:\\out\\iconpng.png"},
                      NameCase{"C:/out/icon", "C:/out/icon.png"}, NameCase{"icon", "icon.png"},
                      NameCase{"C:icon", "C:icon.png"},
                      // "图标" then "\\" as the trail byte of a double-byte character: not a separator.
                      NameCase{"C:\\\xCD\xBC\xB1\xEA\\\xD5\\", "C:\\\xCD\xBC\xB1\xEA\\\xD5\\.png"},
                      NameCase{"C:\\\xCD\xBC\xB1\xEA\\\xCD\xBC.png", "C:\\\xCD\xBC\xB1\xEA\\\xCD\xBC.png"},
                      // No file named: nothing to write to.
                      NameCase{"", ""}, NameCase{"C:\\out\\", ""}, NameCase{"C:", ""}));

TEST(SaveFormat, Signatures) {
  const Bytes png{0x89, 'P', 'N', 'G', '\r', '\n', 0x1A, '\n', 0, 0};
  const Bytes webp{'R', 'I', 'F', 'F', 1, 2, 3, 4, 'W', 'E', 'B', 'P', 'V', 'P', '8', 'L'};
  EXPECT_TRUE(IsPngFile(png));
  EXPECT_FALSE(IsWebpFile(png));
  EXPECT_TRUE(IsWebpFile(webp));
  EXPECT_FALSE(IsPngFile(webp));
  EXPECT_FALSE(IsPngFile(Bytes(png.begin(), png.begin() + 7)));
  EXPECT_FALSE(IsWebpFile(Bytes(webp.begin(), webp.begin() + 11)));
  EXPECT_FALSE(IsPngFile({}));
  EXPECT_FALSE(IsWebpFile({'R', 'I', 'F', 'F', 0, 0, 0, 0, 'W', 'A', 'V', 'E'}));
}

}  // namespace
