// Files from pages reach the disk only where the user chose to save them.
#pragma once

#include <webkit2/webkit2.h>

// Every download of the context asks first with a save dialog in the
// download folder; a cancel writes nothing. Its end is told in one line.
void askBeforeDownloads(WebKitWebContext* context);

// A page the view cannot show is offered as a download instead of being dropped.
void downloadWhatCannotBeShown(WebKitWebView* view);
