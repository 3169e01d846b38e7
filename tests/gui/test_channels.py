"""The channel bar's presses and the pane's fitting, in the real window."""

import time
import unittest

import harness as h

LABELS = [  # client x in the middle of each label, and what it loads
    (64, (h.LINE1, "/tv/tv1.html")),
    (192, (h.LINE2, "/tv/")),
    (320, (h.LINE3, "/images/img/100/")),
    (438, (h.MAKER, "/hunan.html")),
    (559, (h.BLOG, "/post/recommended-software.html")),
    (657, (h.MAKER, "/")),
]
GAPS = [384, 393, 482, 494, 506, 611, 620, 693, 900]


def pages_after(sites, count, settle=1.0):
    """The pages requested once `count` arrived and nothing more came for a moment."""
    sites.recorder.wait_for(lambda: len(sites.recorder.pages()) >= count, what="%d pages" % count)
    time.sleep(settle)
    return sites.recorder.pages()


class ChannelBar(unittest.TestCase):
    def test_presses(self):
        with h.Sites() as sites, h.running(sites) as (program, window):
            sites.recorder.clear()
            for cx, _ in LABELS:
                h.click(window, cx, 8)
                time.sleep(0.6)  # apart, so no two presses make a double click
            self.assertEqual(pages_after(sites, 6), [page for _, page in LABELS])

            with self.subTest("gaps, right and middle button, wheel"):
                sites.recorder.clear()
                for gx in GAPS:
                    h.click(window, gx, 8)
                for button in (2, 3, 4, 5):
                    h.click(window, 192, 8, button=button)
                time.sleep(1.5)
                self.assertEqual(sites.recorder.pages(), [])

            with self.subTest("modifiers change nothing"):
                sites.recorder.clear()
                # Alt with a press is the window manager's own (it moves the window).
                for keys in ("ctrl", "shift", "ctrl"):
                    h.x("xdotool", "keydown", keys)
                    h.click(window, 320, 8)
                    h.x("xdotool", "keyup", keys)
                    time.sleep(0.6)
                self.assertEqual(pages_after(sites, 3), [(h.LINE3, "/images/img/100/")] * 3)

            with self.subTest("a double click loads once"):
                time.sleep(0.6)
                sites.recorder.clear()
                h.click(window, 192, 8, repeat=2)
                self.assertEqual(pages_after(sites, 1), [(h.LINE2, "/tv/")])

    def test_fitting_follows_outer_size(self):
        with h.Sites() as sites, h.running(sites) as (program, window):
            frame = h.frame_of(window)
            fx, fy, fw, fh = h.geometry(frame)
            cx, cy, cw, ch = h.geometry(window)
            extra_w, extra_h = fw - cw, fh - ch
            # A pane fitted to 0 is laid out at the toolkit's floor of one
            # pixel; the page never sees a negative or stale size.
            for outer, widths, heights in [((1200, 800), {"1193"}, {"751"}),
                                           ((700, 300), {"693"}, {"251"}),
                                           ((60, 40), {"53"}, {"0", "1"}),
                                           ((952, 625), {"945"}, {"576"})]:
                with self.subTest(outer=outer):
                    sites.recorder.clear()
                    h.x("xdotool", "windowsize", "--sync", str(window),
                        str(outer[0] - extra_w), str(outer[1] - extra_h))
                    self.assertEqual(h.geometry(frame)[2:], outer)
                    sites.recorder.wait_for(
                        lambda: any(b["w"] in widths and b["h"] in heights
                                    for b in sites.recorder.beacons(ev="resize")),
                        what="pane %s x %s" % (widths, heights))

    def test_keys_with_the_page_focused(self):
        with h.Sites() as sites, h.running(sites) as (program, window):
            h.activate(window)
            h.click(window, 400, 300)
            time.sleep(0.5)
            sites.recorder.clear()
            for key in ("Tab", "shift+Tab", "Return", "Tab", "F1"):
                h.x("xdotool", "key", "--clearmodifiers", key)
                time.sleep(0.4)
            sites.recorder.wait_for(lambda: sites.recorder.beacons(key="F1"), what="F1")
            keys = [(b["key"], b["shift"]) for b in sites.recorder.beacons(ev="key")]
            self.assertNotIn(("Tab", "false"), keys)
            # Shift+Tab arrives as the back-tab key with Shift held.
            self.assertTrue([k for k, shift in keys if shift == "true" and k != "Shift"], keys)
            self.assertIn(("Enter", "false"), keys)
            h.x("xdotool", "key", "Escape")
            self.assertEqual(program.wait(), 0)


if __name__ == "__main__":
    h.main()
