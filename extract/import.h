#pragma once
// The import: from a chosen or dropped APK to the icon in the picture box.
#include "util/text.h"

// Handler of the import button: asks for an APK with the open dialog and imports it.
void OnImportClicked();

// Asks the badging tool for the launcher icon's entry, extracts it in the checked mode and shows it.
void ImportApk(const Text& apkPath);

// Drop callback: one zero-terminated path in code page 936 (null counts as empty); imported as it is.
void OnFileDropped(const char* path);

// The part of `text` after the last `separator`, or empty text when it does not occur.
Text TextAfterLast(const Text& text, const Text& separator);
