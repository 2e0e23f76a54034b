#!/usr/bin/env python3
# SPDX-License-Identifier: MIT
"""Cold start of the windowed program under a private Xvfb server.

Each run starts a fresh process of the built program and times it from the
start to the moment the X server maps the frame window, which the program
shows only once the generation window has loaded its place list. The peak
memory (VmHWM) of the process is read right after. Prints the median, the
spread and the peak memory of the runs.

Usage: cold_start.py PROGRAM [--runs N]
"""

import argparse
import os
import queue
import shutil
import statistics
import subprocess
import sys
import tempfile
import threading
import time

FRAME_TITLE = "Codice fiscale - Versione"


def start_xvfb():
    read_end, write_end = os.pipe()
    server = subprocess.Popen(
        ["Xvfb", "-displayfd", str(write_end), "-screen", "0", "1024x768x24", "-nolisten", "tcp"],
        pass_fds=(write_end,), stderr=subprocess.DEVNULL)
    os.close(write_end)
    with os.fdopen(read_end) as display:
        number = display.readline().strip()
    if not number:
        server.kill()
        sys.exit("Xvfb did not start")
    return server, ":" + number


def watch_maps(display, events):
    """Puts (time, window id) on `events` for every window mapped on the root."""
    xev = subprocess.Popen(["stdbuf", "-oL", "xev", "-root", "-event", "substructure"],
                           stdout=subprocess.PIPE, text=True, env=dict(os.environ, DISPLAY=display))

    def read():
        mapped_at = None
        for line in xev.stdout:
            if line.startswith("MapNotify event"):
                mapped_at = time.monotonic()
            elif mapped_at is not None and "window 0x" in line:
                window = line.split("window ")[1].split(",")[0]
                events.put((mapped_at, window))
                mapped_at = None

    threading.Thread(target=read, daemon=True).start()
    return xev


def window_name(display, window):
    result = subprocess.run(["xdotool", "getwindowname", str(int(window, 16))],
                            capture_output=True, text=True, env=dict(os.environ, DISPLAY=display))
    return result.stdout.strip()


def peak_memory_kib(pid):
    with open(f"/proc/{pid}/status") as status:
        for line in status:
            if line.startswith("VmHWM:"):
                return int(line.split()[1])
    return 0


def one_run(program, display, events):
    work = tempfile.mkdtemp(prefix="cf-bench-")
    os.chmod(work, 0o700)
    env = dict(os.environ, DISPLAY=display, XDG_RUNTIME_DIR=work, QT_QPA_PLATFORM="xcb")
    while not events.empty():
        events.get_nowait()
    started = time.monotonic()
    process = subprocess.Popen([program], env=env, cwd=work,
                               stdout=subprocess.DEVNULL, stderr=subprocess.DEVNULL)
    try:
        deadline = started + 30
        while True:
            mapped_at, window = events.get(timeout=max(0.1, deadline - time.monotonic()))
            if window_name(display, window).startswith(FRAME_TITLE):
                break
        # Let the first paint finish before reading the peak.
        time.sleep(0.3)
        return (mapped_at - started) * 1000.0, peak_memory_kib(process.pid)
    finally:
        process.terminate()
        process.wait(timeout=10)
        shutil.rmtree(work, ignore_errors=True)


def main():
    parser = argparse.ArgumentParser(description=__doc__.splitlines()[0])
    parser.add_argument("program")
    parser.add_argument("--runs", type=int, default=20)
    args = parser.parse_args()
    for tool in ("Xvfb", "xev", "xdotool", "stdbuf"):
        if not shutil.which(tool):
            sys.exit(f"{tool} is not installed")

    server, display = start_xvfb()
    events = queue.Queue()
    xev = watch_maps(display, events)
    try:
        time.sleep(0.5)
        one_run(os.path.abspath(args.program), display, events)  # warm the file cache
        times, peaks = [], []
        for _ in range(args.runs):
            elapsed, peak = one_run(os.path.abspath(args.program), display, events)
            times.append(elapsed)
            peaks.append(peak)
    finally:
        xev.terminate()
        server.terminate()

    print(f"cold start to frame shown, {args.runs} runs: median {statistics.median(times):.1f} ms,"
          f" min {min(times):.1f} ms, max {max(times):.1f} ms")
    print(f"peak memory (VmHWM): median {statistics.median(peaks) / 1024:.1f} MiB,"
          f" max {max(peaks) / 1024:.1f} MiB")


if __name__ == "__main__":
    main()
