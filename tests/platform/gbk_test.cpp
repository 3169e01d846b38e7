// The program's texts shown through GTK: the code page at the boundary and
// the captions on screen.
#include "platform/gbk.h"

#include <gtest/gtest.h>
#include <gtk/gtk.h>

#include "platform/gtk_toolkit.h"

namespace {

TEST(Gbk, ConvertsAndReplacesWhatIsNotGbk) {
  struct Case {
    const char* gbk;
    const char* utf8;
  } cases[] = {
      {nullptr, ""},
      {"", ""},
      {"1.4", "1.4"},
      {"\xb7\xa2\xcf\xd6", "发现"},
      {"\xa3\xac", "，"},
      {"1\xb7", "1\xEF\xBF\xBD"},  // cut off after a lead byte
      {"\xff\xff"
       "a",
       "\xEF\xBF\xBD\xEF\xBF\xBD"
       "a"},  // never a GBK lead
      {"<b>x</b>", "<b>x</b>"},
  };
  for (const Case& c : cases) EXPECT_EQ(gbkToUtf8(c.gbk), c.utf8) << (c.gbk ? c.gbk : "(absent)");
}

TEST(Gbk, LongTextSurvivesBufferBoundaries) {
  std::string gbk, utf8;
  for (int i = 0; i < 500; ++i) gbk += "\xcf\xdf\xc2\xb7", utf8 += "线路";
  gbk += "\x80";
  EXPECT_EQ(gbkToUtf8(gbk.c_str()).substr(0, utf8.size()), utf8);
}

}  // namespace

#include "platform/label_widget.h"
#include "platform/window_style.h"
#include "viewing/channel_bar.h"

namespace {

// Every caption fits its label in full, in real glyphs, with the window's own
// style; a caption cut short or drawn as boxes is unreadable.
TEST(Captions, FitTheirLabelsInRealGlyphs) {
  if (!gtk_init_check(nullptr, nullptr)) GTEST_SKIP() << "no display";
  ASSERT_TRUE(applyWindowStyle());
  GtkWidget* window = gtk_window_new(GTK_WINDOW_TOPLEVEL);
  gtk_widget_set_name(window, mainWindowStyleName);
  GtkWidget* box = gtk_box_new(GTK_ORIENTATION_HORIZONTAL, 0);
  gtk_container_add(GTK_CONTAINER(window), box);
  ClickTracker clicks;
  for (const Channel& channel : channelTable) {
    const std::string caption = gbkToUtf8(channel.caption);
    GtkWidget* label = newChannelLabel(caption, channel.width, 16, clicks, {});
    gtk_container_add(GTK_CONTAINER(box), label);
    PangoLayout* layout = gtk_widget_create_pango_layout(label, caption.c_str());
    int width = 0, height = 0;
    pango_layout_get_pixel_size(layout, &width, &height);
    EXPECT_LE(width, channel.width) << caption;
    EXPECT_LE(height, 16) << caption;
    EXPECT_EQ(pango_layout_get_unknown_glyphs_count(layout), 0) << caption;
    g_object_unref(layout);
  }
  gtk_widget_destroy(window);
}

}  // namespace
