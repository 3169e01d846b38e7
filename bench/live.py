"""Live HLS channels for the playback figures: a 1280x720 25 fps clip with
sound, encoded once per channel and then looped by ffmpeg into a sliding
live playlist without re-encoding, so the encoder costs next to nothing
while the programs are measured. The channel pages report to their server
when the first frame is presented and, every second, the frame counts of
getVideoPlaybackQuality()."""

import os
import subprocess

KINDS = {".m3u8": "application/vnd.apple.mpegurl", ".m4s": "video/iso.segment",
         ".mp4": "video/mp4"}
# The multivariant playlist names the codecs (High 3.1, AAC-LC): one engine
# will not parse muxed audio in a live stream without them.
MASTER = """#EXTM3U
#EXT-X-VERSION:7
#EXT-X-STREAM-INF:BANDWIDTH=3000000,RESOLUTION=1280x720,CODECS="avc1.64001f,mp4a.40.2"
stream.m3u8
"""

# One big link over the video: the peers zap by a click on the page, the
# viewer by a press on its label. A button in the corner turns the sound on.
CHANNEL_PAGE = """<!doctype html><html><head><meta charset="utf-8"><style>
html,body{margin:0;height:100%%;overflow:hidden;background:#000}
video{display:block;width:100%%;height:100%%}
a{position:fixed;left:0;top:0;right:0;bottom:0;z-index:1}
#sound{position:fixed;left:0;top:0;width:200px;height:100px;z-index:2;opacity:0.01}
</style></head><body>
<a id="next" href="%(next)s"></a><button id="sound">sound</button>
<video id="v" autoplay muted playsinline></video>
<script src="/player/hls.min.js"></script><script>
const v = document.getElementById('v');
const source = '/live/%(channel)s/master.m3u8';
// As live-TV pages do: the script player where the engine has media source
// extensions, the engine's own HLS support otherwise (or when asked).
if (%(script_player)s && window.Hls && Hls.isSupported()) {
  const player = new Hls();
  player.loadSource(source);
  player.attachMedia(v);
} else {
  v.src = source;
}
function report(q) {
  fetch('/beacon?' + q + '&page=' + encodeURIComponent(location.pathname)).catch(() => {});
}
addEventListener('load', () => report('ev=load'));
// Engines let a page start playing by itself only without sound, so a
// click in the top-left corner turns it on, as on live-TV pages.
document.getElementById('sound').addEventListener('click', () => {
  v.muted = false;
  v.play().then(() => report('ev=sound'), err => report('ev=soundfailed&name=' + err.name));
});
let shown = false;
function first(how) { if (!shown) { shown = true; report('ev=frame&how=' + how); } }
// The first frame presented while playing (a paused preview does not
// count); where frame callbacks do not come, the first display frame at
// which the playing clock has moved on.
function onFrame() { if (!v.paused) first('rvfc'); else v.requestVideoFrameCallback(onFrame); }
if ('requestVideoFrameCallback' in v) v.requestVideoFrameCallback(onFrame);
let start = null;
function poll() {
  if (shown) return;
  if (!v.paused && v.readyState >= 2) {
    if (start === null) start = v.currentTime;
    else if (v.currentTime > start) return first('clock');
  }
  requestAnimationFrame(poll);
}
requestAnimationFrame(poll);
setInterval(() => {
  const q = v.getVideoPlaybackQuality();
  report('ev=quality&dropped=' + q.droppedVideoFrames + '&decoded=' + q.totalVideoFrames +
         '&t=' + v.currentTime.toFixed(2) + '&paused=' + v.paused + '&muted=' + v.muted +
         '&error=' + (v.error ? v.error.code + ':' + v.error.message : 0) +
         '&buffered=' + (v.buffered.length ?
             (v.buffered.end(v.buffered.length - 1) - v.buffered.start(0)).toFixed(1) : 0));
}, 1000);
</script></body></html>"""

PATTERNS = {"one": "testsrc2", "two": "testsrc"}


def encode_clip(folder, channel):
    path = os.path.join(folder, channel + ".mp4")
    subprocess.run(["ffmpeg", "-hide_banner", "-loglevel", "error", "-y",
                    "-f", "lavfi", "-i", "%s=size=1280x720:rate=25" % PATTERNS[channel],
                    "-f", "lavfi", "-i", "sine=frequency=440:sample_rate=48000",
                    "-t", "20", "-c:v", "libx264", "-preset", "veryfast", "-profile:v", "high",
                    "-level", "3.1", "-pix_fmt", "yuv420p",
                    "-g", "50", "-keyint_min", "50", "-sc_threshold", "0",
                    "-c:a", "aac", "-b:a", "128k", "-ac", "2", path], check=True)
    return path


class Channels:
    """The live streams of both channels, running while the bench runs."""

    def __init__(self, folder):
        self.folder = folder
        self.encoders = []

    def __enter__(self):
        for channel in PATTERNS:
            clip = encode_clip(self.folder, channel)
            out = os.path.join(self.folder, "live", channel)
            os.makedirs(out, exist_ok=True)
            self.encoders.append(subprocess.Popen(
                ["ffmpeg", "-hide_banner", "-loglevel", "error", "-re", "-stream_loop", "-1",
                 "-i", clip, "-c", "copy", "-hls_segment_type", "fmp4", "-f", "hls",
                 "-hls_time", "2", "-hls_list_size", "5",
                 "-hls_flags", "delete_segments+omit_endlist",
                 os.path.join(out, "stream.m3u8")], stdin=subprocess.DEVNULL))
        return self

    def __exit__(self, *exc):
        for encoder in self.encoders:
            encoder.terminate()
        for encoder in self.encoders:
            encoder.wait()

    def ready(self):
        return all(os.path.exists(os.path.join(self.folder, "live", c, "stream.m3u8"))
                   and len(self.segments(c)) >= 3 for c in PATTERNS)

    def segments(self, channel):
        return [n for n in os.listdir(os.path.join(self.folder, "live", channel))
                if n.endswith(".m4s")]


class LiveFiles(dict):
    """The loopback servers' files: fixed pages plus whatever the live
    streams hold on disk at the moment of the request."""

    def __init__(self, folder, fixed):
        super().__init__(fixed)
        self.folder = folder

    def _disk(self, path):
        if not path.startswith("/live/") or ".." in path:
            return None
        ext = os.path.splitext(path)[1]
        if ext not in KINDS:
            return None
        try:
            with open(os.path.join(self.folder, path.lstrip("/")), "rb") as f:
                return f.read(), KINDS[ext]
        except OSError:
            return None

    def __contains__(self, path):
        return super().__contains__(path) or self._disk(path) is not None

    def __getitem__(self, path):
        if super().__contains__(path):
            return super().__getitem__(path)
        found = self._disk(path)
        if found is None:
            raise KeyError(path)
        return found


def pages(line1, line2, script_player):
    """Line 1 shows channel one and links to line 2's page, which shows
    channel two and links back. script_player: the text of the script HLS
    player, or None for the engines' own HLS support."""
    common = {"script_player": "true" if script_player else "false"}
    one = CHANNEL_PAGE % dict(common, channel="one", next="http://127.0.0.1:%d/tv/" % line2)
    two = CHANNEL_PAGE % dict(common, channel="two", next="http://127.0.0.1:%d/tv/tv1.html" % line1)
    files = {"/player/hls.min.js": (script_player or b"", "text/javascript"),
             "/tv/tv1.html": (one.encode(), "text/html"), "/tv/": (two.encode(), "text/html")}
    for channel in PATTERNS:
        files["/live/%s/master.m3u8" % channel] = (MASTER.encode(), KINDS[".m3u8"])
    return files
