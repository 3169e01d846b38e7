#include "platform/box_text.h"

#include <cstring>
#include <vector>

namespace {

constexpr char ellipsis[] = "\xA1\xAD";  // "…" in the code page

// A lead byte with a trail byte after it is one character; every other byte
// is one character of its own, as the conversion to UTF-8 takes it.
std::size_t characterLength(const unsigned char* at, const unsigned char* end) {
  const unsigned lead = at[0];
  if (lead < 0x81 || lead > 0xFE || end - at < 2) return 1;
  const unsigned trail = at[1];
  return trail >= 0x40 && trail <= 0xFE && trail != 0x7F ? 2 : 1;
}

}  // namespace

std::string boxText(const char* gbk) {
  if (!gbk) return {};
  const auto* begin = reinterpret_cast<const unsigned char*>(gbk);
  const auto* end = begin + std::strlen(gbk);

  // Where each character starts, as far as the head needs, and a ring of the
  // last tail + 1 starts.
  std::size_t count = 0;
  const unsigned char* headEnd = end;
  std::vector<const unsigned char*> recent(boxTailCharacters + 1, end);
  for (const unsigned char* at = begin; at < end; at += characterLength(at, end)) {
    if (count == boxHeadCharacters) headEnd = at;
    recent[count % recent.size()] = at;
    ++count;
  }
  if (count <= boxHeadCharacters + 1 + boxTailCharacters) return gbk;

  const unsigned char* tailBegin = recent[(count - boxTailCharacters) % recent.size()];
  std::string shown(begin, headEnd);
  shown += ellipsis;
  shown.append(tailBegin, end);
  return shown;
}
