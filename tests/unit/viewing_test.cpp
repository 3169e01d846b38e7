// The pane's fitting rule and the channel bar's presses.
#include <gtest/gtest.h>

#include <cfenv>
#include <climits>
#include <cstring>

#include "fake_toolkit.h"
#include "shell/main_window.h"
#include "shell/services_core.h"
#include "viewing/browser_pane.h"
#include "viewing/channel_bar.h"

namespace {

TEST(Fitting, OuterLessMarginTruncatedToLow32Bits) {
  struct Case {
    std::int32_t outer;
    double margin;
    std::int32_t fitted;
  } cases[] = {
      {952, paneWidthMargin, 945},
      {625, paneHeightMargin, 576},
      {1200, paneWidthMargin, 1193},
      {800, paneHeightMargin, 751},
      {0, paneWidthMargin, -7},
      {3, paneHeightMargin, -46},
      {40000, paneWidthMargin, 39993},
      // Below INT32_MIN the low 32 bits wrap to a large positive size.
      {INT32_MIN, paneWidthMargin, INT32_MAX - 6},
      {INT32_MAX, paneHeightMargin, INT32_MAX - 49},
  };
  for (const Case& c : cases) EXPECT_EQ(fittedSize(c.outer, c.margin), c.fitted) << c.outer;
}

TEST(Fitting, RoundingModeRestored) {
  for (int mode : {FE_TONEAREST, FE_UPWARD, FE_DOWNWARD}) {
    std::fesetround(mode);
    EXPECT_EQ(fittedSize(952, paneWidthMargin), 945);
    EXPECT_EQ(std::fegetround(), mode);
  }
  std::fesetround(FE_TONEAREST);
}

TEST(Fitting, HandlerSetsClampedWidthThenHeight) {
  struct Case {
    int outerW, outerH, paneW, paneH;
  } cases[] = {{952, 625, 945, 576},
               {1200, 800, 1193, 751},
               {5, 30, 0, 0},
               {160, 28, 153, 0},
               {40000, 40000, 32627, 32627}};
  for (const Case& c : cases) {
    FakeToolkit toolkit;
    ServicesCore services(toolkit);
    toolkit.width = c.outerW;
    toolkit.height = c.outerH;
    handleSizeChanged(services);
    EXPECT_EQ(toolkit.log, (std::vector<std::string>{"width " + std::to_string(c.paneW),
                                                     "height " + std::to_string(c.paneH)}));
  }
}

struct ShownWindow : ::testing::Test {
  FakeToolkit toolkit;
  ServicesCore services{toolkit};
  WindowForm form = mainWindowForm(services);
  void SetUp() override {
    form.created = {};  // the bar alone: no start page, no check
    services.buildAndShow(form);
    toolkit.log.clear();
  }
  std::size_t indexOf(const char* control) {
    for (std::size_t i = 0; i < form.controls.size(); ++i)
      if (std::string(form.controls[i].name) == control) return i;
    return SIZE_MAX;
  }
};

TEST_F(ShownWindow, EachLabelSetsItsAddressWhateverTheKeys) {
  const std::pair<const char*, const char*> expected[] = {
      {"标签1", "http://127.0.0.1:18081/tv/tv1.html"},
      {"标签2", "http://127.0.0.1:18082/tv/"},
      {"标签4", "http://127.0.0.1:18083/images/img/100/"},
      {"标签8", "http://127.0.0.1:18080/hunan.html"},
      {"标签5", "http://127.0.0.1:18084/post/recommended-software.html"},
      {"标签6", "http://127.0.0.1:18080"},
  };
  for (int keys : {0, int{keyCtrl}, keyShift | keyAlt}) {
    for (auto [control, address] : expected) {
      toolkit.log.clear();
      toolkit.events->labelPressed(indexOf(control), 3, 4, keys);
      EXPECT_EQ(toolkit.log, std::vector<std::string>{std::string("navigate ") + address});
    }
  }
}

TEST_F(ShownWindow, TableMatchesFormAndCaptionBytes) {
  const std::size_t captionBytes[] = {20, 20, 20, 14, 14, 10};
  int previousRight = 0;
  for (std::size_t i = 0; i < channelTable.size(); ++i) {
    const Channel& channel = channelTable[i];
    EXPECT_EQ(std::strlen(channel.caption), captionBytes[i]) << channel.control;
    EXPECT_EQ(std::string(channel.caption, 2), "  ");
    EXPECT_GE(channel.left, previousRight) << "labels overlap";
    previousRight = channel.left + channel.width;
  }
  EXPECT_EQ(previousRight, 693);
}

TEST_F(ShownWindow, NoPressReachesHandlerDuringEnd) {
  toolkit.events->labelPressed(indexOf("标签2"), 0, 0, 0);
  EXPECT_EQ(toolkit.log.size(), 1u);
  EXPECT_THROW(services.fatalError("x"), ProgramEnded);
  toolkit.log.clear();
  toolkit.events->labelPressed(indexOf("标签2"), 0, 0, 0);
  EXPECT_TRUE(toolkit.log.empty());
}

}  // namespace
