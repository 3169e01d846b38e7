#include "platform/page_behaviour.h"

#include "platform/crash_recovery.h"
#include "platform/downloads.h"
#include "platform/error_page.h"
#include "platform/new_window.h"

void addPageBehaviour(WebKitWebView* view) {
  showErrorPages(view);
  recoverFromCrashes(view);
  downloadWhatCannotBeShown(view);
  openNewWindowsFor(view);
}
