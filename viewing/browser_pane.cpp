#include "viewing/browser_pane.h"

#include <cfenv>
#include <cmath>

#include "addresses.h"

ControlForm browserPaneForm() {
  return {.name = paneControl,
          .type = ControlType::HtmlViewer,
          .left = 0,
          .top = 16,
          .width = 946,
          .height = 576,
          .tabStop = true,
          .caption = nullptr,
          .leftButtonPressed = {}};
}

void showStartPage(WindowServices& services) {
  services.setAddress(paneControl, line1Address);
}

std::int32_t fittedSize(std::int32_t outer, double margin) {
  const double reduced = static_cast<double>(outer) - margin;
  const int previousMode = std::fegetround();
  std::fesetround(FE_TOWARDZERO);
  const std::int64_t truncated = std::llrint(reduced);
  std::fesetround(previousMode);
  return static_cast<std::int32_t>(static_cast<std::uint32_t>(truncated));
}

void handleSizeChanged(WindowServices& services) {
  services.setControlWidth(paneControl, fittedSize(services.windowWidth(), paneWidthMargin));
  services.setControlHeight(paneControl, fittedSize(services.windowHeight(), paneHeightMargin));
}
