// The program's texts on their way to the screen, over any bytes. The
// conversion to UTF-8 always gives valid UTF-8 with no zero byte in it, and a
// text that is valid GBK converts exactly as one whole iconv call converts it.
// A message box's bounded text is the text itself or its two ends around "…",
// and never splits a character of valid GBK.
#include <glib.h>

#include <cstdint>
#include <cstdio>
#include <cstdlib>
#include <cstring>
#include <string>

#include "platform/box_text.h"
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

  const std::string shown = boxText(text.c_str());
  if (shown != text) {
    // Some "…" in it parts the text's first characters from its last ones.
    bool ends = false;
    for (std::size_t cut = shown.find("\xA1\xAD"); cut != std::string::npos && !ends;
         cut = shown.find("\xA1\xAD", cut + 1)) {
      const std::string head = shown.substr(0, cut), tail = shown.substr(cut + 2);
      ends = text.compare(0, head.size(), head) == 0 && head.size() + tail.size() < text.size() &&
             text.compare(text.size() - tail.size(), tail.size(), tail) == 0 &&
             head.size() <= 2 * boxHeadCharacters && tail.size() <= 2 * boxTailCharacters;
    }
    if (!ends) fail("a bounded text that is not the text's two ends around an ellipsis");
    if (valid && gbkToUtf8(shown.c_str()).find("\xEF\xBF\xBD") != std::string::npos)
      fail("a bounded text splits a character");
  }
  return 0;
}
