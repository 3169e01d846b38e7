"""The main window as the desktop sees it: place, size, look, closing."""

import os
import time
import unittest

import harness as h


class MainWindow(unittest.TestCase):
    def test_shown_centred_with_its_look_and_pane(self):
        with h.Sites() as sites, h.running(sites) as (program, window):
            frame = h.frame_of(window)
            self.assertEqual(h.geometry(frame), (207, 71, 952, 625))
            self.assertIn('"%s"' % h.TITLE, h.x("xprop", "-id", str(window), "_NET_WM_NAME"))
            icons = h.x("xprop", "-id", str(window), "_NET_WM_ICON")
            self.assertIn("Icon (32 x 32)", icons)
            self.assertIn("Icon (16 x 16)", icons)
            # The pane was fitted before anyone saw it: the page's first view.
            first = sites.recorder.beacons(ev="load")[0]
            self.assertEqual((first["w"], first["h"]), ("945", "576"))
            self.assertEqual([p for p in sites.recorder.pages() if p != (h.MAKER, "/ver.txt")][0],
                             (h.LINE1, "/tv/tv1.html"))
            self.assertEqual(os.readlink("/proc/%d/cwd" % program.process.pid),
                             os.path.dirname(os.path.realpath(h.BINARY)))

            shot = os.path.join(program.home, "shot.png")
            ox, oy = h.client_origin(window)
            black, red = "srgb(0,0,0)", "srgb(204,0,0)"
            # The compositor puts the loaded page on the screen a moment later.
            sites.recorder.wait_for(
                lambda: h.screenshot(shot) or h.pixel(shot, ox + 944, oy + 591) == red,
                what="page drawn")
            for cx, cy in [(388, 8), (490, 2), (615, 15), (800, 8), (946, 300), (946, 16)]:
                self.assertEqual(h.pixel(shot, ox + cx, oy + cy), black, (cx, cy))
            # The page fills the pane from (0, 16) to (944, 591).
            for cx, cy in [(0, 16), (944, 16), (0, 591), (944, 591)]:
                self.assertEqual(h.pixel(shot, ox + cx, oy + cy), red, (cx, cy))
            self.assertEqual(h.pixel(shot, ox + 0, oy + 15), black)
            self.assertEqual(h.pixel(shot, ox + 945, oy + 100), black)
            self.assertEqual(h.pixel(shot, ox + 100, oy + 592), black)
            # Green captions on the black bar, pure green where the strokes are solid.
            bar = h.x("convert", shot, "-crop", "693x16+%d+%d" % (ox, oy), "-unique-colors",
                      "txt:-")
            self.assertIn("#00FF00", bar)

    def test_closing_ways(self):
        cases = [
            ("Escape", True),
            ("shift+Escape", False),
            ("ctrl+Escape", False),
            ("close button", True),
        ]
        with h.Sites() as sites:
            for how, closes in cases:
                with self.subTest(how=how), h.running(sites) as (program, window):
                    h.activate(window)
                    h.click(window, 400, 300)  # the page area has the focus
                    time.sleep(0.3)
                    if how == "close button":
                        fx, fy, fw, _ = h.geometry(h.frame_of(window))
                        h.x("xdotool", "mousemove", "--sync", str(fx + fw - 11), str(fy + 9),
                            "click", "1")
                    else:
                        h.x("xdotool", "key", how)
                    if closes:
                        try:
                            code = program.wait()
                        except Exception:
                            self.fail("still running; window shown: %s"
                                      % bool(h.find_windows(h.TITLE)))
                        self.assertEqual(code, 0)
                    else:
                        time.sleep(1.5)
                        self.assertIsNone(program.process.poll())

    def test_fatal_error_without_display_ends_with_minus_one(self):
        program = h.Program()
        try:
            env = program.env()
            env["DISPLAY"] = ":4711"
            env.pop("WAYLAND_DISPLAY", None)
            import subprocess
            result = subprocess.run([h.BINARY], env=env, capture_output=True, timeout=30)
            self.assertEqual(result.returncode, 255)
        finally:
            program.stop()


if __name__ == "__main__":
    h.main()
