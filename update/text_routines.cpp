#include "update/text_routines.h"

#include <cstring>

std::size_t stringLength(ConstText text) {
  return text ? std::strlen(text) : 0;
}

int compareText(ConstText first, ConstText second) {
  const auto* a = reinterpret_cast<const unsigned char*>(first ? first : "");
  const auto* b = reinterpret_cast<const unsigned char*>(second ? second : "");
  while (*a && *a == *b) ++a, ++b;
  if (*a == *b) return 0;
  return *a < *b ? -1 : 1;
}

Text joinTexts(WindowServices& services, std::initializer_list<ConstText> texts) {
  std::size_t total = 0;
  for (ConstText text : texts) total += stringLength(text);
  Text joined = static_cast<Text>(services.allocate(total + 1));
  std::size_t at = 0;
  for (ConstText text : texts) {
    const std::size_t length = stringLength(text);
    if (length) std::memcpy(joined + at, text, length);
    at += length;
  }
  joined[at] = '\0';
  return joined;
}
