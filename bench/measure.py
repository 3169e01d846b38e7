#!/usr/bin/env python3
"""Start-up, channel switch, live playback and memory of the viewer against
its peers, on the same loopback pages, alternating run by run. Prints a
table of medians and writes it to bench/results.md; --soak MINUTES instead
samples memory while a live channel plays and writes bench/soak.md."""

import argparse
import datetime
import os
import platform
import shutil
import statistics
import subprocess
import sys
import tempfile
import time

HERE = os.path.dirname(os.path.abspath(__file__))
sys.path.insert(0, os.path.join(HERE, "..", "tests", "gui"))
import harness as h  # noqa: E402
import live  # noqa: E402
import proc_tree as pt  # noqa: E402
import sound  # noqa: E402

PAGE = """<!doctype html><html><head><meta charset="utf-8"><style>
body{margin:0;background:#000;color:#0f0;font:12px sans-serif}
a{position:fixed;left:0;top:0;right:0;bottom:0;z-index:1;color:#0f0}</style></head><body>
<a id="next" href="http://127.0.0.1:%d/tv/">next channel</a>
<video src="/media/clip.mp4" autoplay muted loop width="640" height="360"></video>
<script>addEventListener('load',()=>fetch('/beacon?ev=load&page='+location.pathname));</script>
</body></html>"""

PEERS = ["vexaline", "bare-webkit", "chromium"]
# Where a press changes channel: the viewer's first and second labels; in
# the peers the page is one big link.
LABEL = {"/tv/tv1.html": (64, 8), "/tv/": (192, 8)}


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


def launch(command, build, env):
    """Starts the command under mapwatch; its pid and exec and map times."""
    watch = subprocess.Popen([os.path.join(build, "bench", "mapwatch")] + command, env=env,
                             stdout=subprocess.PIPE, stderr=subprocess.DEVNULL, text=True)
    lines = dict(line.split() for line in watch.stdout if line.strip())
    watch.wait()
    return int(lines["pid"]), float(lines["exec"]), float(lines["mapped"])


def program_window(pid):
    """The program's window: the one in front, or else its largest visible
    window, since the window manager does not always name one in front."""
    for _ in range(50):
        found = h.x("xdotool", "getactivewindow", check=False).strip()
        if found:
            return int(found)
        mine = [int(w) for w in h.x("xdotool", "search", "--onlyvisible", "--pid", str(pid),
                                    check=False).split()]
        if mine:
            window = max(mine, key=lambda w: h.geometry(w)[2] * h.geometry(w)[3])
            h.activate(window)
            return window
        time.sleep(0.1)
    raise AssertionError("no window of process %d" % pid)


def beacon_time(recorder, page, ev):
    for port, path, query, when in list(recorder.requests):
        if path == "/beacon" and query.get("page") == page and query.get("ev") == ev:
            return when, query
    return None


def press(pid, name, target):
    """A press that should bring up `target`: on the viewer's label, or
    anywhere on the peers' one-link page."""
    window = program_window(pid)
    ox, oy = h.client_origin(window)
    x, y = LABEL[target] if name.startswith("vexaline") else (470, 400)
    # A synchronous move never returns when the pointer is there already.
    h.x("xdotool", "mousemove", "0", "0")
    h.x("xdotool", "mousemove", "--sync", str(ox + x), str(oy + y))
    pressed = time.monotonic()
    h.x("xdotool", "click", "1")
    return pressed


def sound_on(pid, recorder, page):
    """Clicks the page's sound button, as a viewer does on a live-TV page."""
    window = program_window(pid)
    h.x("xdotool", "mousemove", "0", "0")
    h.click(window, 100, 60)
    recorder.wait_for(lambda: recorder.beacons(ev="sound", page=page), timeout=10,
                      what="sound on")


def startup_run(name, command, sites, build, env):
    recorder = sites.recorder
    recorder.clear()
    pid, started, mapped = launch(command, build, env)
    try:
        loaded = recorder.wait_for(lambda: beacon_time(recorder, "/tv/tv1.html", "load"),
                                   timeout=60, what="load")[0]
        time.sleep(max(0.0, loaded + 5 - time.monotonic()))
        tree = pt.descendants(pid)
        memory = pt.memory_kib(tree)["Pss"]
        pressed = press(pid, name, "/tv/")
        switched = recorder.wait_for(lambda: beacon_time(recorder, "/tv/", "load"),
                                     timeout=30, what="switch")[0]
        return {"map": mapped - started, "load": loaded - started,
                "switch": switched - pressed, "pss": memory / 1024.0, "procs": len(tree)}
    finally:
        pt.kill_tree(pid)
        time.sleep(1)


def last_quality(recorder, page):
    found = [q for q in recorder.beacons(ev="quality", page=page)]
    return found[-1] if found else None


def play_run(name, command, sites, build, env, args):
    """Live channel one: settle, then a minute of CPU and the memory at its
    end; then zaps between the two channels."""
    recorder = sites.recorder
    recorder.clear()
    pid, _, _ = launch(command, build, env)
    try:
        recorder.wait_for(lambda: beacon_time(recorder, "/tv/tv1.html", "frame"), timeout=60,
                          what="first frame of channel one")
        sound_on(pid, recorder, "/tv/tv1.html")
        time.sleep(args.settle)
        before_quality = last_quality(recorder, "/tv/tv1.html")
        before = pt.cpu_seconds(pt.descendants(pid))
        start = time.monotonic()
        time.sleep(args.seconds)
        tree = pt.descendants(pid)
        after = pt.cpu_seconds(tree)
        interval = time.monotonic() - start
        memory = pt.memory_kib(tree)
        after_quality = last_quality(recorder, "/tv/tv1.html")
        if after_quality["paused"] != "false" or after_quality["muted"] != "false":
            raise AssertionError("channel one was not playing with sound: %s" % after_quality)
        used = pt.cpu_used(before, after)
        sample = {"cpu": 100.0 * sum(used.values()) / interval,
                  "pss": memory["Pss"] / 1024.0, "rss": memory["Rss"] / 1024.0,
                  "dropped": int(after_quality["dropped"]) - int(before_quality["dropped"]),
                  "decoded": int(after_quality["decoded"]) - int(before_quality["decoded"])}
        split = {role: round(100.0 * seconds / interval, 1) for role, seconds in used.items()
                 if seconds > 0}
        zaps, hows = [], set()
        page = "/tv/tv1.html"
        for _ in range(args.zaps):
            target = "/tv/" if page == "/tv/tv1.html" else "/tv/tv1.html"
            recorder.clear()
            pressed = press(pid, name, target)
            shown, query = recorder.wait_for(lambda: beacon_time(recorder, target, "frame"),
                                             timeout=30, what="first frame after the zap")
            zaps.append(shown - pressed)
            hows.add(query.get("how"))
            page = target
            time.sleep(args.between_zaps)
        sample["zap"] = statistics.median(zaps)
        print("  split %% of a core: %s; zaps %s by %s" % (
            split, [round(z, 3) for z in zaps], "/".join(sorted(hows))), flush=True)
        return sample
    finally:
        pt.kill_tree(pid)
        time.sleep(1)


def soak_run(name, command, sites, build, env, minutes):
    recorder = sites.recorder
    recorder.clear()
    pid, _, _ = launch(command, build, env)
    samples = []
    try:
        recorder.wait_for(lambda: beacon_time(recorder, "/tv/tv1.html", "frame"), timeout=60,
                          what="first frame of channel one")
        sound_on(pid, recorder, "/tv/tv1.html")
        start = time.monotonic()
        while True:
            memory = pt.memory_kib(pt.descendants(pid))
            quality = last_quality(recorder, "/tv/tv1.html") or {}
            samples.append((time.monotonic() - start, memory, quality.get("t", "?"),
                            quality.get("buffered", "?")))
            print(name, "%.0f s" % samples[-1][0], memory, "t", samples[-1][2], "buffered",
                  samples[-1][3], flush=True)
            if samples[-1][0] >= minutes * 60:
                return samples
            time.sleep(max(0.0, start + 30 * len(samples) - time.monotonic()))
    finally:
        pt.kill_tree(pid)
        time.sleep(1)


def parse_variants(texts):
    """--variant NAME:KEY=VALUE,KEY=VALUE: the viewer again with more
    environment, measured in the same alternation."""
    variants = {}
    for text in texts:
        name, _, assignments = text.partition(":")
        variants["vexaline+" + name] = dict(a.split("=", 1) for a in assignments.split(",") if a)
    return variants


def main():
    parser = argparse.ArgumentParser()
    parser.add_argument("--build", required=True)
    parser.add_argument("--runs", type=int, default=7, help="start-up runs after a warm-up")
    parser.add_argument("--play-runs", type=int, default=3, help="playback runs of each program")
    parser.add_argument("--seconds", type=float, default=60.0, help="playback interval")
    parser.add_argument("--settle", type=float, default=10.0)
    parser.add_argument("--zaps", type=int, default=4, help="channel changes per playback run")
    parser.add_argument("--between-zaps", type=float, default=4.0)
    parser.add_argument("--soak", type=float, metavar="MINUTES",
                        help="only sample memory every 30 s while channel one plays")
    parser.add_argument("--programs", default=",".join(PEERS))
    parser.add_argument("--variant", action="append", default=[],
                        help="NAME:KEY=VALUE,...: also the viewer with this environment")
    parser.add_argument("--results", help="where the table goes: bench/results.md, or "
                        "bench/soak.md for a soak")
    parser.add_argument("--player", help="the script HLS player the live pages use "
                        "(hls.min.js); without it, the engines' own HLS support")
    args = parser.parse_args()
    build = os.path.abspath(args.build)
    variants = parse_variants(args.variant)
    order = [p for p in args.programs.split(",") if p] + list(variants)

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
    startup_files = {"/tv/tv1.html": (page, "text/html"), "/tv/": (page, "text/html"),
                     "/media/clip.mp4": (clip, "video/mp4")}
    base_env = h.Program().env()  # the test harness's environment, sandbox rule included

    script_player = None
    if args.player:
        with open(args.player, "rb") as f:
            script_player = f.read()
    sound_env = {}

    def env_of(name):
        return dict(base_env, **sound_env, **variants.get(name, {}))

    def alternate(rounds, measure):
        results = {}
        for run in range(rounds + 1):
            for name in (order if run % 2 == 0 else list(reversed(order))):
                profile = tempfile.mkdtemp(prefix="vexaline-bench-profile-")
                command = commands(build, profile)["vexaline" if name in variants else name]
                try:
                    sample = measure(name, command, env_of(name))
                finally:
                    shutil.rmtree(profile, ignore_errors=True)
                if run > 0:  # the first round warms the caches
                    results.setdefault(name, []).append(sample)
                print(name, {k: round(v, 3) for k, v in sample.items()}, flush=True)
        return results

    try:
        if args.soak:
            with live.Channels(media) as channels, sound.SoundServer(media) as server:
                sound_env.update(server.env())
                h.Recorder().wait_for(channels.ready, timeout=60, what="live streams")
                files = live.LiveFiles(media, live.pages(h.LINE1, h.LINE2, script_player))
                with h.Sites(files=files) as sites:
                    text = ""
                    for name in order:
                        profile = tempfile.mkdtemp(prefix="vexaline-bench-profile-")
                        try:
                            command = commands(build, profile)["vexaline" if name in variants
                                                               else name]
                            samples = soak_run(name, command, sites, build, env_of(name),
                                               args.soak)
                        finally:
                            shutil.rmtree(profile, ignore_errors=True)
                        text += soak_report(name, samples)
            write(args.results or os.path.join(HERE, "soak.md"),
                  header("soak", args, script_player) + text)
            return
        results = {}
        if args.runs > 0:
            with h.Sites(files=startup_files) as sites:
                results.update(alternate(args.runs, lambda n, c, e: startup_run(
                    n, c, sites, build, e)))
        play = {}
        if args.play_runs > 0:
            with live.Channels(media) as channels, sound.SoundServer(media) as server:
                sound_env.update(server.env())
                h.Recorder().wait_for(channels.ready, timeout=60, what="live streams")
                files = live.LiveFiles(media, live.pages(h.LINE1, h.LINE2, script_player))
                with h.Sites(files=files) as sites:
                    play = alternate(args.play_runs, lambda n, c, e: play_run(
                        n, c, sites, build, e, args))
        write(args.results or os.path.join(HERE, "results.md"),
              header("runs", args, script_player) + report(order, results, play))
    finally:
        shutil.rmtree(media, ignore_errors=True)


def header(kind, args, script_player):
    machine = "%s (%s, %d cores, shared with other work)" % (
        platform.node() or "this machine", platform.machine(), os.cpu_count())
    stream = "live 1280x720 25 fps HLS (fMP4, H.264 High and AAC) with sound, played by %s" % (
        "the pages' script player (MSE)" if script_player else "the engines' own HLS support")
    if kind == "soak":
        return ("Soak measured %s on %s: %s; memory sampled every 30 s for %g minutes.\n\n"
                % (datetime.date.today(), machine, stream, args.soak))
    return ("Measured %s on %s. Start-up: %d runs after a warm-up. Playback: %s, %g s after a "
            "%g s settle, then %d zaps; %d runs after a warm-up. Medians (min-max); the "
            "programs alternate run by run.\n\n" % (
                datetime.date.today(), machine, args.runs, stream, args.seconds, args.settle,
                args.zaps, args.play_runs))


STARTUP = [("map", "exec -> window mapped (s)"), ("load", "exec -> line-1 loaded (s)"),
           ("switch", "label press -> new page loaded (s)"),
           ("pss", "whole-tree PSS, small muted clip playing (MiB)"), ("procs", "processes")]
PLAYBACK = [("cpu", "live 720p playback, whole-tree CPU (% of one core)"),
            ("pss", "live playback, whole-tree PSS at its end (MiB)"),
            ("rss", "live playback, whole-tree RSS at its end (MiB)"),
            ("dropped", "live playback, dropped frames"),
            ("decoded", "live playback, decoded frames"),
            ("zap", "zap: press -> first frame of the new live channel (s)")]
TITLES = {"vexaline": "vexaline", "bare-webkit": "bare WebKitGTK", "chromium": "chromium --app"}


def report(order, startup, play):
    names = [n for n in order if n in startup or n in play]
    pairs = [(n, "chromium") for n in names if n.startswith("vexaline")]
    pairs += [("vexaline", "bare-webkit")]
    pairs = [(a, b) for a, b in pairs if a in names and b in names]
    short = {"chromium": "chromium", "bare-webkit": "bare"}
    lines = ["| figure | %s | %s |" % (" | ".join(TITLES.get(n, n) for n in names),
                                        " | ".join("%s/%s" % (a, short[b]) for a, b in pairs)),
             "|---|" + "---|" * (len(names) + len(pairs))]
    for results, metrics in ((startup, STARTUP), (play, PLAYBACK)):
        if not results:
            continue
        for metric, title in metrics:
            medians, cells = {}, []
            for name in names:
                values = [s[metric] for s in results.get(name, [])]
                if not values:
                    cells.append("-")
                    continue
                medians[name] = statistics.median(values)
                form = "%d" if all(isinstance(v, int) for v in values) else "%.3g"
                cells.append((form + " (" + form + "-" + form + ")") % (
                    medians[name], min(values), max(values)))
            ratios = ["%.2f" % (medians[a] / medians[b]) if medians.get(a) is not None
                      and medians.get(b) else "-" for a, b in pairs]
            lines.append("| %s | %s | %s |" % (title, " | ".join(cells), " | ".join(ratios)))
    return "\n".join(lines) + "\n"


def soak_report(name, samples):
    lines = ["%s:" % TITLES.get(name, name), "",
             "| time (s) | RSS (MiB) | anonymous (MiB) | PSS (MiB) | currentTime (s) "
             "| media held by the element (s) |", "|---|---|---|---|---|---|"]
    for at, memory, played, held in samples:
        lines.append("| %.0f | %.1f | %.1f | %.1f | %s | %s |" % (
            at, memory["Rss"] / 1024.0, memory["Anonymous"] / 1024.0, memory["Pss"] / 1024.0,
            played, held))
    warm = [s for s in samples if s[0] >= 120]
    if len(warm) >= 2:
        growth = {k: (max(s[1][k] for s in warm) - warm[0][1][k]) / 1024.0
                  for k in ("Rss", "Anonymous", "Pss")}
        lines += ["", "Growth after the 2-minute warm-up (highest sample minus the first after "
                  "it): RSS %+.1f MiB, anonymous %+.1f MiB, PSS %+.1f MiB." % (
                      growth["Rss"], growth["Anonymous"], growth["Pss"])]
    return "\n".join(lines) + "\n\n"


def write(path, text):
    print(text)
    with open(path, "w") as f:
        f.write(text)


if __name__ == "__main__":
    main()
