"""The pane plays what live-TV pages use: H.264/AAC in MP4, and HLS."""

import os
import shutil
import subprocess
import tempfile
import unittest

import harness as h

PLAYER = """<!doctype html><html><body style="margin:0;background:#000">
<video id="v" src="%s" autoplay muted playsinline width="640" height="360"></video><script>
const v = document.getElementById('v');
let last = -1;
setInterval(() => {
  if (v.currentTime !== last) {
    last = v.currentTime;
    fetch('/beacon?ev=time&t=' + v.currentTime.toFixed(2));
  }
}, 250);
v.addEventListener('error', () => fetch('/beacon?ev=error&code=' + (v.error && v.error.code)));
</script></body></html>"""


def make_media(folder):
    source = ["-f", "lavfi", "-i", "testsrc2=size=320x180:rate=25:duration=6",
              "-f", "lavfi", "-i", "sine=frequency=440:duration=6"]
    codecs = ["-c:v", "libx264", "-preset", "ultrafast", "-pix_fmt", "yuv420p", "-g", "25",
              "-c:a", "aac", "-shortest"]
    quiet = ["ffmpeg", "-hide_banner", "-loglevel", "error", "-y"]
    subprocess.run(quiet + source + codecs + ["-movflags", "+faststart",
                                              os.path.join(folder, "clip.mp4")], check=True)
    subprocess.run(quiet + source + codecs + ["-f", "hls", "-hls_time", "2",
                                              "-hls_playlist_type", "vod",
                                              os.path.join(folder, "live.m3u8")], check=True)


class Media(unittest.TestCase):
    def test_plays(self):
        folder = tempfile.mkdtemp(prefix="vexaline-media-")
        try:
            make_media(folder)
            kinds = {".mp4": "video/mp4", ".m3u8": "application/vnd.apple.mpegurl",
                     ".ts": "video/mp2t"}
            for name, source in [("mp4", "/media/clip.mp4"), ("hls", "/media/live.m3u8")]:
                with self.subTest(name):
                    files = {}
                    for entry in os.listdir(folder):
                        with open(os.path.join(folder, entry), "rb") as f:
                            files["/media/" + entry] = (f.read(), kinds[os.path.splitext(entry)[1]])
                    files["/tv/tv1.html"] = ((PLAYER % source).encode(), "text/html")
                    with h.Sites(files=files) as sites, h.running() as (program, window):
                        sites.recorder.wait_for(
                            lambda: any(float(b["t"]) > 1.0 for b in sites.recorder.beacons(ev="time")),
                            timeout=40, what="%s playback past 1 s" % name)
                        self.assertEqual(sites.recorder.beacons(ev="error"), [])
        finally:
            shutil.rmtree(folder, ignore_errors=True)


if __name__ == "__main__":
    h.main()
