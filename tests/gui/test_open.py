"""The home page after an update notice reaches a desktop browser that the
session bus starts by name, every time; a failed open still ends the program
with code 0, and says so in one line."""

import os
import subprocess
import sys
import tempfile
import time
import unittest

import harness as h
from kept_errors import KeptErrors
from session_bus import SessionBus
from test_version import UPDATE, watch

HELPER = os.environ.get("VEXALINE_FAKE_DBUS_BROWSER", "")
BROWSER_ID = "org.vexaline.FakeBrowser"
ABSENT_ID = "org.vexaline.AbsentBrowser"  # a default browser that nothing answers for
HOME_PAGE = "http://127.0.0.1:%d" % h.MAKER
RUNS = 10


class BusBrowser:
    """The fake browser owning its name on the bus; records what it opens."""

    def __init__(self, bus):
        self.bus = bus
        self.folder = tempfile.mkdtemp(prefix="vexaline-browser-")
        self.record = os.path.join(self.folder, "opened")

    def __enter__(self):
        env = dict(os.environ, DBUS_SESSION_BUS_ADDRESS=self.bus.address)
        path = "/" + BROWSER_ID.replace(".", "/")
        self.process = subprocess.Popen([HELPER, BROWSER_ID, path, self.record], env=env,
                                        stdout=subprocess.PIPE, text=True)
        ready = self.process.stdout.readline().strip()
        self.process.stdout.close()
        if ready != "ready":
            raise AssertionError("the fake browser did not take its name")
        return self

    def __exit__(self, *exc):
        self.process.terminate()
        self.process.wait()
        h.shutil.rmtree(self.folder, ignore_errors=True)

    def opened(self):
        if not os.path.exists(self.record):
            return []
        with open(self.record) as f:
            return f.read().split()


class BusProgram(KeptErrors):
    """The program on the test's bus, whose default browser is `browser_id`
    started over D-Bus; its error output is kept."""

    def __init__(self, bus, browser_id):
        super().__init__()
        self.bus = bus
        with open(os.path.join(self.home, "data", "applications", browser_id + ".desktop"), "w") as f:
            f.write("[Desktop Entry]\nType=Application\nName=Fake bus browser\nExec=/bin/false %u\n"
                    "DBusActivatable=true\nMimeType=x-scheme-handler/http;x-scheme-handler/https;\n")
        with open(os.path.join(self.home, "config", "mimeapps.list"), "w") as f:
            f.write("[Default Applications]\nx-scheme-handler/http=%s.desktop\n"
                    "x-scheme-handler/https=%s.desktop\n" % (browser_id, browser_id))

    def env(self):
        return dict(super().env(), DBUS_SESSION_BUS_ADDRESS=self.bus.address)


def run_update(bus, browser_id):
    """One run that announces an update; returns the exit code and the error
    lines that name the home page."""
    program = BusProgram(bus, browser_id).start()
    try:
        seen, mapped = watch(program)
        if seen != [UPDATE] or mapped:
            raise AssertionError("expected one update notice, saw %r" % seen)
        code = program.wait()
        return code, [line for line in program.error_lines() if HOME_PAGE in line]
    finally:
        program.stop()


class OpenHomePage(unittest.TestCase):
    def test_every_open_reaches_a_bus_started_browser(self):
        received = 0
        with h.Sites(version=b"1.3", ports=(h.MAKER, h.LINE1)), SessionBus() as bus, \
                BusBrowser(bus) as browser:
            for run in range(RUNS):
                code, errors = run_update(bus, BROWSER_ID)
                self.assertEqual(code, 0)
                self.assertEqual(errors, [])
                # The open is complete when the program has ended; allow a
                # moment only for a call still travelling on the bus.
                end = time.monotonic() + 2
                while len(browser.opened()) <= run and time.monotonic() < end:
                    time.sleep(0.05)
                received = len(browser.opened())
            print("calls received: %d of %d" % (received, RUNS), file=sys.stderr)
            self.assertEqual(browser.opened(), [HOME_PAGE] * RUNS)

    def test_failed_open_ends_with_code_0_and_one_line(self):
        with h.Sites(version=b"1.3", ports=(h.MAKER, h.LINE1)), SessionBus() as bus:
            code, errors = run_update(bus, ABSENT_ID)
            self.assertEqual(code, 0)
            self.assertEqual(len(errors), 1, errors)


if __name__ == "__main__":
    if not HELPER:
        sys.exit("VEXALINE_FAKE_DBUS_BROWSER is not set")
    h.main()
