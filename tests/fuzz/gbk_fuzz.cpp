// The conversion of the program's texts to UTF-8, over any bytes: the result
// is always valid UTF-8 with no zero byte in it, and a text that is valid GBK
// converts exactly as one whole iconv call converts it.
#include <glib.h>

#include <cstdint>
#include <cstdio>
#include <cstdlib>
#include <cstring>
#include <string>

#include "platform/gbk.h"

namespace {
[[noreturn]] void fail(const char* what) {
  std::fprintf(stderr, "gbkToUtf8: %s\n", what);
  std::abort();
}
}  // namespace

extern "C" int LLVMFuzzerTestOneInput(const std::uint8_t* data, std::size_t size) {
  // A text ends at its first zero byte.
  const char* bytes = reinterpret_cast<const char*>(data);
  const std::string text(bytes, strnlen(bytes, size));
  const std::string utf8 = gbkToUtf8(text.c_str());

  if (!g_utf8_validate(utf8.data(), static_cast<gssize>(utf8.size()), nullptr))
    fail("invalid UTF-8");
  if (utf8.find('\0') != std::string::npos) fail("a zero byte");

  gsize read = 0, written = 0;
  gchar* whole = g_convert(text.data(), static_cast<gssize>(text.size()), "UTF-8", "GBK", &read,
                           &written, nullptr);
  // A cut-off character at the end still gives a result, with less read.
  const bool valid = whole && read == text.size();
  const bool same = valid && utf8 == std::string(whole, written);
  g_free(whole);
  if (valid && !same) fail("valid GBK converted unlike one whole iconv call");
  return 0;
}
