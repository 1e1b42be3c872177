#!/usr/bin/env python3
"""Times what a newcomer waits for: a fresh clone's `make run` until the
console's first window is on the screen.

    scripts/time-first-run.py [--commit REV] [--jobs N] [--keep-ccache]

Clones the repository at REV (default HEAD) into build-firstrun/ beside this
checkout, runs `make run JOBS=N` there under xvfb-run with
CORVANE_REPORT_FIRST_WINDOW set, and prints the wall-clock time from the
start of `make` to the line the console prints when its first window is
exposed, and the CPU time (user + system) the build took. ccache is off
unless --keep-ccache is given, so the figure is a cold build's. The console
runs in demo mode: everything stays on the loopback interface. It is ended
with SIGTERM once its window has shown.
"""

import argparse
import os
import pathlib
import resource
import shutil
import signal
import subprocess
import sys
import time


def descendant_named(root, name):
    """The first process below `root` whose command name starts with `name`."""
    parents, names = {}, {}
    for entry in pathlib.Path("/proc").iterdir():
        if not entry.name.isdigit():
            continue
        try:
            stat = (entry / "stat").read_text()
        except OSError:
            continue
        # pid (comm) state ppid ...: comm may hold spaces and parentheses.
        comm = stat[stat.index("(") + 1:stat.rindex(")")]
        ppid = int(stat[stat.rindex(")") + 2:].split()[1])
        parents[int(entry.name)], names[int(entry.name)] = ppid, comm
    for pid, comm in names.items():
        if not comm.startswith(name):
            continue
        up = parents.get(pid)
        while up and up != root:
            up = parents.get(up)
        if up == root:
            return pid
    return None


def main():
    parser = argparse.ArgumentParser(description=__doc__.split("\n\n")[0])
    parser.add_argument("--commit", default="HEAD")
    parser.add_argument("--jobs", type=int, default=2)
    parser.add_argument("--keep-ccache", action="store_true")
    parser.add_argument("--timeout", type=int, default=3600, help="seconds before giving up")
    args = parser.parse_args()

    source = pathlib.Path(__file__).resolve().parent.parent
    clone = source / "build-firstrun"
    shutil.rmtree(clone, ignore_errors=True)
    subprocess.run(["git", "clone", "-q", "--no-checkout", str(source), str(clone)], check=True)
    commit = subprocess.run(["git", "-C", str(source), "rev-parse", args.commit], check=True,
                            capture_output=True, text=True).stdout.strip()
    subprocess.run(["git", "-C", str(clone), "checkout", "-q", commit], check=True)

    env = dict(os.environ, CORVANE_REPORT_FIRST_WINDOW="1")
    if not args.keep_ccache:
        env["CCACHE_DISABLE"] = "1"
    command = ["xvfb-run", "-a", "make", "run", f"JOBS={args.jobs}"]
    before = resource.getrusage(resource.RUSAGE_CHILDREN)
    start = time.monotonic()
    process = subprocess.Popen(command, cwd=clone, env=env, stdout=subprocess.PIPE,
                               stderr=subprocess.STDOUT, text=True, start_new_session=True)
    shown = None
    for line in process.stdout:
        if "first window shown" in line:
            shown = time.monotonic() - start
            break
        if time.monotonic() - start > args.timeout:
            break
    # Only the console is ended, so that make and xvfb-run finish in order
    # and the build's CPU time reaches this process.
    console = descendant_named(process.pid, "corvane-manage")
    if console:
        os.kill(console, signal.SIGTERM)
    try:
        process.communicate(timeout=60)
    except subprocess.TimeoutExpired:
        os.killpg(process.pid, signal.SIGKILL)
        process.wait()
    after = resource.getrusage(resource.RUSAGE_CHILDREN)
    cpu = (after.ru_utime - before.ru_utime) + (after.ru_stime - before.ru_stime)

    print(f"commit {commit[:12]}, make run JOBS={args.jobs}, ccache {'on' if args.keep_ccache else 'off'}")
    if shown is None:
        print("the first window never showed")
        return 1
    print(f"first window after {shown:.0f} s wall clock ({shown / 60:.1f} min), "
          f"build CPU (user + system) {cpu:.0f} s")
    return 0


if __name__ == "__main__":
    sys.exit(main())
