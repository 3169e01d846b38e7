#include "platform/gbk.h"

#include <glib.h>

#include <cerrno>
#include <cstring>

namespace {
constexpr char replacement[] = "\xEF\xBF\xBD";

struct Converter {
  GIConv handle = g_iconv_open("UTF-8", "GBK");
  ~Converter() {
    if (handle != reinterpret_cast<GIConv>(-1)) g_iconv_close(handle);
  }
};
}  // namespace

std::string gbkToUtf8(const char* text) {
  std::string out;
  if (!text || !*text) return out;
  Converter converter;
  if (converter.handle == reinterpret_cast<GIConv>(-1)) return out;

  gchar* in = const_cast<gchar*>(text);
  gsize inLeft = std::strlen(text);
  char buffer[256];
  while (inLeft > 0) {
    gchar* outAt = buffer;
    gsize outLeft = sizeof buffer;
    const gsize result = g_iconv(converter.handle, &in, &inLeft, &outAt, &outLeft);
    out.append(buffer, outAt - buffer);
    if (result != static_cast<gsize>(-1)) continue;
    if (errno == E2BIG) continue;
    // EILSEQ or a sequence cut off at the end: mark it and go past one byte.
    out += replacement;
    ++in;
    --inLeft;
    g_iconv(converter.handle, nullptr, nullptr, nullptr, nullptr);
  }
  return out;
}
