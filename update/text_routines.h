// The version check's own text routines.
#pragma once

#include <cstddef>
#include <initializer_list>

#include "shell/texts.h"
#include "shell/window_services.h"

// Bytes before the terminating zero; 0 for the absent text.
std::size_t stringLength(ConstText text);

// Unsigned byte order; absent equals empty. -1, 0 or 1.
int compareText(ConstText first, ConstText second);

// A new text, never absent, from the services' allocator: the caller frees it.
Text joinTexts(WindowServices& services, std::initializer_list<ConstText> texts);
