"""The start-up version check, end to end: what the user sees for each
version file, what is opened, and how the program ends."""

import socket
import threading
import time
import unittest

import harness as h

FAILURE, UPDATE = "提示", "版本更新"


class RawVersionServer:
    """Answers every connection on the maker's port with fixed raw bytes."""

    def __init__(self, response):
        self.response = response
        self.sent = None  # when the last response was handed over
        self.listener = socket.socket()
        self.listener.setsockopt(socket.SOL_SOCKET, socket.SO_REUSEADDR, 1)
        self.listener.bind(("127.0.0.1", h.MAKER))
        self.listener.listen(4)
        self.thread = threading.Thread(target=self.serve, daemon=True)

    def serve(self):
        while True:
            try:
                client, _ = self.listener.accept()
            except OSError:
                return
            with client:
                client.recv(4096)
                client.sendall(self.response)
                self.sent = time.monotonic()

    def __enter__(self):
        self.thread.start()
        return self

    def __exit__(self, *exc):
        self.listener.shutdown(socket.SHUT_RDWR)
        self.listener.close()
        self.thread.join()


def ok(body):
    return b"HTTP/1.0 200 OK\r\nContent-Type: text/plain\r\n\r\n" + body


CASES = [  # name, raw response or None for a refused connection, boxes in order
    ("exactly 1.4", ok(b"1.4"), []),
    ("1.4 and a zero byte", ok(b"1.4\0junk"), []),
    ("1.4 LF", ok(b"1.4\n"), [UPDATE]),
    ("1.4 CR LF", ok(b"1.4\r\n"), [UPDATE]),
    ("space before", ok(b" 1.4"), [UPDATE]),
    ("byte-order mark", ok(b"\xef\xbb\xbf1.4"), [UPDATE]),
    ("older", ok(b"1.3"), [UPDATE]),
    ("not GBK", ok(b"\xff\xfe<b>1.5</b>"), [UPDATE]),
    ("404 page", b"HTTP/1.0 404 Not Found\r\nContent-Type: text/html\r\n\r\n<html><body>Not Found</body></html>",
     [UPDATE]),
    ("cut off", b"HTTP/1.1 200 OK\r\nContent-Length: 20\r\n\r\n1.3", [UPDATE]),
    ("cut off after 1.4", b"HTTP/1.1 200 OK\r\nContent-Length: 20\r\n\r\n1.4", []),
    ("first byte zero", ok(b"\x001.4"), [FAILURE, UPDATE]),
    ("empty body", ok(b""), [FAILURE, UPDATE]),
    ("refused", None, [FAILURE, UPDATE]),
]


def watch(program):
    """Closes each box as it appears; returns the titles seen, in order, and
    whether the main window was ever mapped."""
    seen, mapped = [], False
    end = time.monotonic() + 60
    while program.process.poll() is None and time.monotonic() < end:
        if h.find_windows(h.TITLE):
            mapped = True
            break
        for title in (FAILURE, UPDATE):
            for box in h.find_windows(title):
                seen.append(title)
                h.x("xdotool", "windowactivate", "--sync", str(box), check=False)
                h.x("xdotool", "key", "--window", str(box), "Return", check=False)
                h.x("xdotool", "key", "Return", check=False)
                # Wait for this box to go before looking for the next one.
                gone = time.monotonic() + 10
                while box in h.find_windows(title) and time.monotonic() < gone:
                    time.sleep(0.05)
        time.sleep(0.05)
    return seen, mapped


class VersionCheck(unittest.TestCase):
    def test_outcomes(self):
        with h.Sites(ports=(h.LINE1,)) as sites:
            for name, response, boxes in CASES:
                with self.subTest(name):
                    program = h.Program()
                    try:
                        if response is None:
                            program.start()
                            seen, mapped = watch(program)
                        else:
                            with RawVersionServer(response):
                                program.start()
                                seen, mapped = watch(program)
                        self.assertEqual(seen, boxes)
                        self.assertEqual(mapped, not boxes)
                        if boxes:
                            self.assertEqual(program.wait(), 0)
                            h.Recorder().wait_for(program.opened_addresses, timeout=10,
                                                  what="the home page")
                            self.assertEqual(program.opened_addresses(),
                                             ["http://127.0.0.1:%d" % h.MAKER])
                        else:
                            time.sleep(0.5)
                            self.assertIsNone(program.process.poll())
                            self.assertEqual(program.opened_addresses(), [])
                    finally:
                        program.stop()


if __name__ == "__main__":
    h.main()
