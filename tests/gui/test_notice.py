"""The update notice over huge version files: it appears, it lies within the
screen, and Return ends the program. Times are printed for the record only."""

import os
import sys
import time
import unittest
from unittest import mock

import harness as h
from session_bus import SessionBus
from test_version import UPDATE, RawVersionServer, ok

MIB = 1 << 20
SCREEN = (1366, 768)

BODIES = [  # name, version file
    ("1 MiB of one byte", b"7" * MIB),
    ("1 MiB of words", b"word " * (MIB // 5)),
    ("1,000 characters", b"0123456789" * 100),
    ("1 MiB of one ideograph", "发".encode("gbk") * (MIB // 2)),
]


def wait_for_box(program, timeout=60):
    return program.window_named(UPDATE, timeout, what="update notice")


class HugeVersionFile(unittest.TestCase):
    def test_notice_fits_the_screen_and_return_ends(self):
        with h.Sites(ports=(h.LINE1,)), SessionBus() as bus, \
                mock.patch.dict(os.environ, DBUS_SESSION_BUS_ADDRESS=bus.address):
            for name, body in BODIES:
                with self.subTest(name):
                    program = h.Program()
                    try:
                        with RawVersionServer(ok(body)) as server:
                            program.start()
                            box = wait_for_box(program)
                            shown = time.monotonic()
                            # Let the box settle into its final size first.
                            time.sleep(0.5)
                            left, top, width, height = h.geometry(h.frame_of(box))
                        h.activate(box)
                        pressed = time.monotonic()
                        h.x("xdotool", "key", "Return")
                        code = program.wait(timeout=60)
                        ended = time.monotonic()
                        print("%s: notice %.2f s after the response, frame %dx%d at %d,%d, "
                              "ended %.2f s after Return" % (name, shown - server.sent, width, height,
                                                             left, top, ended - pressed),
                              file=sys.stderr)
                        self.assertEqual(code, 0)
                        self.assertGreaterEqual(left, 0)
                        self.assertGreaterEqual(top, 0)
                        self.assertLessEqual(left + width, SCREEN[0])
                        self.assertLessEqual(top + height, SCREEN[1])
                    finally:
                        program.stop()


if __name__ == "__main__":
    h.main()
