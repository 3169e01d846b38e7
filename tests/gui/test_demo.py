"""The bundled demo sites: every address the demo build uses answers, and
a demo channel plays live in the pane."""

import os
import subprocess
import sys
import time
import unittest
import urllib.request

import harness as h

ROOT = os.path.dirname(os.path.dirname(os.path.dirname(os.path.abspath(__file__))))
DEMO_BINARY = os.environ.get("VEXALINE_DEMO_BINARY", "")
ADDRESSES = [
    "http://127.0.0.1:28080/ver.txt",
    "http://127.0.0.1:28081/tv/tv1.html",
    "http://127.0.0.1:28082/tv/",
    "http://127.0.0.1:28083/images/img/100/",
    "http://127.0.0.1:28080/hunan.html",
    "http://127.0.0.1:28084/post/recommended-software.html",
    "http://127.0.0.1:28080",
]
STREAMS = [28080, 28081, 28082, 28083]


def fetch(address):
    with urllib.request.urlopen(address, timeout=5) as response:
        return response.status, response.read()


class DemoSites(unittest.TestCase):
    @classmethod
    def setUpClass(cls):
        cls.sites = subprocess.Popen([sys.executable, os.path.join(ROOT, "demo", "serve.py")],
                                     stdout=subprocess.DEVNULL)
        h.Recorder().wait_for(lambda: all(cls.playlist_ready(port) for port in STREAMS),
                              timeout=60, what="the live streams")

    @classmethod
    def tearDownClass(cls):
        cls.sites.terminate()
        cls.sites.wait(timeout=30)

    @staticmethod
    def playlist_ready(port):
        try:
            return b".ts" in fetch("http://127.0.0.1:%d/live/stream.m3u8" % port)[1]
        except OSError:
            return False

    def test_every_address_answers(self):
        for address in ADDRESSES:
            with self.subTest(address):
                status, body = fetch(address)
                self.assertEqual(status, 200)
                if address.endswith("/ver.txt"):
                    self.assertEqual(body, b"1.4")

    def test_a_channel_plays_in_the_viewer(self):
        program = h.Program()
        try:
            program.start(binary=DEMO_BINARY)
            window = program.main_window()
            ox, oy = h.client_origin(window)
            # The stream burns a running clock into the picture: the pane's
            # picture keeps changing while it plays.
            shots = []
            for i in range(2):
                time.sleep(8 if i == 0 else 3)
                path = os.path.join(program.home, "shot%d.png" % i)
                h.screenshot(path)
                crop = os.path.join(program.home, "pane%d.png" % i)
                h.x("convert", path, "-crop", "945x520+%d+%d" % (ox, oy + 56), crop)
                shots.append(crop)
            difference = subprocess.run(["compare", "-metric", "AE", shots[0], shots[1], "null:"],
                                        capture_output=True, text=True).stderr.split()[0]
            self.assertGreater(float(difference), 1000)
        finally:
            program.stop()


if __name__ == "__main__":
    h.main()
