#!/usr/bin/env python3
"""Start-up time, frame time and memory of the real game.

    bash scripts/with-display.sh python3 bench/game/measure_game.py \\
        build-bench/app/quavero build-bench/bench/game/libframe_timer.so [SECONDS [WIDTH HEIGHT]]

Starts the game with the frame timer preloaded and its log on, notes when the
first frame is shown and when the last texture is uploaded, goes to the title
and into the first track as a player does, and prints, for the title and the
game, the median and 95th-percentile frame interval, the part of it outside the
buffer swap and the loop's pacing sleep (events, the game's update and its
drawing calls), the part inside the swap (where a software GL renders), the
pacing sleep, the process's CPU time per frame (all
threads) with the share of one core it adds up to, and the peak resident
memory. The window is 800 x 480 unless WIDTH and HEIGHT are given (the display
must be a tenth larger, or the game shrinks the window to fit it)."""
import os
import statistics
import subprocess
import sys
import tempfile
import threading
import time


def percentile(values, share):
    ordered = sorted(values)
    return ordered[min(len(ordered) - 1, int(share * len(ordered)))]


def cpu_seconds(pid):
    with open("/proc/%d/stat" % pid) as stat:
        fields = stat.read().rsplit(")", 1)[1].split()
    return (int(fields[11]) + int(fields[12])) / os.sysconf("SC_CLK_TCK")


def memory_kib(pid, key, table="status"):
    with open("/proc/%d/%s" % (pid, table)) as status:
        for line in status:
            if line.startswith(key + ":"):
                return int(line.split()[1])
    return 0


def private_kib(pid):
    """Memory of the process itself, without the pages of shared libraries (the GL driver's are large)."""
    return sum(memory_kib(pid, key, "smaps_rollup") for key in ("Private_Clean", "Private_Dirty", "Private_Hugetlb"))


def swaps(path):
    """The launch time, the (start, end) of every swap, and of every pacing sleep."""
    start, frames, sleeps = 0, [], []
    with open(path) as log:
        for line in log:
            parts = line.split()
            if parts[0] == "start":
                start = int(parts[1])
            elif parts[0] in ("swap", "sleep") and len(parts) == 3:
                (frames if parts[0] == "swap" else sleeps).append((int(parts[1]), int(parts[2])))
    return start, frames, sleeps


def click(window, size, x, y):
    """A click at a point of the game's 800 x 480 virtual screen, centred in the window as the game draws it."""
    width, height = size
    scale = min(width / 800, height / 480)
    x = round((width - 800 * scale) / 2 + x * scale)
    y = round((height - 480 * scale) / 2 + y * scale)
    subprocess.run(["xdotool", "mousemove", "--window", window, str(x), str(y),
                    "mousedown", "1", "sleep", "0.1", "mouseup", "1"], check=True)


def main():
    game, timer = sys.argv[1], sys.argv[2]
    seconds = float(sys.argv[3]) if len(sys.argv) > 3 else 5.0
    size = (int(sys.argv[4]), int(sys.argv[5])) if len(sys.argv) > 5 else (800, 480)
    work = tempfile.mkdtemp()
    timings = os.path.join(work, "swaps")
    env = dict(os.environ, LD_PRELOAD=os.path.abspath(timer), FRAME_TIMER_OUT=timings,
               QUAVERO_LOG="1", SDL_AUDIODRIVER="dummy")
    lines = []
    spawned = time.monotonic_ns()
    process = subprocess.Popen([game, str(size[0]), str(size[1])], env=env, stderr=subprocess.PIPE, text=True)

    def read_log():
        for line in process.stderr:
            lines.append((time.monotonic_ns(), line.strip()))

    threading.Thread(target=read_log, daemon=True).start()

    def wait_for(text, limit=30):
        end = time.monotonic() + limit
        while time.monotonic() < end:
            for stamp, line in list(lines):
                if line.endswith(text):
                    return stamp
            time.sleep(0.01)
        sys.exit("no log line " + text)

    uploaded = wait_for("Texture set three uploaded...")
    window = subprocess.run(["xdotool", "search", "--name", "^Quavero$"], capture_output=True,
                            text=True).stdout.split()[0]
    _, frames, _ = swaps(timings)
    print("start-up: first frame %.0f ms, every asset loaded and uploaded %.0f ms after launch"
          % ((frames[0][1] - spawned) / 1e6, (uploaded - spawned) / 1e6))

    def measure(name):
        time.sleep(0.5)
        wall_before, cpu_before, (_, before, _) = time.monotonic(), cpu_seconds(process.pid), swaps(timings)
        time.sleep(seconds)
        wall_after, cpu_after, (_, after, sleeps) = time.monotonic(), cpu_seconds(process.pid), swaps(timings)
        window_frames = after[len(before):]
        intervals = [(b[0] - a[0]) / 1e6 for a, b in zip(window_frames, window_frames[1:])]
        in_swap = [(b - a) / 1e6 for a, b in window_frames]

        def slept(a, b):
            return sum(end - begin for begin, end in sleeps if a <= begin and end <= b)

        # From one swap's end to the next swap, less the pacing sleep: events, the game's update and its drawing calls.
        pauses = [slept(a[1], b[0]) / 1e6 for a, b in zip(window_frames, window_frames[1:])]
        outside = [(b[0] - a[1]) / 1e6 - pause for (a, b), pause in zip(zip(window_frames, window_frames[1:]), pauses)]
        print("%-6s %4d frames: interval median %.2f ms, p95 %.2f ms; update and draw calls median %.3f ms, "
              "p95 %.3f ms; swap median %.2f ms; pacing sleep median %.2f ms; CPU %.2f ms per frame, "
              "%.0f %% of a core"
              % (name, len(window_frames), statistics.median(intervals), percentile(intervals, 0.95),
                 statistics.median(outside), percentile(outside, 0.95), statistics.median(in_swap),
                 statistics.median(pauses),
                 (cpu_after - cpu_before) * 1000 / max(1, len(window_frames)),
                 (cpu_after - cpu_before) * 100 / (wall_after - wall_before)))

    time.sleep(4)
    click(window, size, 400, 240)  # ends the start-up scroller
    time.sleep(3.5)
    measure("title")
    click(window, size, 630, 240)  # play
    time.sleep(4.2)
    click(window, size, 100, 200)  # the first track
    time.sleep(2.5)
    measure("game")
    print("memory: peak resident %.1f MiB, resident now %.1f MiB, of it private (not shared libraries) %.1f MiB"
          % (memory_kib(process.pid, "VmHWM") / 1024, memory_kib(process.pid, "VmRSS") / 1024,
             private_kib(process.pid) / 1024))
    process.terminate()
    process.wait()


if __name__ == "__main__":
    main()
