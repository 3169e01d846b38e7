// What a message box shows of an overlong text: both ends whole, cut only
// between characters of the code page.
#include "platform/box_text.h"

#include <glib.h>
#include <gtest/gtest.h>

#include "platform/gbk.h"

namespace {

std::string gbk(const std::string& utf8) {
  gsize written = 0;
  gchar* converted =
      g_convert(utf8.data(), utf8.size(), "GBK", "UTF-8", nullptr, &written, nullptr);
  std::string out(converted ? converted : "", written);
  g_free(converted);
  return out;
}

std::string repeat(const std::string& piece, std::size_t times) {
  std::string out;
  for (std::size_t i = 0; i < times; ++i) out += piece;
  return out;
}

TEST(BoxText, ShortTextsAreShownWhole) {
  EXPECT_EQ(boxText(nullptr), "");
  const std::string cases[] = {
      "",
      gbk("发现1.4\r\n版本，请下载更新"),
      gbk("获取版本信息失败！"),
      repeat("x", boxHeadCharacters + 1 + boxTailCharacters),
      repeat(gbk("发"), boxHeadCharacters + 1 + boxTailCharacters),
      "\xff\xfe<b>1.5</b>",
  };
  for (const std::string& text : cases)
    EXPECT_EQ(boxText(text.c_str()), text) << gbkToUtf8(text.c_str());
}

TEST(BoxText, LongTextsKeepTheirEndsAroundAnEllipsis) {
  const std::string ellipsis = gbk("…");
  const std::string fa = gbk("发");
  const std::size_t head = boxHeadCharacters, tail = boxTailCharacters;
  struct Case {
    const char* name;
    std::string text;
    std::string shown;
  } cases[] = {
      {"one character more than whole", repeat("x", head + tail + 2),
       repeat("x", head) + ellipsis + repeat("x", tail)},
      {"a megabyte of one byte", repeat("7", 1 << 20),
       repeat("7", head) + ellipsis + repeat("7", tail)},
      {"two-byte characters", repeat(fa, 1000), repeat(fa, head) + ellipsis + repeat(fa, tail)},
      {"two-byte characters after one byte", "a" + repeat(fa, 1000),
       "a" + repeat(fa, head - 1) + ellipsis + repeat(fa, tail)},
      {"bytes that are no character", repeat("\xff", 300),
       repeat("\xff", head) + ellipsis + repeat("\xff", tail)},
      {"a lead byte cut off at the end", repeat(fa, 300) + "\xb7",
       repeat(fa, head) + ellipsis + repeat(fa, tail - 1) + "\xb7"},
      {"the update notice", gbk("发现") + repeat("word ", 200000) + gbk("版本，请下载更新"),
       gbk("发现") + repeat("word ", 39) + "wor" + ellipsis + "d word word " +
           gbk("版本，请下载更新")},
  };
  for (const Case& c : cases) {
    const std::string shown = boxText(c.text.c_str());
    EXPECT_EQ(shown, c.shown) << c.name;
    // Never a character split: the valid parts convert without replacement.
    if (c.text.find('\xff') == std::string::npos && c.text.back() != '\xb7') {
      EXPECT_EQ(gbkToUtf8(shown.c_str()).find("\xEF\xBF\xBD"), std::string::npos) << c.name;
    }
  }
}

}  // namespace
