// The trouble page: the address a stranger chose is shown, never run.
#include "platform/error_page.h"

#include <gtest/gtest.h>

#include <set>

namespace {

TEST(TroublePage, ShowsTheAddressEscapedAndLinksOnlyLoadableOnes) {
  struct Case {
    const char* address;
    const char* shown;  // as it must appear in the page
    bool retry;
  } cases[] = {
      {"http://127.0.0.1:18081/tv/tv1.html", "http://127.0.0.1:18081/tv/tv1.html", true},
      {"https://x.example/\"><script>alert(1)</script>&",
       "https://x.example/&quot;&gt;&lt;script&gt;alert(1)&lt;/script&gt;&amp;", true},
      {"javascript:alert('<b>')", "javascript:alert(&apos;&lt;b&gt;&apos;)", false},
      {"", "", false},
  };
  for (const Case& c : cases) {
    const std::string page = troublePage(PageTrouble::Refused, c.address);
    EXPECT_NE(page.find(std::string("<p>") + c.shown + "</p>"), std::string::npos) << page;
    EXPECT_EQ(page.find("<script"), std::string::npos) << c.address;
    const std::string link = "class=\"retry\" href=\"" + std::string(c.shown) + "\"";
    EXPECT_EQ(page.find(c.retry ? link : "class=\"retry\"") != std::string::npos, c.retry)
        << c.address;
  }
}

TEST(TroublePage, EachTroubleHasItsOwnReason) {
  std::set<std::string> pages;
  for (PageTrouble trouble :
       {PageTrouble::HostNotFound, PageTrouble::Refused, PageTrouble::TimedOut,
        PageTrouble::Certificate, PageTrouble::Crashed, PageTrouble::Other})
    pages.insert(troublePage(trouble, "http://a.example/"));
  EXPECT_EQ(pages.size(), 6u);
}

}  // namespace
