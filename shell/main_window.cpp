#include "shell/main_window.h"

#include "update/version_check.h"
#include "viewing/browser_pane.h"
#include "viewing/channel_bar.h"

void handleCreated(WindowServices& services) {
  showStartPage(services);
  checkVersion(services);
}

WindowForm mainWindowForm(WindowServices& services) {
  WindowForm form{
      .title = "Vexaline V1.4        Corvanth制作",
      .outerWidth = mainWindowOuterWidth,
      .outerHeight = mainWindowOuterHeight,
      .left = 50,
      .top = 50,
      .controls = {},
      .stackingTopDown = {"标签8", "标签6", "标签5", "标签4", "标签2", "标签1", paneControl},
      .created = [&services] { handleCreated(services); },
      .sizeChanged = [&services] { handleSizeChanged(services); },
  };
  // Creation order: the pane first, then the labels by their numbers.
  form.controls.push_back(browserPaneForm());
  for (const char* name : {"标签1", "标签2", "标签4", "标签5", "标签6", "标签8"})
    form.controls.push_back(channelLabelForm(name, services));
  return form;
}
