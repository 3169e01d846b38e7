// The version check over the recording toolkit, for any version file: the
// outcome table holds for every body, and nothing is leaked (the fuzzer's
// leak check runs after each input).
#include <algorithm>
#include <cstdint>
#include <cstdio>
#include <cstdlib>
#include <cstring>
#include <string>
#include <vector>

#include "tests/unit/fake_toolkit.h"

namespace {

const std::string failureBox = "box 64 [提示] 获取版本信息失败！";
std::string updateBox(const std::string& version) {
  return "box 64 [版本更新] 发现" + version + "版本，请下载更新";
}
const std::string openHome = "open 127.0.0.1:18080";

[[noreturn]] void fail(const char* what) {
  std::fprintf(stderr, "version check: %s\n", what);
  std::abort();
}

}  // namespace

extern "C" int LLVMFuzzerTestOneInput(const std::uint8_t* data, std::size_t size) {
  FakeToolkit toolkit;
  // No bytes at all stands for nothing received.
  if (size > 0) toolkit.body.emplace(data, data + size);
  const int code = runProgram(toolkit);

  // The version is the bytes before the first zero byte, untrimmed.
  const char* bytes = reinterpret_cast<const char*>(data);
  const std::string fetched(bytes, size ? strnlen(bytes, size) : 0);
  std::vector<std::string> expected;
  if (fetched.empty()) expected = {failureBox, updateBox("")};
  if (fetched != "1.4" && !fetched.empty()) expected = {updateBox(fetched)};

  const auto& log = toolkit.log;
  const std::vector<std::string> boxes = toolkit.boxes();
  const auto shown = std::count(log.begin(), log.end(), "show");
  const auto opened = std::count(log.begin(), log.end(), openHome);

  if (code != 0) fail("exit code is not 0");
  if (boxes != expected) fail("wrong boxes");
  if (fetched == "1.4") {
    if (shown != 1 || opened != 0) fail("an up-to-date program is not shown, or opens");
    return 0;
  }
  if (shown != 0 || opened != 1) fail("an update shows the window, or does not open once");
  // The home page opens after the last box, and the windows go after it.
  const auto openAt = std::find(log.begin(), log.end(), openHome);
  if (*(openAt - 1) != expected.back() || *(openAt + 1) != "destroyWindows")
    fail("the home page opens out of order");
  return 0;
}
