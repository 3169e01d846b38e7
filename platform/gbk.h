// The program's texts are in the Simplified-Chinese code page; GTK wants UTF-8.
#pragma once

#include <string>

// Invalid or cut-off sequences become U+FFFD; never fails.
std::string gbkToUtf8(const char* text);
