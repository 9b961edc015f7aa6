#pragma once
// The main window and what the import pipeline and the picture actions use of it.
#include "util/text.h"

// The directory that holds the program's executable, without a trailing separator.
Text RunDirectory();

// 1 when the radio button "模式1" is checked (mode 1, extraction through UnZip), else 0.
int Mode1Checked();

// Shows encoded image bytes (PNG, WebP, BMP, JPEG, GIF) in the picture box, stretched to its client
// area; empty or undecodable bytes clear it. The box keeps the bytes for the picture actions.
void SetPictureBytes(const Bytes& bytes);
[[nodiscard]] const Bytes& PictureBytes();

// The window's one common file dialog (kind 0: open, 1: save). The filter is description|pattern
// pairs. fileName holds the name offered first (the last confirmed one) and, on true, the chosen path.
enum class FileDialogKind { Open = 0, Save = 1 };
bool ShowFileDialog(FileDialogKind kind, const Text& filter, Text& fileName);
