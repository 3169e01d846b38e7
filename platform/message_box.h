// Modal boxes with no owner window.
#pragma once

// Text and caption in UTF-8, shown as plain text.
void showMessageBox(const char* text, unsigned flags, const char* caption);
void showErrorBox(const char* text);
