"""An evening's watching in the real window: a channel in full screen and
back, Escape's owners, playing with sound after a press, the browser keys."""

import os
import shutil
import subprocess
import tempfile
import time
import unittest

import harness as h

# A red page with a looping test-pattern video; a click puts the video in full
# screen, a click in full screen leaves through the page's own exit call.
FULL_SCREEN_PAGE = """<!doctype html><html><head><style>
html,body{margin:0;height:100%;overflow:hidden;background:#cc0000}</style></head><body>
<video id="v" src="/media/clip.mp4" autoplay muted playsinline width="320" height="180"></video>
<script>
const v = document.getElementById('v');
function report(what){fetch('/beacon?'+what).catch(()=>{});}
function size(){return '&w='+innerWidth+'&h='+innerHeight;}
addEventListener('load',()=>report('ev=load'+size()));
addEventListener('resize',()=>report('ev=resize'+size()));
document.addEventListener('fullscreenchange',
  ()=>report('ev=fs&on='+(document.fullscreenElement?1:0)+size()));
document.addEventListener('click',()=>{
  if (document.fullscreenElement) document.exitFullscreen(); else v.requestFullscreen();});
</script></body></html>"""

# A page whose keys open the script dialogs and report what they returned.
DIALOG_PAGE = """<!doctype html><html><head><style>
html,body{margin:0;height:100%;overflow:hidden;background:#cc0000}</style></head><body><script>
function report(what){fetch('/beacon?'+what).catch(()=>{});}
addEventListener('load',()=>report('ev=load'));
addEventListener('keydown',e=>{
  let r;
  if (e.key==='a') r = (alert('A'), 'closed');
  else if (e.key==='c') r = confirm('C');
  else if (e.key==='p') r = prompt('P', 'typed');
  else return;
  report('ev=answer&key='+e.key+'&r='+encodeURIComponent(String(r)));
});
addEventListener('click',()=>{onbeforeunload=e=>{e.preventDefault();return 'stay';};
  report('ev=armed');});
</script></body></html>"""

# An unmuted autoplaying channel that reports its play state.
SOUND_PAGE = """<!doctype html><html><body style="margin:0;background:#000">
<video id="v" src="/media/clip.mp4" autoplay width="320" height="180"></video><script>
const v = document.getElementById('v');
setInterval(()=>fetch('/beacon?ev=state&paused='+v.paused+'&muted='+v.muted+'&t='+
  v.currentTime.toFixed(2)).catch(()=>{}), 250);
</script></body></html>"""

# Reports every showing of the page and every key; with ?take it keeps its keys.
KEYS_PAGE = """<!doctype html><html><head><style>
html,body{margin:0;height:100%;overflow:hidden;background:#cc0000}</style></head><body><script>
function report(what){fetch('/beacon?'+what+'&page='+encodeURIComponent(location.pathname)).catch(()=>{});}
const take = location.search.indexOf('take') >= 0;
addEventListener('pageshow',()=>report('ev=show'));
addEventListener('keydown',e=>{report('ev=key&key='+encodeURIComponent(e.key)); if (take) e.preventDefault();});
</script></body></html>"""

# A silent start page, so that only the pressed channel plays.
REPORTING_START = """<!doctype html><html><body><script>
addEventListener('load',()=>fetch('/beacon?ev=load'));</script></body></html>"""

BLACK, RED = "srgb(0,0,0)", "srgb(204,0,0)"


def make_clip(folder):
    path = os.path.join(folder, "clip.mp4")
    subprocess.run(["ffmpeg", "-hide_banner", "-loglevel", "error", "-y",
                    "-f", "lavfi", "-i", "testsrc2=size=320x180:rate=25:duration=40",
                    "-f", "lavfi", "-i", "sine=frequency=440:duration=40",
                    "-c:v", "libx264", "-preset", "ultrafast", "-pix_fmt", "yuv420p", "-g", "25",
                    "-c:a", "aac", "-shortest", "-movflags", "+faststart", path], check=True)
    with open(path, "rb") as f:
        return f.read()


def mean_brightness(shot, width, height, left, top):
    """Mean grey level, 0 to 255, of a rectangle of a screenshot."""
    return float(h.x("convert", shot, "-crop", "%dx%d+%d+%d" % (width, height, left, top),
                     "-colorspace", "gray", "-format", "%[fx:mean*255]", "info:"))


def same_picture(first, second):
    differing = subprocess.run(["compare", "-metric", "AE", first, second, "null:"],
                               capture_output=True, text=True).stderr.strip()
    return differing == "0"


class Watching(unittest.TestCase):
    @classmethod
    def setUpClass(cls):
        cls.folder = tempfile.mkdtemp(prefix="vexaline-watching-")
        cls.clip = make_clip(cls.folder)

    @classmethod
    def tearDownClass(cls):
        shutil.rmtree(cls.folder, ignore_errors=True)

    def sites(self, page, **more):
        files = {"/media/clip.mp4": (self.clip, "video/mp4"),
                 "/tv/tv1.html": (page.encode(), "text/html; charset=utf-8")}
        files.update({path: (body.encode(), "text/html; charset=utf-8")
                      for path, body in more.items()})
        return h.Sites(files=files)

    def test_full_screen_and_back(self):
        screen = (0, 0, 1366, 768)
        leaving = [
            ("Escape", lambda window: h.x("xdotool", "key", "Escape")),
            ("the page's exit call", lambda window: h.x("xdotool", "click", "1")),
        ]
        with self.sites(FULL_SCREEN_PAGE) as sites:
            for how, leave in leaving:
                with self.subTest(leaving=how), h.running() as (program, window):
                    recorder = sites.recorder
                    recorder.wait_for(lambda: recorder.beacons(ev="load"), what="page load")
                    frame = h.frame_of(window)
                    h.activate(window)
                    before = (h.geometry(frame), h.geometry(window))
                    ox, oy = h.client_origin(window)
                    bar_before = os.path.join(program.home, "bar-before.png")
                    shot = os.path.join(program.home, "shot.png")
                    time.sleep(0.5)
                    h.screenshot(shot)
                    h.x("convert", shot, "-crop", "952x16+%d+%d" % (ox, oy), "+repage",
                        bar_before)
                    recorder.clear()

                    h.click(window, 400, 300)
                    recorder.wait_for(lambda: recorder.beacons(ev="fs", on="1"),
                                      what="full screen")
                    recorder.wait_for(lambda: h.geometry(window) == screen,
                                      what="window covering the screen")
                    # The pane alone covers the screen; the program's own
                    # fitting (7 and 49 pixels less) never ran meanwhile.
                    recorder.wait_for(
                        lambda: recorder.beacons(ev="resize", w="1366", h="768"),
                        what="page as large as the screen")
                    sizes = {(b["w"], b["h"]) for b in recorder.beacons(ev="resize")}
                    self.assertNotIn(("1359", "719"), sizes)
                    # The test pattern fills the screen, the bar's corner included;
                    # the compositor shows it a moment after the page's resize.
                    def picture_everywhere():
                        h.screenshot(shot)
                        return (mean_brightness(shot, 1366, 768, 0, 0) > 60 and
                                mean_brightness(shot, 952, 16, 0, 0) > 40)

                    recorder.wait_for(picture_everywhere,
                                      what="the video's picture on the whole screen")
                    bar_now = os.path.join(program.home, "bar-now.png")
                    h.x("convert", shot, "-crop", "952x16+0+0", "+repage", bar_now)
                    self.assertFalse(same_picture(bar_before, bar_now))
                    recorder.clear()

                    leave(window)
                    recorder.wait_for(lambda: recorder.beacons(ev="fs", on="0"),
                                      what="full screen left")
                    recorder.wait_for(lambda: (h.geometry(frame), h.geometry(window)) == before,
                                      what="window back at %s" % (before,))
                    recorder.wait_for(lambda: recorder.beacons(ev="resize", w="945", h="576"),
                                      what="page back at 945 x 576")
                    self.assertIsNone(program.process.poll())
                    # The compositor shows the page at its place again a moment later.
                    recorder.wait_for(
                        lambda: h.screenshot(shot) or h.pixel(shot, ox + 944, oy + 591) == RED,
                        what="page drawn at its place")
                    bar_after = os.path.join(program.home, "bar-after.png")
                    h.x("convert", shot, "-crop", "952x16+%d+%d" % (ox, oy), "+repage",
                        bar_after)
                    self.assertTrue(same_picture(bar_before, bar_after))
                    for cx, cy in [(330, 16), (944, 16), (0, 591), (944, 591)]:
                        self.assertEqual(h.pixel(shot, ox + cx, oy + cy), RED, (cx, cy))
                    for cx, cy in [(0, 15), (945, 100), (100, 592)]:
                        self.assertEqual(h.pixel(shot, ox + cx, oy + cy), BLACK, (cx, cy))

    def test_escape_cancels_a_script_dialog(self):
        # Escape answers each dialog as its cancel button would, and the
        # program goes on; afterwards Escape closes the window again.
        cases = [("a", "closed"), ("c", "false"), ("p", "null")]
        with self.sites(DIALOG_PAGE) as sites, h.running() as (program, window):
            recorder = sites.recorder
            recorder.wait_for(lambda: recorder.beacons(ev="load"), what="page load")
            h.activate(window)
            h.click(window, 400, 300)
            recorder.wait_for(lambda: recorder.beacons(ev="armed"), what="page clicked")
            shot = os.path.join(program.home, "shot.png")
            ox, oy = h.client_origin(window)

            def page_dimmed(dimmed):
                h.screenshot(shot)
                return (h.pixel(shot, ox + 900, oy + 550) != RED) == dimmed

            for key, answer in cases:
                with self.subTest(dialog=key):
                    h.x("xdotool", "key", key)
                    recorder.wait_for(lambda: page_dimmed(True), what="dialog shown")
                    h.x("xdotool", "key", "Escape")
                    recorder.wait_for(lambda: recorder.beacons(ev="answer", key=key),
                                      what="dialog answered")
                    self.assertEqual([b["r"] for b in recorder.beacons(ev="answer", key=key)],
                                     [answer])
                    recorder.wait_for(lambda: page_dimmed(False), what="dialog gone")
                    self.assertIsNone(program.process.poll())

            with self.subTest(dialog="leaving the page"):
                recorder.clear()
                h.click(window, 192, 8)  # a channel press asks the page first
                recorder.wait_for(lambda: page_dimmed(True), what="dialog shown")
                h.x("xdotool", "key", "Escape")
                recorder.wait_for(lambda: page_dimmed(False), what="dialog gone")
                time.sleep(1.0)
                self.assertEqual(recorder.pages(), [])
                self.assertIsNone(program.process.poll())

            h.x("xdotool", "key", "Escape")
            self.assertEqual(program.wait(), 0)

    def test_a_pressed_channel_plays_with_its_sound(self):
        with self.sites(REPORTING_START, **{"/tv/": SOUND_PAGE}) as sites, \
                h.running() as (program, window):
            recorder = sites.recorder
            recorder.wait_for(lambda: recorder.beacons(ev="load"), what="start page")
            h.click(window, 192, 8)
            pressed = time.monotonic()

            def advancing():
                playing = [float(b["t"]) for b in recorder.beacons(ev="state", paused="false",
                                                                    muted="false")]
                return len(playing) >= 2 and playing[-1] > playing[0]

            recorder.wait_for(advancing, what="unmuted playback advancing")
            print("\nplaying with sound %.1f s after the press" % (time.monotonic() - pressed))

    def test_browser_keys(self):
        # (key, whether the page keeps its keys, the pages shown afterwards)
        cases = [
            ("F5", False, ["/tv/tv1.html"]),
            ("ctrl+r", False, ["/tv/tv1.html"]),
            ("F5", True, []),
            ("ctrl+r", True, []),
        ]
        for key, page_takes, shown in cases:
            page = KEYS_PAGE.replace("location.search.indexOf('take') >= 0",
                                     "true" if page_takes else "false")
            with self.subTest(key=key, page_takes=page_takes), self.sites(page) as sites, \
                    h.running() as (program, window):
                recorder = sites.recorder
                recorder.wait_for(lambda: recorder.beacons(ev="show"), what="page shown")
                h.activate(window)
                h.click(window, 400, 300)
                time.sleep(0.3)
                recorder.clear()
                h.x("xdotool", "key", "--clearmodifiers", key)
                recorder.wait_for(lambda: recorder.beacons(ev="key"), what="key at the page")
                if shown:
                    recorder.wait_for(lambda: recorder.beacons(ev="show"), what="reload")
                time.sleep(1.0)
                self.assertEqual([b["page"] for b in recorder.beacons(ev="show")], shown)
                self.assertIsNone(program.process.poll())

        with self.subTest("back and forward"), self.sites(KEYS_PAGE, **{"/tv/": KEYS_PAGE}) \
                as sites, h.running() as (program, window):
            recorder = sites.recorder
            recorder.wait_for(lambda: recorder.beacons(ev="show"), what="page shown")
            h.activate(window)
            h.click(window, 192, 8)
            recorder.wait_for(lambda: recorder.beacons(page="/tv/"), what="second channel")
            for key, page in [("alt+Left", "/tv/tv1.html"), ("alt+Right", "/tv/")]:
                h.click(window, 400, 300)
                time.sleep(0.3)
                recorder.clear()
                h.x("xdotool", "key", "--clearmodifiers", key)
                recorder.wait_for(lambda: recorder.beacons(ev="show"), what="page after " + key)
                self.assertEqual([b["page"] for b in recorder.beacons(ev="show")], [page])


if __name__ == "__main__":
    h.main()
