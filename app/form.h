#pragma once
// The main window's form: captions, positions and sizes of the window and its controls.
// Captions are the program's Text, code page 936. The sources stay UTF-8, so each caption is
// written as its code-page-936 bytes with the readable text beside it (checked against a converter
// by the form's test).
#include <array>

enum class ControlKind { PictureBox, PushButton, RadioButton };

struct FormControl {
  int id;               // control ID, also the WM_COMMAND identifier
  ControlKind kind;
  const char* caption;  // Text, code page 936; empty for the picture box
  int left;
  int top;
  int width;
  int height;
};

inline constexpr char kMainWindowCaption[] = "Fennlow  -by Quaddle Tarvin";
inline constexpr int kMainWindowLeft = 50;
inline constexpr int kMainWindowTop = 50;
inline constexpr int kMainWindowWidth = 418;   // outer size, frame included
inline constexpr int kMainWindowHeight = 248;

enum ControlId : int {
  kPictureBox1 = 101,  // 图片框1
  kButton1 = 102,      // 按钮1: import
  kButton2 = 103,      // 按钮2: copy
  kButton4 = 104,      // 按钮4: locate
  kButton3 = 105,      // 按钮3: save
  kRadio1 = 106,       // 单选框1: mode 1
  kRadio2 = 107,       // 单选框2: mode 2
};

// In creation (and tab) order. The radio buttons sit at top 148, height 20, so that they end where
// "保存图片" begins instead of reaching into it.
inline constexpr std::array<FormControl, 7> kFormControls{{
    {kPictureBox1, ControlKind::PictureBox, "", 16, 16, 184, 184},
    {kButton1, ControlKind::PushButton, "\xB5\xBC\xC8\xEB\xCE\xC4\xBC\xFE", 248, 16, 120, 32},  // 导入文件
    {kButton2, ControlKind::PushButton, "\xB8\xB4\xD6\xC6\xCD\xBC\xC6\xAC", 248, 66, 120, 32},  // 复制图片
    {kButton4, ControlKind::PushButton, "\xB6\xA8\xCE\xBB\xCD\xBC\xC6\xAC", 248, 116, 120, 32},  // 定位图片
    {kButton3, ControlKind::PushButton, "\xB1\xA3\xB4\xE6\xCD\xBC\xC6\xAC", 248, 168, 120, 32},  // 保存图片
    {kRadio1, ControlKind::RadioButton, "\xC4\xA3\xCA\xBD" "1", 208, 148, 64, 20},  // 模式1
    {kRadio2, ControlKind::RadioButton, "\xC4\xA3\xCA\xBD" "2", 288, 148, 64, 20},  // 模式2
}};
