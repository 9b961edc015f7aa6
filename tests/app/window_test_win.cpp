// MainWindow and its picture box, opened in the test's own process.
#include <gtest/gtest.h>

#include <memory>
#include <string>

#include "app/form.h"
#include "app/main_window.h"
#include "app/main_window_win.h"
#include "app/program.h"
#include "app/wide_win.h"
#include "picture/image_decode.h"
#include "tests/app/test_support_win.h"

namespace {

constexpr Rgb kColour{200, 30, 40};  // the centre square of square.*
constexpr Rgb kBlue{0, 0, 255};      // square.bmp's border
constexpr Rgb kLeft{220, 40, 30};    // wide.png
constexpr Rgb kRight{30, 60, 210};

Bytes TestImage(const wchar_t* name) { return ReadWholeFile(TestExeDirectory() + L"\\app_test_images\\" + name); }

Rgb ButtonFace() { return ColorRefToRgb(::GetSysColor(COLOR_BTNFACE)); }

// One window per suite: under Wine without a window manager, destroying a window waits about two
// seconds for it to be withdrawn.
class WindowTest : public ::testing::Test {
 protected:
  static void SetUpTestSuite() {
    SetPictureBytes({});
    window_ = MainWindow::Create(nullptr, SW_SHOWNORMAL, false);
  }
  static void TearDownTestSuite() {
    window_.reset();
    SetPictureBytes({});
    PumpMessages();
  }
  void SetUp() override {
    ASSERT_NE(window_, nullptr);
    ASSERT_NE(window_->Picture(), nullptr);
    SetPictureBytes({});
    ::SendMessageW(window_->Control(kRadio1), BM_CLICK, 0, 0);
    PumpMessages();
  }
  static HWND Box() { return window_->Control(kPictureBox1); }
  static inline std::unique_ptr<MainWindow> window_;
};

TEST(OsVersionWord, MatchesRtlGetVersion) {
  using RtlGetVersionFn = LONG(WINAPI*)(OSVERSIONINFOW*);
  const auto rtlGetVersion = reinterpret_cast<RtlGetVersionFn>(
      reinterpret_cast<void (*)()>(::GetProcAddress(::GetModuleHandleW(L"ntdll.dll"), "RtlGetVersion")));
  ASSERT_NE(rtlGetVersion, nullptr);
  OSVERSIONINFOW info{};
  info.dwOSVersionInfoSize = sizeof(info);
  ASSERT_EQ(rtlGetVersion(&info), 0);
  const auto expected = static_cast<std::int32_t>(((info.dwMajorVersion & 0xFF) << 8) | (info.dwMinorVersion & 0xFF));
  EXPECT_NE(expected, 0);
  EXPECT_EQ(ReadOsVersionWord(), expected);
}

TEST(RunDirectory, IsTheExecutablesFolderWithoutSeparator) {
  const Text dir = RunDirectory();
  EXPECT_EQ(dir, FromWideString(TestExeDirectory()));
  ASSERT_FALSE(dir.empty());
  EXPECT_NE(dir.back(), '\\');
}

TEST_F(WindowTest, RadioButtonsAreOneGroupWithMode1First) {
  EXPECT_EQ(Mode1Checked(), 1);
  const HWND radio1 = window_->Control(kRadio1);
  const HWND radio2 = window_->Control(kRadio2);
  ::SendMessageW(radio2, BM_CLICK, 0, 0);
  EXPECT_EQ(Mode1Checked(), 0);
  EXPECT_EQ(::SendMessageW(radio2, BM_GETCHECK, 0, 0), BST_CHECKED);
  ::SendMessageW(radio1, BM_CLICK, 0, 0);
  EXPECT_EQ(Mode1Checked(), 1);
  EXPECT_EQ(::SendMessageW(radio2, BM_GETCHECK, 0, 0), BST_UNCHECKED);
}

TEST_F(WindowTest, PictureBoxClientIsInsideItsSingleBorder) {
  RECT client{};
  ::GetClientRect(Box(), &client);
  EXPECT_EQ(client.right, 182);
  EXPECT_EQ(client.bottom, 182);
  const auto style = ::GetWindowLongPtrW(Box(), GWL_STYLE);
  const auto exStyle = ::GetWindowLongPtrW(Box(), GWL_EXSTYLE);
  EXPECT_TRUE(style & WS_BORDER);
  EXPECT_FALSE(exStyle & (WS_EX_CLIENTEDGE | WS_EX_STATICEDGE | WS_EX_WINDOWEDGE));
}

TEST_F(WindowTest, EmptyBoxShowsButtonFace) {
  const Capture c = PrintClient(Box());
  for (const auto& [x, y] : {std::pair{0, 0}, {91, 91}, {181, 181}}) {
    EXPECT_TRUE(Near(c.At(x, y), ButtonFace(), 0)) << x << "," << y;
  }
}

struct PictureCase {
  const char* name;
  const wchar_t* file;
  Rgb centre;
  Rgb corner;        // what shows where the picture has no opaque pixels
  bool cornerIsBackground;
  int tolerance;
};

class PictureBoxShows : public WindowTest, public ::testing::WithParamInterface<PictureCase> {};

TEST_P(PictureBoxShows, CentreColourOverBackground) {
  const PictureCase& p = GetParam();
  const Bytes bytes = TestImage(p.file);
  ASSERT_FALSE(bytes.empty());
  SetPictureBytes(bytes);
  EXPECT_EQ(PictureBytes(), bytes);
  const Rgb corner = p.cornerIsBackground ? ButtonFace() : p.corner;
  const Capture c = PrintClient(Box());
  EXPECT_TRUE(Near(c.At(91, 91), p.centre, p.tolerance));
  EXPECT_TRUE(Near(c.At(3, 3), corner, 2));
  EXPECT_TRUE(Near(c.At(178, 178), corner, 2));

  // The window on the display shows the same.
  ::RedrawWindow(window_->hwnd(), nullptr, nullptr, RDW_INVALIDATE | RDW_UPDATENOW | RDW_ALLCHILDREN);
  PumpMessages();
  const Capture screen = CaptureFromScreen(Box());
  EXPECT_TRUE(Near(screen.At(91, 91), p.centre, p.tolerance));
  EXPECT_TRUE(Near(screen.At(3, 3), corner, 2));
}

INSTANTIATE_TEST_SUITE_P(Formats, PictureBoxShows,
                         ::testing::Values(PictureCase{"Png", L"square.png", kColour, {}, true, 2},
                                           PictureCase{"LosslessWebp", L"square-lossless.webp", kColour, {}, true, 2},
                                           PictureCase{"LossyWebp", L"square-lossy.webp", kColour, {}, true, 12},
                                           PictureCase{"Gif", L"square.gif", kColour, {}, true, 2},
                                           PictureCase{"Bmp", L"square.bmp", kColour, kBlue, false, 2}),
                         [](const auto& param) { return std::string(param.param.name); });

TEST_F(WindowTest, PictureIsStretchedToTheWholeBoxIgnoringAspect) {
  SetPictureBytes(TestImage(L"wide.png"));  // 32 x 8
  const Capture c = PrintClient(Box());
  EXPECT_TRUE(Near(c.At(2, 2), kLeft, 2));
  EXPECT_TRUE(Near(c.At(40, 179), kLeft, 2));
  EXPECT_TRUE(Near(c.At(179, 2), kRight, 2));
  EXPECT_TRUE(Near(c.At(140, 179), kRight, 2));
  // Smooth where the halves meet, not a hard jump between two pixels.
  const Rgb middle = c.At(91, 91);
  EXPECT_GT(middle.r, kRight.r);
  EXPECT_LT(middle.r, kLeft.r);
}

TEST_F(WindowTest, EmptyOrUndecodableBytesClearThePicture) {
  const Bytes png = TestImage(L"square.png");
  Bytes truncated(png.begin(), png.begin() + static_cast<std::ptrdiff_t>(png.size() / 2));
  const Bytes garbage{'n', 'o', 't', ' ', 'a', ' ', 'p', 'i', 'c', 't', 'u', 'r', 'e'};
  for (const Bytes& bad : {Bytes{}, garbage, truncated}) {
    SetPictureBytes(png);
    ASSERT_TRUE(Near(PrintClient(Box()).At(91, 91), kColour, 2));
    SetPictureBytes(bad);
    EXPECT_EQ(PictureBytes(), bad);  // kept as assigned, for the picture actions
    const Capture c = PrintClient(Box());
    EXPECT_TRUE(Near(c.At(91, 91), ButtonFace(), 0));
    EXPECT_TRUE(Near(c.At(3, 3), ButtonFace(), 0));
  }
}

TEST(PictureProperty, AssignedBeforeTheWindowShowsInIt) {
  SetPictureBytes(TestImage(L"square.png"));
  const auto window = MainWindow::Create(nullptr, SW_SHOWNORMAL, false);
  ASSERT_NE(window, nullptr);
  EXPECT_TRUE(Near(PrintClient(window->Control(kPictureBox1)).At(91, 91), kColour, 2));
  SetPictureBytes({});
}

}  // namespace
