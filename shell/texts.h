// The program's text and byte-set types.
#pragma once

#include <cstddef>

// A zero-terminated text in the Simplified-Chinese code page; nullptr is the
// absent text and counts as empty everywhere. A returned text is the caller's.
using Text = char*;
using ConstText = const char*;

// A counted run of bytes; bytes == nullptr is the absent byte set.
struct ByteSet {
  unsigned char* bytes = nullptr;
  std::size_t count = 0;
};
