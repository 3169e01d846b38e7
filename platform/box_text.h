// What a message box shows of its text. The program's texts hold whatever a
// server sent; a box as wide or as long as a megabyte of text is unreadable
// and takes seconds to lay out, so the box shows a bounded part of it.
#pragma once

#include <cstddef>
#include <string>

inline constexpr std::size_t boxHeadCharacters = 200;
inline constexpr std::size_t boxTailCharacters = 20;

// The text (in the program's code page) as shown: whole when it has at most
// head + 1 + tail characters; otherwise its first head characters, "…" and its
// last tail characters, so that the words around an overlong part stay whole.
// Cuts fall between characters of the code page, never inside a two-byte one.
std::string boxText(const char* gbk);
