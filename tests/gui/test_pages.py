"""What pages ask of the viewer beyond their pane: new windows, downloads,
error pages, and a page whose engine process dies."""

import http.server
import os
import signal
import ssl
import subprocess
import tempfile
import threading
import unittest

import harness as h

PANE_TOP = 16  # the pane's top in the main window's client area


def program_windows(program):
    """The visible top-level windows of the program, by _NET_WM_PID: id -> title."""
    found = h.x("xdotool", "search", "--onlyvisible", "--pid", str(program.process.pid), check=False)
    return {int(w): h.x("xdotool", "getwindowname", w, check=False).strip() for w in found.split()}


def wait_window(program, title, timeout=20):
    return h.Recorder().wait_for(
        lambda: next((w for w, t in program_windows(program).items() if t == title), None),
        timeout=timeout, what="a window titled %r" % title)


def wait_gone(program, window):
    h.Recorder().wait_for(lambda: window not in program_windows(program), what="window closed")


def pane_pixels(program, window):
    """The pane's pixels as (width, height, RGB bytes)."""
    ox, oy, width, height = h.geometry(window)
    width, height = width - 7, height - PANE_TOP - 49
    shot = os.path.join(program.home, "shot.png")
    h.screenshot(shot)
    raw = subprocess.run(["convert", shot, "-crop", "%dx%d+%d+%d" % (width, height, ox, oy + PANE_TOP),
                          "-depth", "8", "rgb:-"], capture_output=True, check=True).stdout
    return width, height, raw


def trouble_page_retry(program, window):
    """When the pane shows the green-on-black trouble page, the client point
    of its retry button (the lowest band of green); otherwise None."""
    width, height, raw = pane_pixels(program, window)
    black = green = 0
    rows = {}
    for i in range(0, len(raw), 3):
        r, g, b = raw[i], raw[i + 1], raw[i + 2]
        if r < 40 and g < 40 and b < 40:
            black += 1
        elif g > 150 and r < 100 and b < 100:
            green += 1
            rows.setdefault(i // 3 // width, []).append(i // 3 % width)
    if black < 0.9 * width * height or green < 300:
        return None
    band = [max(rows)]
    while band[-1] - 1 in rows:
        band.append(band[-1] - 1)
    xs = [px for row in band for px in rows[row]]
    return (min(xs) + max(xs)) // 2, PANE_TOP + (band[0] + band[-1]) // 2


def wait_trouble_page(program, window):
    return h.Recorder().wait_for(lambda: trouble_page_retry(program, window), timeout=30,
                                 what="the trouble page")


def web_processes(program):
    """The engine's web-content processes below the program (inside its sandbox too)."""
    children = {}
    for entry in os.listdir("/proc"):
        if not entry.isdigit():
            continue
        try:
            with open("/proc/%s/stat" % entry) as f:
                stat = f.read()
        except OSError:
            continue
        name = stat[stat.index("(") + 1:stat.rindex(")")]
        parent = int(stat[stat.rindex(")") + 2:].split()[1])
        children.setdefault(parent, []).append((int(entry), name))
    found, todo = [], [program.process.pid]
    while todo:
        for pid, name in children.get(todo.pop(), []):
            todo.append(pid)
            if name.startswith("WebKitWebProces"):
                found.append(pid)
    return found


def beacon_page(body):
    return ("""<!doctype html><html><head><meta charset="utf-8"><title>opener</title></head>
<body style="margin:0"><script>
function report(what){fetch('/beacon?'+what).catch(()=>{});}
addEventListener('load',()=>report('ev=load'));
</script>%s</body></html>""" % body).encode()


def box(left, top, tag, attributes, text=""):
    return ('<%s %s style="position:absolute;left:%dpx;top:%dpx;width:200px;height:100px;'
            'display:block;background:#36c">%s</%s>' % (tag, attributes, left, top, text, tag))


OPENER = beacon_page(
    box(0, 0, "a", 'target="_blank" href="/popup.html?kind=link"', "link")
    + box(300, 0, "button", """onclick="report('ev=opened&got='+!!window.open('/popup.html?kind=script','','width=420,height=310'))" """)
    + box(600, 0, "a", 'href="/popup.html?kind=menu"', "menu")
    + """<script>addEventListener('load',()=>setTimeout(()=>
      report('ev=timer&got='+!!window.open('/popup.html?kind=timer')),200));</script>""")
POPUP = b"""<!doctype html><html><head><meta charset="utf-8"></head><body><script>
const kind = new URLSearchParams(location.search).get('kind');
document.title = 'popup ' + kind;
fetch('/beacon?ev=popup&kind=' + kind + '&opener=' + (window.opener ? 'yes' : 'no'));
</script></body></html>"""


def right_click_and_pick(program, window, cx, cy, downs):
    """Opens the engine's context menu at the point and takes its n-th item."""
    h.click(window, cx, cy, button=3)
    h.Recorder().wait_for(
        lambda: any("POPUP_MENU" in h.x("xprop", "-id", str(w), "_NET_WM_WINDOW_TYPE", check=False)
                    for w in program_windows(program)),
        what="the context menu")
    h.x("xdotool", "key", "--delay", "100", *(["Down"] * downs + ["Return"]))


class NewWindows(unittest.TestCase):
    def test_user_requests_open_windows_and_timers_stay_blocked(self):
        files = {"/tv/tv1.html": (OPENER, "text/html"), "/popup.html": (POPUP, "text/html")}
        with h.Sites(files=files) as sites, h.running(sites) as (program, window):
            main_icon = h.x("xprop", "-id", str(window), "_NET_WM_ICON")
            # kind, how the user asks, the page's own size for it, opener seen
            cases = [("link", lambda: h.click(window, 100, PANE_TOP + 50), None, None),
                     ("script", lambda: h.click(window, 400, PANE_TOP + 50), (420, 310), "yes"),
                     ("menu", lambda: right_click_and_pick(program, window, 700, PANE_TOP + 50, 2), None,
                      None)]
            popups = {}
            for kind, ask, size, opener in cases:
                with self.subTest(kind):
                    h.activate(window)
                    ask()
                    popup = wait_window(program, "popup " + kind)
                    popups[kind] = popup
                    beacon = sites.recorder.wait_for(
                        lambda: sites.recorder.beacons(ev="popup", kind=kind), what="popup page")
                    if size:
                        self.assertEqual(h.geometry(popup)[2:], size)
                    if opener:
                        self.assertEqual(beacon[0]["opener"], opener)
                    self.assertEqual(h.x("xprop", "-id", str(popup), "_NET_WM_ICON"), main_icon)

            with self.subTest("a timer's request stays blocked"):
                self.assertEqual([b["got"] for b in sites.recorder.beacons(ev="timer")], ["false"])
                self.assertNotIn("popup timer", program_windows(program).values())
                self.assertEqual(sites.recorder.beacons(ev="popup", kind="timer"), [])

            with self.subTest("closing a new window leaves the program running"):
                h.activate(popups["link"])
                h.x("xdotool", "key", "alt+F4")
                wait_gone(program, popups["link"])
                self.assertIsNone(program.process.poll())
                self.assertIn(window, program_windows(program))

            with self.subTest("closing the main window ends the program"):
                h.activate(window)
                h.x("xdotool", "key", "Escape")
                self.assertEqual(program.wait(), 0)


MARK = b"vexaline-download-" + os.urandom(8).hex().encode()
PAYLOAD = (MARK + b"\n") * 100000  # 3 MB: more than the engine takes in one read
DOWNLOADER = beacon_page(
    box(0, 0, "a", 'href="/attachment"', "attachment")
    + box(300, 0, "a", 'href="/unshowable"', "unshowable")
    + box(600, 0, "a", 'href="/linked.bin"', "linked")
    + '<img src="/picture.png" style="position:absolute;left:0;top:200px;width:200px;height:100px">')


class Downloads(unittest.TestCase):
    @staticmethod
    def holders(folder):
        """Files below the folder that hold any of the download's bytes."""
        found = []
        for path, _, names in os.walk(folder):
            for name in names:
                try:
                    with open(os.path.join(path, name), "rb") as f:
                        if MARK[:12] in f.read():
                            found.append(os.path.join(path, name))
                except OSError:
                    pass
        return found

    def test_every_download_asks_first(self):
        picture = subprocess.run(["convert", "-size", "40x20", "xc:red", "png:-"],
                                 capture_output=True, check=True).stdout
        files = {"/tv/tv1.html": (DOWNLOADER, "text/html"),
                 "/attachment": (PAYLOAD, "text/plain",
                                 {"Content-Disposition": 'attachment; filename="../tv guide.txt"'}),
                 "/unshowable": (PAYLOAD, "application/x-vexaline-unknown"),
                 "/linked.bin": (PAYLOAD, "application/octet-stream"),
                 "/picture.png": (picture + MARK, "image/png")}
        with h.Sites(files=files) as sites:
            program = h.Program()
            downloads = os.path.join(program.home, "Downloads")
            os.makedirs(downloads)
            with open(os.path.join(program.home, "config", "user-dirs.dirs"), "w") as f:
                f.write('XDG_DOWNLOAD_DIR="$HOME/Downloads"\n')
            try:
                program.start()
                window = program.main_window()
                sites.recorder.wait_for(lambda: sites.recorder.beacons(ev="load"), what="page load")
                cases = [("attachment", lambda: h.click(window, 100, PANE_TOP + 50)),
                         ("unshowable inline", lambda: h.click(window, 400, PANE_TOP + 50)),
                         ("Download Linked File",
                          lambda: right_click_and_pick(program, window, 700, PANE_TOP + 50, 3)),
                         ("Save Image As",
                          lambda: right_click_and_pick(program, window, 100, PANE_TOP + 250, 2))]
                for name, ask in cases:
                    with self.subTest(name):
                        h.activate(window)
                        ask()
                        dialog = wait_window(program, "保存文件")
                        self.assertEqual(self.holders(program.home), [])
                        h.activate(dialog)
                        h.x("xdotool", "key", "Escape")
                        wait_gone(program, dialog)
                        self.assertEqual(self.holders(program.home), [])
                        self.assertEqual(os.listdir(downloads), [])
                        self.assertIsNone(program.process.poll())

                with self.subTest("saving where the dialog proposes, then a notice"):
                    h.activate(window)
                    h.click(window, 100, PANE_TOP + 50)
                    dialog = wait_window(program, "保存文件")
                    h.activate(dialog)
                    h.x("xdotool", "key", "Return")
                    wait_window(program, "下载")
                    with open(os.path.join(downloads, "tv guide.txt"), "rb") as f:
                        self.assertEqual(f.read(), PAYLOAD)
                    self.assertEqual(self.holders(program.home),
                                     [os.path.join(downloads, "tv guide.txt")])
            finally:
                program.stop()


class TlsSite:
    """An HTTPS server with a self-signed certificate that records any request
    that gets through."""

    def __init__(self, port):
        self.port, self.requests = port, []

    def __enter__(self):
        self.folder = tempfile.mkdtemp(prefix="vexaline-tls-")
        key, cert = os.path.join(self.folder, "key.pem"), os.path.join(self.folder, "cert.pem")
        subprocess.run(["openssl", "req", "-x509", "-newkey", "rsa:2048", "-nodes", "-keyout", key,
                        "-out", cert, "-days", "1", "-subj", "/CN=127.0.0.1"],
                       capture_output=True, check=True)
        requests = self.requests

        class Handler(http.server.BaseHTTPRequestHandler):
            def log_message(self, *args):
                pass

            def do_GET(self):
                requests.append(self.path)
                self.send_response(204)
                self.end_headers()

        self.server = http.server.ThreadingHTTPServer(("127.0.0.1", self.port), Handler)
        context = ssl.SSLContext(ssl.PROTOCOL_TLS_SERVER)
        context.load_cert_chain(cert, key)
        self.server.socket = context.wrap_socket(self.server.socket, server_side=True)
        self.server.handle_error = lambda *args: None  # refused handshakes are expected
        threading.Thread(target=self.server.serve_forever, daemon=True).start()
        return self

    def __exit__(self, *exc):
        self.server.shutdown()
        self.server.server_close()
        subprocess.run(["rm", "-rf", self.folder])


class ErrorPages(unittest.TestCase):
    def test_refused_port_shows_the_page_and_its_retry_loads(self):
        # No server on line 1: the start page is refused.
        with h.Sites(ports=(h.MAKER,)):
            program = h.Program().start()
            try:
                window = program.main_window()
                retry = wait_trouble_page(program, window)
                with h.Sites(ports=(h.LINE1,)) as line1:
                    h.click(window, *retry)
                    line1.recorder.wait_for(lambda: line1.recorder.beacons(ev="load"),
                                            what="the page loaded by the retry link")
                    # The compositor shows the loaded page a moment after its load.
                    line1.recorder.wait_for(lambda: trouble_page_retry(program, window) is None,
                                            what="the trouble page gone")
            finally:
                program.stop()

    def test_untrusted_certificate_is_refused_with_the_page(self):
        page = beacon_page(box(0, 0, "a", 'href="https://127.0.0.1:%d/secret?a=%%22%%3E"' % h.BLOG))
        with h.Sites(files={"/tv/tv1.html": (page, "text/html")}, ports=(h.MAKER, h.LINE1)) as sites, \
                TlsSite(h.BLOG) as secure, h.running(sites) as (program, window):
            h.click(window, 100, PANE_TOP + 50)
            wait_trouble_page(program, window)
            self.assertEqual(secure.requests, [])


class Recovery(unittest.TestCase):
    def kill_page_process(self, program):
        processes = web_processes(program)
        self.assertTrue(processes)
        for pid in processes:
            os.kill(pid, signal.SIGKILL)

    def test_a_crashed_page_loads_again_then_shows_the_page(self):
        with h.Sites() as sites, h.running(sites) as (program, window):
            sites.recorder.clear()
            self.kill_page_process(program)
            sites.recorder.wait_for(lambda: sites.recorder.beacons(ev="load"),
                                    what="the page loaded again")
            self.assertEqual(sites.recorder.pages(), [(h.LINE1, "/tv/tv1.html")])

            # A second end within ten seconds: the page with its retry link.
            self.kill_page_process(program)
            retry = wait_trouble_page(program, window)
            sites.recorder.clear()
            h.click(window, *retry)
            sites.recorder.wait_for(lambda: sites.recorder.beacons(ev="load"),
                                    what="the page loaded by the retry link")
            self.assertEqual(sites.recorder.pages(), [(h.LINE1, "/tv/tv1.html")])

            with self.subTest("a label press works afterwards"):
                self.kill_page_process(program)
                wait_trouble_page(program, window)
                sites.recorder.clear()
                h.click(window, 192, 8)
                sites.recorder.wait_for(lambda: sites.recorder.beacons(ev="load", page="/tv/"),
                                        what="line 2 loaded by its label")


if __name__ == "__main__":
    h.main()
