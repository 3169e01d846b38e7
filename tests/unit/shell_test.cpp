// The program's life over a recording toolkit: start order, the event hold
// and the three ends.
#include <gtest/gtest.h>

#include <algorithm>
#include <cstring>

#include "fake_toolkit.h"
#include "shell/main_window.h"
#include "shell/program.h"
#include "shell/services_core.h"

namespace {

struct ProgramRun {
  FakeToolkit toolkit;
  ServicesCore services{toolkit};
  std::optional<int> exitCode;  // set when the program ended inside programMain

  ProgramRun() { versionText = nullptr; }

  void start() {
    try {
      const int code = programMain(services);
      exitCode = services.normalEnd(code);
    } catch (const ProgramEnded& ended) {
      exitCode = ended.code;
    }
  }
  std::size_t at(const std::string& entry) const {
    auto found = std::find(toolkit.log.begin(), toolkit.log.end(), entry);
    return found - toolkit.log.begin();
  }
  bool logged(const std::string& entry) const { return at(entry) < toolkit.log.size(); }
};

// A window with no controls, binding only the two handlers under test.
WindowForm bareForm(Handler created, Handler sizeChanged) {
  return {.title = "t",
          .outerWidth = 952,
          .outerHeight = 625,
          .left = 50,
          .top = 50,
          .controls = {},
          .stackingTopDown = {},
          .created = std::move(created),
          .sizeChanged = std::move(sizeChanged)};
}

std::vector<unsigned char> bytes(const char* text, std::size_t count) {
  return {text, text + count};
}

TEST(StartOrder, BuildsHiddenThenCreatedThenSizeThenShows) {
  ProgramRun run;
  run.toolkit.body = bytes("1.4", 3);
  run.start();
  const auto& log = run.toolkit.log;
  // Controls in the form's creation order.
  std::vector<std::string> created;
  for (const auto& entry : log)
    if (entry.rfind("createControl ", 0) == 0) created.push_back(entry.substr(14));
  EXPECT_EQ(created, (std::vector<std::string>{"超文本浏览框1", "标签1", "标签2", "标签4", "标签5",
                                               "标签6", "标签8"}));
  // A size reported while building ran no handler: the first fit follows the check.
  EXPECT_LT(run.at("prepare"), run.at("createWindow"));
  EXPECT_LT(run.at("showControls"), run.at("navigate http://127.0.0.1:18081/tv/tv1.html"));
  EXPECT_LT(run.at("navigate http://127.0.0.1:18081/tv/tv1.html"),
            run.at("httpRead http://127.0.0.1:18080/ver.txt"));
  EXPECT_LT(run.at("httpRead http://127.0.0.1:18080/ver.txt"), run.at("width 945"));
  EXPECT_EQ(run.at("width 945") + 1, run.at("height 576"));
  EXPECT_LT(run.at("height 576"), run.at("show"));
  EXPECT_LT(run.at("show"), run.at("runLoop"));
  EXPECT_EQ(std::count(log.begin(), log.end(), "width 945"), 1);
  EXPECT_EQ(run.exitCode, 0);
}

TEST(StartOrder, HoldIsUpOnlyWhileBuilding) {
  FakeToolkit toolkit;
  ServicesCore services(toolkit);
  std::vector<int> holdAtCreated;
  int sizeRuns = 0;
  const WindowForm form =
      bareForm([&] { holdAtCreated.push_back(services.eventHoldCount()); }, [&] { ++sizeRuns; });
  services.buildAndShow(form);
  EXPECT_EQ(holdAtCreated, std::vector<int>{0});
  EXPECT_EQ(sizeRuns, 1);  // the report during creation was dropped
  toolkit.events->sizeChanged();
  EXPECT_EQ(sizeRuns, 2);
}

TEST(Ends, CloseByUserQuitsLoopAndRunsEndRoutineOnce) {
  FakeToolkit toolkit;
  ServicesCore services(toolkit);
  int endRuns = 0, sizeRuns = 0;
  services.registerEndRoutine([&] { ++endRuns; });
  const WindowForm form = bareForm({}, [&] { ++sizeRuns; });
  services.buildAndShow(form);
  services.runMessageLoop();
  toolkit.destroyWindows();  // the user closes the window
  EXPECT_EQ(toolkit.log.back(), "quitLoop");
  EXPECT_EQ(services.normalEnd(0), 0);
  EXPECT_EQ(endRuns, 1);
  EXPECT_EQ(sizeRuns, 2);  // step 9 and the close's own report; none after
}

TEST(Ends, WindowDestroyedBeforeLoopPostsNoQuit) {
  FakeToolkit toolkit;
  ServicesCore services(toolkit);
  const WindowForm form = bareForm({}, {});
  services.buildAndShow(form);
  toolkit.destroyWindows();
  services.runMessageLoop();  // no window left: the loop is skipped
  EXPECT_EQ(std::count(toolkit.log.begin(), toolkit.log.end(), "quitLoop"), 0);
  EXPECT_EQ(std::count(toolkit.log.begin(), toolkit.log.end(), "runLoop"), 0);
}

TEST(Ends, EndServiceDestroysThenRunsRoutineOnceWithNoHandlers) {
  FakeToolkit toolkit;
  ServicesCore services(toolkit);
  std::vector<std::string> order;
  int sizeRuns = 0;
  services.registerEndRoutine(
      [&] { order.push_back("routine, windows " + std::to_string(toolkit.exists)); });
  services.registerEndRoutine(
      [&] { order.push_back("second routine, windows " + std::to_string(toolkit.exists)); });
  const WindowForm form = bareForm([&] { services.endProgram(0); }, [&] { ++sizeRuns; });
  try {
    services.buildAndShow(form);
    FAIL() << "the end service returned";
  } catch (const ProgramEnded& ended) {
    EXPECT_EQ(ended.code, 0);
  }
  EXPECT_EQ(order, std::vector<std::string>{"second routine, windows 0"});
  EXPECT_EQ(sizeRuns, 0);
  EXPECT_EQ(std::count(toolkit.log.begin(), toolkit.log.end(), "show"), 0);
}

TEST(Ends, FatalErrorOnControlFailureEndsWithMinusOneUnseen) {
  ProgramRun run;
  run.toolkit.failControl = "超文本浏览框1";
  run.toolkit.body = bytes("1.4", 3);
  run.start();
  EXPECT_EQ(run.exitCode, -1);
  EXPECT_TRUE(run.logged("errorBox"));
  EXPECT_LT(run.at("errorBox"), run.at("destroyWindows"));
  EXPECT_FALSE(run.logged("httpRead http://127.0.0.1:18080/ver.txt"));
  EXPECT_FALSE(run.logged("show"));
}

TEST(Ends, FatalErrorEmptiesSlot) {
  FakeToolkit toolkit;
  ServicesCore services(toolkit);
  int endRuns = 0;
  services.registerEndRoutine([&] { ++endRuns; });
  EXPECT_THROW(services.fatalError("test"), ProgramEnded);
  EXPECT_EQ(endRuns, 0);
  EXPECT_GT(services.eventHoldCount(), 0);
}

TEST(ControlSize, ClampedToLimits) {
  FakeToolkit toolkit;
  ServicesCore services(toolkit);
  const std::pair<int, int> cases[] = {{-1, 0},        {0, 0},         {945, 945},
                                       {32627, 32627}, {32628, 32627}, {INT32_MAX, 32627},
                                       {INT32_MIN, 0}};
  for (auto [asked, set] : cases) {
    services.setControlWidth("c", asked);
    services.setControlHeight("c", asked);
    EXPECT_EQ(toolkit.widths["c"], set) << asked;
    EXPECT_EQ(toolkit.heights["c"], set) << asked;
  }
}

TEST(Centring, TruncatesTowardZero) {
  struct Case {
    int w, h, left, top;
  } cases[] = {{1366, 768, 207, 71}, {1920, 1080, 484, 227}, {800, 600, -76, -12}};
  FakeToolkit toolkit;
  ServicesCore services(toolkit);
  const WindowForm form = mainWindowForm(services);
  for (const Case& c : cases) {
    const ScreenPlace place = centredPlace(c.w, c.h, form);
    EXPECT_EQ(place.left, c.left) << c.w << "x" << c.h;
    EXPECT_EQ(place.top, c.top) << c.w << "x" << c.h;
  }
}

}  // namespace
