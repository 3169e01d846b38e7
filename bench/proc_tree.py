"""What a program and all its descendants cost, read from /proc: the tree,
CPU time, and memory from smaps_rollup."""

import os
import signal

TICKS = os.sysconf("SC_CLK_TCK")


def _stat_fields(pid):
    with open("/proc/%d/stat" % pid) as f:
        text = f.read()
    name = text[text.index("(") + 1:text.rindex(")")]
    return name, text.rsplit(")", 1)[1].split()


def descendants(pid):
    children = {}
    for entry in os.listdir("/proc"):
        if entry.isdigit():
            try:
                ppid = int(_stat_fields(int(entry))[1][1])
                children.setdefault(ppid, []).append(int(entry))
            except (OSError, ValueError, IndexError):
                pass
    tree, todo = [], [pid]
    while todo:
        current = todo.pop()
        tree.append(current)
        todo.extend(children.get(current, []))
    return tree


def role(pid, name):
    """The process's name, with the browser's --type= role where it has one."""
    try:
        with open("/proc/%d/cmdline" % pid, "rb") as f:
            # Some programs rewrite their command line into one spaced text.
            args = f.read().replace(b"\0", b" ").split()
    except OSError:
        return name
    for arg in args:
        if arg.startswith(b"--type="):
            return name + ":" + arg[7:].decode(errors="replace")
    return name


def cpu_seconds(pids):
    """pid -> (name, CPU seconds so far). Children a process has already
    reaped count with it, so short-lived helpers are not lost."""
    found = {}
    for pid in pids:
        try:
            name, fields = _stat_fields(pid)
        except OSError:
            continue
        # utime, stime, cutime, cstime are fields 14-17; fields[0] is field 3.
        found[pid] = (role(pid, name), sum(int(v) for v in fields[11:15]) / TICKS)
    return found


def cpu_used(before, after):
    """Seconds used between two cpu_seconds() readings, per process name,
    by the processes alive at the second reading."""
    used = {}
    for pid, (name, seconds) in after.items():
        start = before.get(pid, (name, 0.0))[1]
        used[name] = used.get(name, 0.0) + seconds - start
    return used


def memory_kib(pids):
    """Whole-tree Pss, Rss and Anonymous (KiB) from smaps_rollup."""
    totals = {"Pss": 0, "Rss": 0, "Anonymous": 0}
    for pid in pids:
        try:
            with open("/proc/%d/smaps_rollup" % pid) as f:
                for line in f:
                    key = line.split(":", 1)[0]
                    if key in totals:
                        totals[key] += int(line.split()[1])
        except OSError:
            pass
    return totals


def kill_tree(pid):
    for p in descendants(pid):
        try:
            os.kill(p, signal.SIGKILL)
        except OSError:
            pass
