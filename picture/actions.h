#pragma once
// Handlers of the picture buttons of the main window.

// "复制图片": puts the shown picture on the clipboard.
void OnCopyClicked();

// "保存图片": saves the shown picture's bytes under a chosen name.
void OnSaveClicked();

// "定位图片": shows the last extracted icon file in an Explorer window.
void OnLocateClicked();
