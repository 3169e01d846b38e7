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
                    time.sleep(1.0)
                    h.screenshot(shot)
                    # The test pattern fills the screen, the bar's corner included.
                    self.assertGreater(mean_brightness(shot, 1366, 768, 0, 0), 60)
                    self.assertGreater(mean_brightness(shot, 952, 16, 0, 0), 40)
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
                    time.sleep(1.0)
                    self.assertIsNone(program.process.poll())
                    h.screenshot(shot)
                    bar_after = os.path.join(program.home, "bar-after.png")
                    h.x("convert", shot, "-crop", "952x16+%d+%d" % (ox, oy), "+repage",
                        bar_after)
                    self.assertTrue(same_picture(bar_before, bar_after))
                    for cx, cy in [(330, 16), (944, 16), (0, 591), (944, 591)]:
                        self.assertEqual(h.pixel(shot, ox + cx, oy + cy), RED, (cx, cy))
                    for cx, cy in [(0, 15), (945, 100), (100, 592)]:
                        self.assertEqual(h.pixel(shot, ox + cx, oy + cy), BLACK, (cx, cy))


if __name__ == "__main__":
    h.main()
