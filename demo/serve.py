#!/usr/bin/env python3
"""The demo sites on loopback: static pages from demo/sites, and for each
channel a live HLS stream that ffmpeg makes from a test pattern with a clock."""

import functools
import http.server
import os
import shutil
import signal
import subprocess
import sys
import tempfile
import threading

HERE = os.path.dirname(os.path.abspath(__file__))
# site folder, port, the live stream's caption (none: no stream), and the
# channel page that shows the stream: its path and heading
SITES = [("maker", 28080, "HUNAN", "hunan.html", "湖南卫视专线 · 演示直播", "#a05"),
         ("line1", 28081, "LINE 1", "tv/tv1.html", "线路一 · 演示直播", "#0a5"),
         ("line2", 28082, "LINE 2", "tv/index.html", "线路二 · 演示直播", "#05a"),
         ("line3", 28083, "LINE 3", "images/img/100/index.html", "线路三 · 演示直播", "#a50"),
         ("blog", 28084, None, None, None, None)]
CHANNEL_PAGE = """<!doctype html>
<html lang="zh-CN"><head><meta charset="utf-8"><title>{title}</title>
<style>html,body{{margin:0;height:100%;background:#111;color:#eee;font-family:sans-serif}}
h1{{margin:0;padding:8px 16px;font-size:18px;background:{colour}}}
video{{display:block;width:100%;height:calc(100% - 40px);background:#000}}</style></head>
<body><h1>{title}</h1>
<video src="/live/stream.m3u8" autoplay muted controls playsinline></video>
</body></html>
"""
COLOURS = {"LINE 1": "testsrc2", "LINE 2": "smptebars", "LINE 3": "rgbtestsrc", "HUNAN": "testsrc"}


def live_stream(folder, caption):
    os.makedirs(folder, exist_ok=True)
    pattern = COLOURS[caption]
    video = ("%s=size=640x360:rate=25,drawtext=text='%s  %%{localtime\\:%%T}':fontsize=40:"
             "fontcolor=white:box=1:boxcolor=black@0.6:x=20:y=20" % (pattern, caption))
    return subprocess.Popen(
        ["ffmpeg", "-hide_banner", "-loglevel", "error", "-re",
         "-f", "lavfi", "-i", video, "-f", "lavfi", "-i", "sine=frequency=440:sample_rate=44100",
         "-c:v", "libx264", "-preset", "ultrafast", "-tune", "zerolatency", "-pix_fmt", "yuv420p",
         "-g", "50", "-c:a", "aac", "-b:a", "64k",
         "-f", "hls", "-hls_time", "2", "-hls_list_size", "5",
         "-hls_flags", "delete_segments+omit_endlist", os.path.join(folder, "stream.m3u8")],
        stdin=subprocess.DEVNULL)


class Quiet(http.server.SimpleHTTPRequestHandler):
    protocol_version = "HTTP/1.0"
    extensions_map = {**http.server.SimpleHTTPRequestHandler.extensions_map,
                      ".m3u8": "application/vnd.apple.mpegurl", ".ts": "video/mp2t",
                      ".txt": "text/plain"}

    def end_headers(self):
        self.send_header("Cache-Control", "no-store")
        super().end_headers()

    def log_message(self, *args):
        pass


def main():
    root = tempfile.mkdtemp(prefix="vexaline-demo-")
    encoders, servers = [], []

    def stop(*_):
        for server in servers:
            threading.Thread(target=server.shutdown).start()

    signal.signal(signal.SIGTERM, stop)
    signal.signal(signal.SIGINT, stop)
    try:
        for name, port, caption, page, title, colour in SITES:
            folder = os.path.join(root, name)
            static = os.path.join(HERE, "sites", name)
            if os.path.isdir(static):
                shutil.copytree(static, folder)
            os.makedirs(folder, exist_ok=True)
            if caption:
                encoders.append(live_stream(os.path.join(folder, "live"), caption))
                path = os.path.join(folder, page)
                os.makedirs(os.path.dirname(path), exist_ok=True)
                with open(path, "w", encoding="utf-8") as f:
                    f.write(CHANNEL_PAGE.format(title=title, colour=colour))
            handler = functools.partial(Quiet, directory=folder)
            server = http.server.ThreadingHTTPServer(("127.0.0.1", port), handler)
            server.daemon_threads = True
            servers.append(server)
        print("demo sites on 127.0.0.1:28080-28084", flush=True)
        threads = [threading.Thread(target=s.serve_forever) for s in servers]
        for thread in threads:
            thread.start()
        for thread in threads:
            thread.join()
    finally:
        for encoder in encoders:
            encoder.terminate()
        for encoder in encoders:
            encoder.wait()
        for server in servers:
            server.server_close()
        shutil.rmtree(root, ignore_errors=True)


if __name__ == "__main__":
    sys.exit(main())
