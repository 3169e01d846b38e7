#!/usr/bin/env python3
"""Start-up, channel switch and memory of the viewer against its peers, on
the same loopback pages, alternating run by run. Prints a table of medians
and writes it to bench/results.md."""

import argparse
import datetime
import os
import platform
import shutil
import signal
import statistics
import subprocess
import sys
import tempfile
import time

HERE = os.path.dirname(os.path.abspath(__file__))
sys.path.insert(0, os.path.join(HERE, "..", "tests", "gui"))
import harness as h  # noqa: E402

PAGE = """<!doctype html><html><head><meta charset="utf-8"><style>
body{margin:0;background:#000;color:#0f0;font:12px sans-serif}
a{position:fixed;left:0;top:0;right:0;bottom:0;z-index:1;color:#0f0}</style></head><body>
<a id="next" href="http://127.0.0.1:%d/tv/">next channel</a>
<video src="/media/clip.mp4" autoplay muted loop width="640" height="360"></video>
<script>addEventListener('load',()=>fetch('/beacon?ev=load&page='+location.pathname));</script>
</body></html>"""


def descendants(pid):
    children = {}
    for entry in os.listdir("/proc"):
        if entry.isdigit():
            try:
                with open("/proc/%s/stat" % entry) as f:
                    ppid = int(f.read().rsplit(")", 1)[1].split()[1])
                children.setdefault(ppid, []).append(int(entry))
            except OSError:
                pass
    tree, todo = [], [pid]
    while todo:
        current = todo.pop()
        tree.append(current)
        todo.extend(children.get(current, []))
    return tree


def pss_kib(pids):
    total = 0
    for pid in pids:
        try:
            with open("/proc/%d/smaps_rollup" % pid) as f:
                for line in f:
                    if line.startswith("Pss:"):
                        total += int(line.split()[1])
        except OSError:
            pass
    return total


def kill_tree(pid):
    tree = descendants(pid)
    for p in tree:
        try:
            os.kill(p, signal.SIGKILL)
        except OSError:
            pass


def commands(build, profile):
    url = "http://127.0.0.1:%d/tv/tv1.html" % h.LINE1
    return {
        "vexaline": [os.path.join(build, "vexaline")],
        "bare-webkit": [os.path.join(build, "bench", "bare_webkit"), url],
        "chromium": ["chromium", "--app=" + url, "--window-size=952,625", "--no-sandbox",
                     "--no-first-run", "--disable-background-networking",
                     "--disable-component-update", "--disable-sync", "--disable-quic",
                     "--user-data-dir=" + profile],
    }


def one_run(name, command, sites, build, env):
    recorder = sites.recorder
    recorder.clear()
    watch = subprocess.Popen([os.path.join(build, "bench", "mapwatch")] + command, env=env,
                             stdout=subprocess.PIPE, stderr=subprocess.DEVNULL, text=True)
    lines = dict(line.split() for line in watch.stdout if line.strip())
    watch.wait()
    pid, started, mapped = int(lines["pid"]), float(lines["exec"]), float(lines["mapped"])
    try:
        def load_time(page):
            for port, path, query, when in list(recorder.requests):
                if path == "/beacon" and query.get("page") == page:
                    return when
            return None
        loaded = recorder.wait_for(lambda: load_time("/tv/tv1.html"), timeout=60, what="load")
        time.sleep(max(0.0, loaded + 5 - time.monotonic()))
        tree = descendants(pid)
        memory = pss_kib(tree)
        window = int(h.x("xdotool", "getactivewindow").strip())
        ox, oy = h.client_origin(window)
        # The viewer's second label; in the peers, the page is one big link.
        x, y = (ox + 192, oy + 8) if name == "vexaline" else (ox + 470, oy + 400)
        h.x("xdotool", "mousemove", "--sync", str(x), str(y))
        pressed = time.monotonic()
        h.x("xdotool", "click", "1")
        switched = recorder.wait_for(lambda: load_time("/tv/"), timeout=30, what="switch")
        return {"map": mapped - started, "load": loaded - started,
                "switch": switched - pressed, "pss": memory / 1024.0, "procs": len(tree)}
    finally:
        kill_tree(pid)
        time.sleep(1)


def main():
    parser = argparse.ArgumentParser()
    parser.add_argument("--build", required=True)
    parser.add_argument("--runs", type=int, default=7)
    args = parser.parse_args()
    build = os.path.abspath(args.build)

    media = tempfile.mkdtemp(prefix="vexaline-bench-")
    subprocess.run(["ffmpeg", "-hide_banner", "-loglevel", "error", "-y",
                    "-f", "lavfi", "-i", "testsrc2=size=640x360:rate=25:duration=10",
                    "-f", "lavfi", "-i", "sine=frequency=440:duration=10",
                    "-c:v", "libx264", "-preset", "veryfast", "-pix_fmt", "yuv420p",
                    "-c:a", "aac", "-shortest", "-movflags", "+faststart",
                    os.path.join(media, "clip.mp4")], check=True)
    with open(os.path.join(media, "clip.mp4"), "rb") as f:
        clip = f.read()
    page = (PAGE % h.LINE2).encode()
    files = {"/tv/tv1.html": (page, "text/html"), "/tv/": (page, "text/html"),
             "/media/clip.mp4": (clip, "video/mp4")}
    env = h.Program().env()  # the test harness's environment, sandbox rule included

    results = {}
    order = ["vexaline", "bare-webkit", "chromium"]
    with h.Sites(files=files) as sites:
        for run in range(args.runs + 1):
            for name in (order if run % 2 == 0 else list(reversed(order))):
                profile = tempfile.mkdtemp(prefix="vexaline-bench-profile-")
                try:
                    sample = one_run(name, commands(build, profile)[name], sites, build, env)
                finally:
                    shutil.rmtree(profile, ignore_errors=True)
                if run > 0:  # the first round warms the caches
                    results.setdefault(name, []).append(sample)
                print(name, {k: round(v, 3) for k, v in sample.items()}, flush=True)
    shutil.rmtree(media, ignore_errors=True)
    report(results, args.runs)


def report(results, runs):
    metrics = [("map", "exec -> window mapped (s)"), ("load", "exec -> line-1 loaded (s)"),
               ("switch", "label press -> new page loaded (s)"),
               ("pss", "whole-tree PSS, video playing (MiB)"), ("procs", "processes")]
    medians = {n: {m: statistics.median(s[m] for s in samples) for m, _ in metrics}
               for n, samples in results.items()}
    lines = ["Measured %s on %s (%s, %d cores), %d runs after a warm-up, medians (min-max)."
             % (datetime.date.today(), platform.node() or "this machine", platform.machine(),
                os.cpu_count(), runs), "",
             "| figure | vexaline | bare WebKitGTK | chromium --app | vexaline/chromium | vexaline/bare |",
             "|---|---|---|---|---|---|"]
    for metric, title in metrics:
        cells = []
        for name in ("vexaline", "bare-webkit", "chromium"):
            values = [s[metric] for s in results[name]]
            cells.append("%.3g (%.3g-%.3g)" % (medians[name][metric], min(values), max(values)))
        ratio = lambda peer: medians["vexaline"][metric] / medians[peer][metric]
        lines.append("| %s | %s | %.2f | %.2f |" % (title, " | ".join(cells), ratio("chromium"),
                                                    ratio("bare-webkit")))
    text = "\n".join(lines) + "\n"
    print(text)
    with open(os.path.join(HERE, "results.md"), "w") as f:
        f.write(text)


if __name__ == "__main__":
    main()
