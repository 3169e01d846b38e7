// The version check's text routines and its outcomes.
#include <gtest/gtest.h>

#include <algorithm>

#include "fake_toolkit.h"
#include "shell/program.h"
#include "shell/services_core.h"
#include "update/text_routines.h"
#include "update/version_check.h"

namespace {

TEST(TextRoutines, CompareIsUnsignedAndAbsentIsEmpty) {
  struct Case {
    const char* first;
    const char* second;
    int result;
  } cases[] = {
      {nullptr, nullptr, 0},        {nullptr, "", 0},    {"", nullptr, 0},
      {nullptr, "a", -1},           {"a", nullptr, 1},   {"1.4", "1.4", 0},
      {"1.3", "1.4", -1},           {"1.4", "1.3", 1},   {"1.4", "1.4\n", -1},
      {"1.4\r\n", "1.4", 1},        {"\x80", "\x7f", 1}, {"\xff", "\x01", 1},
      {"\xb7\xa2", "\xb7\xa3", -1},
  };
  for (const Case& c : cases)
    EXPECT_EQ(compareText(c.first, c.second), c.result)
        << (c.first ? c.first : "(absent)") << " vs " << (c.second ? c.second : "(absent)");
}

TEST(TextRoutines, LengthAndJoin) {
  FakeToolkit toolkit;
  ServicesCore services(toolkit);
  EXPECT_EQ(stringLength(nullptr), 0u);
  EXPECT_EQ(stringLength("\xb7\xa2\xcf\xd6"), 4u);
  struct Case {
    std::initializer_list<ConstText> parts;
    std::string joined;
  } cases[] = {
      {{}, ""},
      {{nullptr, nullptr}, ""},
      {{"a", nullptr, "b"}, "ab"},
      {{"\xb7\xa2", "1.4\r\n", "\xb0\xe6"},
       "\xb7\xa2"
       "1.4\r\n"
       "\xb0\xe6"},
  };
  for (const Case& c : cases) {
    Text joined = joinTexts(services, c.parts);
    ASSERT_NE(joined, nullptr);
    EXPECT_EQ(std::string(joined), c.joined);
    services.release(joined);
  }
}

struct Outcome {
  std::optional<std::string> body;  // nullopt: nothing received
  std::vector<std::string> boxes;
  bool shown;
};

std::string updateBox(const std::string& version) {
  return "box 64 [版本更新] 发现" + version + "版本，请下载更新";
}
const std::string failureBox = "box 64 [提示] 获取版本信息失败！";

TEST(VersionCheck, OutcomeOfEachVersionFile) {
  using namespace std::string_literals;
  const Outcome outcomes[] = {
      {"1.4", {}, true},
      {"1.4\0junk"s, {}, true},
      {"1.4\n", {updateBox("1.4\n")}, false},
      {"1.4\r\n", {updateBox("1.4\r\n")}, false},
      {" 1.4", {updateBox(" 1.4")}, false},
      {"\xEF\xBB\xBF"
       "1.4",
       {updateBox("\xEF\xBB\xBF"
                  "1.4")},
       false},
      {"1.3", {updateBox("1.3")}, false},
      {"1.", {updateBox("1.")}, false},
      {"<html>404</html>", {updateBox("<html>404</html>")}, false},
      {"\0"
       "1.4"s,
       {failureBox, updateBox("")},
       false},
      {std::nullopt, {failureBox, updateBox("")}, false},
  };
  for (const Outcome& outcome : outcomes) {
    FakeToolkit toolkit;
    if (outcome.body) toolkit.body.emplace(outcome.body->begin(), outcome.body->end());
    const int code = runProgram(toolkit);
    const auto& log = toolkit.log;
    const std::string label = outcome.body ? *outcome.body : "(nothing)";
    EXPECT_EQ(toolkit.boxes(), outcome.boxes) << label;
    EXPECT_EQ(code, 0) << label;
    const bool shown = std::count(log.begin(), log.end(), "show") == 1;
    const bool opened = std::count(log.begin(), log.end(), "open 127.0.0.1:18080") == 1;
    EXPECT_EQ(shown, outcome.shown) << label;
    EXPECT_EQ(opened, !outcome.shown) << label;
    if (!outcome.shown) {
      // The home page opens after the last box, and the windows go after it.
      auto openAt = std::find(log.begin(), log.end(), "open 127.0.0.1:18080");
      EXPECT_EQ(*(openAt - 1), outcome.boxes.back()) << label;
      EXPECT_EQ(*(openAt + 1), "destroyWindows") << label;
    }
  }
}

}  // namespace
