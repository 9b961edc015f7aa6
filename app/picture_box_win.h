#pragma once
// 图片框1: a bordered box on the button-face background that shows one picture, with its
// transparency, stretched to the whole client area.
#include <memory>

#include "picture/image.h"
#include "util/unique_resource.h"

class PictureBox {
 public:
  // Creates the box as a child of `parent`; null on failure.
  static std::unique_ptr<PictureBox> Create(HWND parent, int id, int left, int top, int width, int height);
  ~PictureBox();
  PictureBox(const PictureBox&) = delete;
  PictureBox& operator=(const PictureBox&) = delete;

  [[nodiscard]] HWND hwnd() const noexcept { return hwnd_; }

  // Shows `image` (an empty one clears the box).
  void SetImage(Image32 image);
  [[nodiscard]] bool HasImage() const noexcept { return !image_.empty(); }

  // Called when the left button goes down on the box (where a file drag starts); may be null.
  void SetLeftButtonHandler(void (*handler)()) noexcept { onLeftButtonDown_ = handler; }

 private:
  PictureBox() = default;
  static LRESULT CALLBACK WindowProc(HWND hwnd, UINT message, WPARAM wParam, LPARAM lParam) noexcept;
  LRESULT HandleMessage(UINT message, WPARAM wParam, LPARAM lParam);
  void RebuildScaled();
  void Paint(HDC dc) const;

  HWND hwnd_ = nullptr;
  Image32 image_;          // at its own size
  UniqueBitmap scaled_;    // image_ at the client size, premultiplied
  int scaledWidth_ = 0;
  int scaledHeight_ = 0;
  void (*onLeftButtonDown_)() = nullptr;
};
