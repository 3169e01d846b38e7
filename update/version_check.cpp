#include "update/version_check.h"

#include <cstring>

#include "addresses.h"
#include "shell/program.h"
#include "update/text_routines.h"

namespace {

// The bytes before the first zero byte, as a new text; absent when none.
Text textOfBytes(WindowServices& services, const ByteSet& received) {
  if (!received.bytes) return nullptr;
  const void* zero = std::memchr(received.bytes, 0, received.count);
  const std::size_t count =
      zero ? static_cast<const unsigned char*>(zero) - received.bytes : received.count;
  if (count == 0) return nullptr;
  Text text = static_cast<Text>(services.allocate(count + 1));
  std::memcpy(text, received.bytes, count);
  text[count] = '\0';
  return text;
}

}  // namespace

void checkVersion(WindowServices& services) {
  ByteSet received = services.httpRead(versionFileAddress);
  Text fetched = textOfBytes(services, received);
  if (received.bytes) services.release(received.bytes);
  if (versionText) services.release(versionText);
  versionText = fetched;

  if (compareText(versionText, "") == 0)
    services.messageBox("获取版本信息失败！", messageBoxInformation, "提示");
  if (compareText(versionText, currentVersion) == 0) return;

  Text notice = joinTexts(services, {"发现", versionText, "版本，请下载更新"});
  services.messageBox(notice, messageBoxInformation, "版本更新");
  services.release(notice);
  services.openAddress(homePageAddress);
  services.endProgram(0);
}
