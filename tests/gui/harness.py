"""Drives the real program on an X display with a window manager, against
loopback servers that record what they are asked for."""

import contextlib
import http.server
import os
import shutil
import socket
import subprocess
import sys
import tempfile
import threading
import time
import unittest
import urllib.parse

BINARY = os.environ.get("VEXALINE_BINARY", "")
MAKER, LINE1, LINE2, LINE3, BLOG = 18080, 18081, 18082, 18083, 18084
TITLE = "Vexaline V1.4        Corvanth制作"

# A page that tells its server what it sees: its size, its keys, its load.
REPORTING_PAGE = """<!doctype html><html><head><meta charset="utf-8"><style>
html,body{margin:0;height:100%%;overflow:hidden;background:#%(colour)s}</style></head>
<body><input id="field" autofocus style="opacity:0.01"><script>
function report(what){fetch('/beacon?'+what+'&page='+encodeURIComponent(location.pathname)).catch(()=>{});}
addEventListener('load',()=>{document.getElementById('field').focus();
  report('ev=load&w='+innerWidth+'&h='+innerHeight);});
addEventListener('resize',()=>report('ev=resize&w='+innerWidth+'&h='+innerHeight));
addEventListener('keydown',e=>report('ev=key&key='+encodeURIComponent(e.key)+'&shift='+e.shiftKey),true);
</script></body></html>"""


class Recorder:
    def __init__(self):
        self.lock = threading.Lock()
        self.requests = []  # (port, path, query dict, time)

    def add(self, port, path, query):
        with self.lock:
            self.requests.append((port, path, query, time.monotonic()))

    def pages(self):
        with self.lock:
            return [(p, path) for p, path, _, _ in self.requests if path != "/beacon" and path != "/favicon.ico"]

    def beacons(self, **match):
        with self.lock:
            found = [q for _, path, q, _ in self.requests if path == "/beacon"]
        return [q for q in found if all(q.get(k) == v for k, v in match.items())]

    def clear(self):
        with self.lock:
            self.requests.clear()

    def wait_for(self, predicate, timeout=20.0, what="condition"):
        end = time.monotonic() + timeout
        while time.monotonic() < end:
            value = predicate()
            if value:
                return value
            time.sleep(0.05)
        raise AssertionError("timed out waiting for " + what)


class Sites:
    """Loopback servers on every port the test build uses."""

    def __init__(self, version=b"1.4", files=None, colour="cc0000",
                 ports=(MAKER, LINE1, LINE2, LINE3, BLOG)):
        self.ports = ports
        self.recorder = Recorder()
        self.version = version
        self.files = files or {}
        self.colour = colour
        self.servers = []

    def handler(self, port):
        sites = self

        class Handler(http.server.BaseHTTPRequestHandler):
            protocol_version = "HTTP/1.0"

            def log_message(self, *args):
                pass

            def do_GET(self):
                url = urllib.parse.urlsplit(self.path)
                query = dict(urllib.parse.parse_qsl(url.query))
                sites.recorder.add(port, url.path, query)
                if port == MAKER and url.path == "/ver.txt":
                    return self.reply(200, sites.version, "text/plain")
                if url.path in sites.files:
                    # body, type and optionally further headers
                    return self.reply(200, *sites.files[url.path])
                if url.path in ("/beacon", "/favicon.ico"):
                    return self.reply(204, b"", "text/plain")
                page = REPORTING_PAGE % {"colour": sites.colour}
                self.reply(200, page.encode(), "text/html; charset=utf-8")

            def reply(self, status, body, kind, headers=None):
                self.send_response(status)
                self.send_header("Content-Type", kind)
                for name, value in (headers or {}).items():
                    self.send_header(name, value)
                self.send_header("Content-Length", str(len(body)))
                self.send_header("Cache-Control", "no-store")
                self.end_headers()
                try:
                    self.wfile.write(body)
                except ConnectionError:
                    pass  # the client gave up, e.g. a download the user cancelled

        return Handler

    def __enter__(self):
        for port in self.ports:
            http.server.ThreadingHTTPServer.allow_reuse_address = True
            server = http.server.ThreadingHTTPServer(("127.0.0.1", port), self.handler(port))
            server.daemon_threads = True
            threading.Thread(target=server.serve_forever, daemon=True).start()
            self.servers.append(server)
        return self

    def __exit__(self, *exc):
        for server in self.servers:
            server.shutdown()
            server.server_close()


def x(*args, check=True):
    return subprocess.run(args, capture_output=True, text=True, check=check).stdout


def find_windows(name, visible=True):
    args = ["xdotool", "search"] + (["--onlyvisible"] if visible else []) + ["--name", "^" + name + "$"]
    return [int(w) for w in x(*args, check=False).split()]


def geometry(window):
    info = x("xwininfo", "-id", str(window))
    fields = {}
    for line in info.splitlines():
        key, _, value = line.strip().partition(":")
        fields[key] = value.strip()
    return (int(fields["Absolute upper-left X"]), int(fields["Absolute upper-left Y"]),
            int(fields["Width"]), int(fields["Height"]))


def frame_of(window):
    """The window manager's frame: the child of the root that holds the window."""
    current = window
    while True:
        tree = x("xwininfo", "-children", "-id", str(current))
        parent = int(tree.split("Parent window id: ")[1].split()[0], 16)
        root = int(tree.split("Root window id: ")[1].split()[0], 16)
        if parent == root:
            return current
        current = parent


def screenshot(path):
    x("import", "-window", "root", path)


def pixel(path, px, py):
    out = x("convert", path, "-format", "%%[pixel:p{%d,%d}]" % (px, py), "info:")
    return out.strip()


def sandbox_available():
    probe = subprocess.run(["bwrap", "--ro-bind", "/", "/", "--unshare-all", "true"],
                           capture_output=True)
    return probe.returncode == 0


class Program:
    """The built program, started with a private home and desktop."""

    def __init__(self):
        self.home = tempfile.mkdtemp(prefix="vexaline-test-")
        self.opened = os.path.join(self.home, "opened")
        apps = os.path.join(self.home, "data", "applications")
        os.makedirs(apps)
        os.makedirs(os.path.join(self.home, "config"))
        handler = os.path.join(self.home, "fake-browser")
        with open(handler, "w") as f:
            f.write("#!/bin/sh\nprintf '%%s\\n' \"$1\" >> '%s'\n" % self.opened)
        os.chmod(handler, 0o755)
        with open(os.path.join(apps, "fake-browser.desktop"), "w") as f:
            f.write("[Desktop Entry]\nType=Application\nName=Fake browser\nExec=%s %%u\n"
                    "MimeType=x-scheme-handler/http;x-scheme-handler/https;\n" % handler)
        with open(os.path.join(self.home, "config", "mimeapps.list"), "w") as f:
            f.write("[Default Applications]\nx-scheme-handler/http=fake-browser.desktop\n"
                    "x-scheme-handler/https=fake-browser.desktop\n")
        self.process = None
        self.bus_pid = None

    def env(self):
        env = {k: v for k, v in os.environ.items() if "proxy" not in k.lower()}
        if not sandbox_available():
            # Containers without user namespaces cannot run the engine's
            # sandbox; only the tests may do without it, never the program.
            env["WEBKIT_DISABLE_SANDBOX_THIS_IS_DANGEROUS"] = "1"
        env.update(HOME=self.home, XDG_CONFIG_HOME=os.path.join(self.home, "config"),
                   XDG_DATA_HOME=os.path.join(self.home, "data"),
                   XDG_CACHE_HOME=os.path.join(self.home, "cache"),
                   XDG_DATA_DIRS=os.path.join(self.home, "data") + ":/usr/local/share:/usr/share",
                   NO_AT_BRIDGE="1", GTK_A11Y="none")
        return env

    def start(self, cwd="/", env=None, binary=None, stderr=subprocess.DEVNULL):
        env = env or self.env()
        self.start_session_bus(env)
        self.process = subprocess.Popen([binary or BINARY], env=env, cwd=cwd,
                                        stdout=subprocess.DEVNULL, stderr=stderr)
        return self

    def start_session_bus(self, env):
        """A session bus of the program's own, with its home. Without one the
        desktop libraries start a bus bound to the display, which outlives
        the program and hands the next one paths inside a removed home."""
        if "DBUS_SESSION_BUS_ADDRESS" in env:
            return
        out = subprocess.run(["dbus-daemon", "--session", "--fork", "--print-address=1",
                              "--print-pid=1"], env=env, capture_output=True, text=True,
                             check=True).stdout
        address, pid = out.split()
        self.bus_pid = int(pid)
        env["DBUS_SESSION_BUS_ADDRESS"] = address

    def window_named(self, name, timeout=20, what="main window"):
        """The first visible window of that name, while the program runs."""
        end = time.monotonic() + timeout
        while time.monotonic() < end:
            found = find_windows(name)
            if found:
                return found[0]
            if self.process.poll() is not None:
                raise AssertionError("program ended with %d before its %s"
                                     % (self.process.returncode, what))
            time.sleep(0.05)
        raise AssertionError(what + " never appeared")

    def main_window(self, timeout=20):
        return self.window_named(TITLE, timeout)

    def wait(self, timeout=20):
        return self.process.wait(timeout=timeout)

    def opened_addresses(self):
        if not os.path.exists(self.opened):
            return []
        with open(self.opened) as f:
            return f.read().split()

    def stop(self):
        if self.process and self.process.poll() is None:
            self.process.kill()
            self.process.wait()
        if self.bus_pid:
            os.kill(self.bus_pid, 15)
            self.bus_pid = None
        shutil.rmtree(self.home, ignore_errors=True)


@contextlib.contextmanager
def running(sites=None):
    """The program shown and its line-1 page loaded."""
    if sites:
        sites.recorder.clear()
    program = Program().start()
    try:
        window = program.main_window()
        if sites:
            sites.recorder.wait_for(lambda: sites.recorder.beacons(ev="load"), what="line-1 page load")
        yield program, window
    finally:
        program.stop()


def client_origin(window):
    gx, gy, _, _ = geometry(window)
    return gx, gy


def activate(window):
    """Raises and focuses the window; the window manager may refuse while it
    is still settling a new window, so ask again a few times."""
    for _ in range(10):
        if subprocess.run(["xdotool", "windowactivate", "--sync", str(window)],
                          capture_output=True).returncode == 0:
            return
        time.sleep(0.3)
    raise AssertionError("window %d cannot be activated" % window)


def click(window, cx, cy, button=1, repeat=1):
    ox, oy = client_origin(window)
    x("xdotool", "mousemove", "--sync", str(ox + cx), str(oy + cy))
    x("xdotool", "click", "--repeat", str(repeat), "--delay", "80", str(button))


def main():
    if not BINARY:
        sys.exit("VEXALINE_BINARY is not set")
    unittest.main(module="__main__", verbosity=2)
