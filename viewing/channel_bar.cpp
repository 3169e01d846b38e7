#include "viewing/channel_bar.h"

#include <cstring>

#include "addresses.h"
#include "viewing/browser_pane.h"

const std::array<Channel, 6> channelTable{{
    {"标签1", "  线路一（随播网视）", 0, 128, line1Address},
    {"标签2", "  线路二（夏玲网视）", 128, 128, line2Address},
    {"标签4", "  线路三（易视直播）", 256, 128, line3Address},
    {"标签8", "  湖南卫视专线", 394, 88, hunanLineAddress},
    {"标签5", "  装机推荐软件", 507, 104, softwarePageAddress},
    {"标签6", "  官方网站", 621, 72, officialSiteAddress},
}};

ControlForm channelLabelForm(const char* control, WindowServices& services) {
  for (const Channel& channel : channelTable) {
    if (std::strcmp(channel.control, control) != 0) continue;
    const char* address = channel.address;
    return {.name = channel.control,
            .type = ControlType::Label,
            .left = channel.left,
            .top = channelLabelTop,
            .width = channel.width,
            .height = channelLabelHeight,
            .tabStop = false,
            .caption = channel.caption,
            .leftButtonPressed = [&services, address](int, int, int) {
              services.setAddress(paneControl, address);
            }};
  }
  return {};
}
