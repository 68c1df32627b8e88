#!/usr/bin/env python3
"""zefa next to gst-play-1.0 and mpv on the same clips under a private Xvfb.

Run by hand (a benchmark, not a test: nothing here passes or fails on a time):
    python3 bench/desktop/side_by_side.py --build build [--runs 3] [--only launch,play,idle]

Measures, per player: CPU seconds (user + sys) and peak RSS of a whole 10 s playback at
1280x720 on a 1280x800 screen (zefa scales to fit there) and at 1280x720 and 960x540 on a
1920x1200 screen (1:1); launch to first frame (a white clip, timed from the screen with
pixel_watch); and zefa's CPU while idle with no medium. Runs are interleaved player by player
so machine noise hits each alike; each cell is the median with min-max.
Needs: Xvfb, xdpyinfo, xwininfo, gst-launch-1.0, gst-discoverer-1.0, gst-play-1.0
(gstreamer1.0-plugins-base-apps), x264enc and an AAC encoder; mpv is optional.
"""

import argparse
import collections
import json
import os
import re
import select
import shutil
import signal
import statistics
import subprocess
import sys
import tempfile
import time

CLK_TCK = os.sysconf("SC_CLK_TCK")
PLAYERS = ("gst-play", "mpv", "zefa")
HEADERS = {"gst-play": "gst-play-1.0 (ximagesink)", "mpv": "mpv (x11 output)", "zefa": "zefa"}

# The clips: name -> (width, height, seconds, videotestsrc pattern).
CLIPS = {
    "720p": (1280, 720, 10, "ball"),
    "540p": (960, 540, 10, "ball"),
    "white": (320, 240, 3, "white"),
}

# Every setting at its default but Repeat=0, so zefa stops at the end instead of looping.
ZEFA_CFG = [
    ("Window_x", "0"), ("Window_y", "0"), ("Repeat", "0"), ("Randam", "0"),
    ("NormalZoom", "2"), ("FullZoom", "5"), ("ListBox", "0"), ("Volume", "75"),
    ("FF", "5000"), ("REW", "5000"), ("WheelFF1", "-1000"), ("WheelFF2", "-3000"),
    ("WheelFF3", "-9000"), ("WheelFF4", "-14000"), ("WheelFF5", "-30000"),
    ("WheelREW1", "1000"), ("WheelREW2", "3000"), ("WheelREW3", "9000"),
    ("WheelREW4", "14000"), ("WheelREW5", "30000"), ("AutoTop", "0"), ("ScanLine", "1"),
    ("MauseVolume", "1"), ("Aspect", "0"), ("Info", "1"), ("InputMode", "1"),
    ("FlushAutoNext", "1"), ("MainPanel_x", "0"), ("MainPanel_y", "0"),
    ("SkinName", "Default01"),
    ("DropFileType", ".mpg.mpeg.mp3.avi.wav.mov.rm.swf.mp4.m4v.m4a.mkv.webm.ogg.ogv.oga.opus.flac;"),
    ("RealFileType", ".rm;"), ("MaskMode", "0"), ("U_Mask", "2"), ("D_Mask", "2"),
    ("R_Mask", "0"), ("L_Mask", "0"), ("WheelFlg1", "1"), ("WheelFlg2", "1"),
    ("FlashQuality", "0"), ("AutoPlay", "1"), ("FlashScale", "0"), ("FlashWindow", "0"),
]

WATCH_X, WATCH_Y = 160, 120  # the middle of the 320x240 white clip shown at 0,0
IDLE_WINDOW_S = 0.3          # zefa counts as done when its CPU over this window ...
IDLE_CPU_SHARE = 0.03        # ... is below this share of a core
SAMPLE_S = 0.05


class BenchError(Exception):
    pass


def log(msg):
    print(msg, file=sys.stderr, flush=True)


class Reaper:
    """Everything started or made, so any exit path (Ctrl-C included) ends and removes it."""

    def __init__(self):
        self.procs = []
        self.dirs = []
        self.keep = False

    def track(self, proc):
        self.procs.append(proc)
        return proc

    def forget(self, proc):
        if proc in self.procs:
            self.procs.remove(proc)

    def tempdir(self, root, prefix):
        path = tempfile.mkdtemp(prefix=prefix, dir=root)
        self.dirs.append(path)
        return path

    def cleanup(self):
        for proc in reversed(self.procs):
            stop(proc, grace=2.0)
        self.procs.clear()
        if not self.keep:
            for path in reversed(self.dirs):
                shutil.rmtree(path, ignore_errors=True)
        self.dirs.clear()


REAPER = Reaper()


def stop(proc, grace=5.0):
    """TERM, then KILL after GRACE seconds; returns the exit status (Popen style)."""
    if proc.returncode is None:
        try:
            proc.send_signal(signal.SIGTERM)
            proc.wait(timeout=grace)
        except subprocess.TimeoutExpired:
            proc.kill()
            proc.wait(timeout=5)
        except ProcessLookupError:
            pass
    return proc.returncode


def run_quiet(argv, timeout, env=None):
    return subprocess.run(argv, capture_output=True, text=True, timeout=timeout, env=env)


def load_average():
    try:
        with open("/proc/loadavg") as f:
            return " ".join(f.read().split()[:3])
    except OSError:
        return "?"


# ---------------------------------------------------------------- clips


def aac_encoder():
    for name in ("avenc_aac", "voaacenc"):
        if run_quiet(["gst-inspect-1.0", name], 30).returncode == 0:
            return name
    raise BenchError("no AAC encoder (avenc_aac or voaacenc) in GStreamer")


def clip_duration(path):
    """Duration in seconds and the video size, from gst-discoverer-1.0; None when unreadable."""
    try:
        out = run_quiet(["gst-discoverer-1.0", path], 60).stdout
    except subprocess.TimeoutExpired:
        return None
    m = re.search(r"Duration: (\d+):(\d+):(\d+(?:\.\d+)?)", out)
    w = re.search(r"Width: (\d+)", out)
    h = re.search(r"Height: (\d+)", out)
    if not (m and w and h and "H.264" in out and "AAC" in out):
        return None
    secs = int(m.group(1)) * 3600 + int(m.group(2)) * 60 + float(m.group(3))
    return secs, int(w.group(1)), int(h.group(1))


def clip_ok(path, name):
    width, height, secs, _ = CLIPS[name]
    info = os.path.exists(path) and clip_duration(path)
    return bool(info) and abs(info[0] - secs) < 0.3 and info[1:] == (width, height)


def make_clips(cache):
    os.makedirs(cache, exist_ok=True)
    paths = {}
    encoder = None
    for name, (width, height, secs, pattern) in CLIPS.items():
        path = os.path.join(cache, f"{pattern}-{width}x{height}-{secs}s.mp4")
        paths[name] = path
        if clip_ok(path, name):
            continue
        encoder = encoder or aac_encoder()
        log(f"making {path}")
        part = path + ".part"
        # I420: x264enc would otherwise pick 4:4:4, which no ordinary clip has.
        # 441 samples at 44.1 kHz a buffer: the sound ends with the picture.
        pipeline = (
            f"videotestsrc pattern={pattern} num-buffers={secs * 25} ! "
            f"video/x-raw,format=I420,width={width},height={height},framerate=25/1 ! "
            f"x264enc ! h264parse ! mp4mux name=m ! filesink location={part} "
            f"audiotestsrc num-buffers={secs * 100} samplesperbuffer=441 ! "
            f"audio/x-raw,rate=44100 ! audioconvert ! {encoder} ! m."
        )
        res = run_quiet(["gst-launch-1.0", "-q"] + pipeline.split(), 600)
        if res.returncode != 0:
            raise BenchError(f"gst-launch-1.0 failed for {name}: {res.stderr[-800:]}")
        os.replace(part, path)
        if not clip_ok(path, name):
            raise BenchError(f"{path} is not a {secs} s {width}x{height} H.264+AAC clip")
    return paths


# ---------------------------------------------------------------- X server


class Xvfb:
    def __init__(self, width, height, workdir):
        self.size = (width, height)
        self.proc = None
        for n in range(90, 160):
            if os.path.exists(f"/tmp/.X11-unix/X{n}") or os.path.exists(f"/tmp/.X{n}-lock"):
                continue
            logf = open(os.path.join(workdir, f"xvfb-{n}.log"), "wb")
            # -noreset: a server that resets when its last client leaves refuses connections
            # for a moment, and the runs here connect and leave all the time.
            proc = REAPER.track(subprocess.Popen(
                ["Xvfb", f":{n}", "-screen", "0", f"{width}x{height}x24", "-nolisten", "tcp",
                 "-br", "-noreset"], stdout=logf, stderr=subprocess.STDOUT,
                stdin=subprocess.DEVNULL))
            logf.close()
            if self._wait_ready(proc, n):
                self.proc, self.display = proc, f":{n}"
                return
            stop(proc)
            REAPER.forget(proc)
        raise BenchError("could not start Xvfb on any display from :90 to :159")

    @staticmethod
    def _wait_ready(proc, n):
        deadline = time.monotonic() + 15
        while time.monotonic() < deadline:
            if proc.poll() is not None:
                return False  # most likely the number was taken meanwhile
            try:
                if run_quiet(["xdpyinfo", "-display", f":{n}"], 5).returncode == 0:
                    return True
            except subprocess.TimeoutExpired:
                pass
            time.sleep(0.1)
        return False

    def close(self):
        if self.proc:
            stop(self.proc)
            REAPER.forget(self.proc)
            self.proc = None


def toplevels(display):
    """The root's children: [(id, width, height, x, y)]."""
    try:
        out = run_quiet(["xwininfo", "-display", display, "-root", "-children"], 10).stdout
    except subprocess.TimeoutExpired:
        return []
    wins = []
    for line in out.splitlines():
        m = re.match(r"\s+(0x[0-9a-f]+) .*\s(\d+)x(\d+)\+(-?\d+)\+(-?\d+)\s+\+-?\d+\+-?\d+\s*$", line)
        if m:
            wins.append((m.group(1),) + tuple(int(g) for g in m.groups()[1:]))
    return wins


def viewable(display, wid):
    try:
        out = run_quiet(["xwininfo", "-display", display, "-id", wid], 10).stdout
    except subprocess.TimeoutExpired:
        return False
    return "IsViewable" in out


def shown_windows(display):
    return [w for w in toplevels(display) if viewable(display, w[0])]


# ---------------------------------------------------------------- players


class Bench:
    def __init__(self, args):
        self.args = args
        self.build = os.path.abspath(args.build)
        self.zefa_bin = os.path.join(self.build, "bin")
        self.pixel_watch = os.path.join(self.build, "bench", "desktop", "pixel_watch")
        self.have_mpv = shutil.which("mpv") is not None
        self.players = [p for p in PLAYERS if p != "mpv" or self.have_mpv]
        self.tmp = REAPER.tempdir(None, "zefa-side-by-side-")
        self.run_no = 0

    def check_tools(self, only):
        need = ["Xvfb", "xdpyinfo", "xwininfo"]
        if "launch" in only or "play" in only:
            need += ["gst-launch-1.0", "gst-discoverer-1.0", "gst-inspect-1.0", "gst-play-1.0"]
        missing = [t for t in need if shutil.which(t) is None]
        if missing:
            raise BenchError("missing: " + ", ".join(missing) +
                             " (gst-play-1.0 and gst-discoverer-1.0: gstreamer1.0-plugins-base-apps)")
        for f in ("zefa", "libvelmo.so", "Skin"):
            if not os.path.exists(os.path.join(self.zefa_bin, f)):
                raise BenchError(f"{self.zefa_bin}/{f} missing: build zefa first")
        if "launch" in only and not os.access(self.pixel_watch, os.X_OK):
            raise BenchError(f"{self.pixel_watch} missing: build the pixel_watch target")

    def env(self, display):
        env = dict(os.environ)
        env.pop("QT_QPA_PLATFORM", None)
        env.pop("WAYLAND_DISPLAY", None)
        env["DISPLAY"] = display
        run = REAPER.tempdir(self.tmp, "xdg-")
        os.chmod(run, 0o700)
        env["XDG_RUNTIME_DIR"] = run  # zefa's single-instance lock: ours alone
        return env

    def zefa_folder(self):
        """A fresh program folder: zefa, libvelmo.so, Skin/ and our ZEFA.cfg."""
        prog = REAPER.tempdir(self.tmp, "zefa-prog-")
        shutil.copy2(os.path.join(self.zefa_bin, "zefa"), prog)
        shutil.copy2(os.path.join(self.zefa_bin, "libvelmo.so"), prog)
        shutil.copytree(os.path.join(self.zefa_bin, "Skin"), os.path.join(prog, "Skin"))
        with open(os.path.join(prog, "ZEFA.cfg"), "wb") as f:
            f.write(b"".join(f"{k}={v}\r\n".encode() for k, v in ZEFA_CFG))
        return prog

    def argv(self, player, clip, launch=False):
        if player == "gst-play":
            return ["gst-play-1.0", "--videosink=ximagesink", "--audiosink=fakesink sync=true", clip]
        if player == "mpv":
            # mpv centres its window; for the launch look it has to sit at 0,0 like the others.
            extra = ["--geometry=+0+0"] if launch else []
            return ["mpv", "--no-config", "--vo=x11", "--ao=null", "--hwdec=no"] + extra + [clip]
        prog = self.zefa_folder()
        return [os.path.join(prog, "zefa")] + ([clip] if clip else [])

    def spawn(self, player, argv, env):
        self.run_no += 1
        base = os.path.join(self.tmp, f"{self.run_no:03d}-{player}")
        out = open(base + ".out", "wb")
        err = open(base + ".err", "wb")
        cwd = os.path.dirname(argv[0]) if player == "zefa" else self.tmp
        proc = REAPER.track(subprocess.Popen(argv, stdout=out, stderr=err, stdin=subprocess.DEVNULL,
                                             env=env, cwd=cwd))
        out.close()
        err.close()
        return proc, base + ".err"

    @staticmethod
    def reap(proc, block):
        """os.wait4 on the player: its own rusage. None while it runs (non-blocking)."""
        pid, status, usage = os.wait4(proc.pid, 0 if block else os.WNOHANG)
        if pid == 0:
            return None
        proc.returncode = os.waitstatus_to_exitcode(status)
        REAPER.forget(proc)
        return usage

    def finish(self, proc, grace=5.0):
        """TERM, KILL after GRACE s; the rusage. (os.kill, not Popen.send_signal: that polls,
        and a poll that reaps loses the rusage.)"""
        usage = self.reap(proc, block=False)
        if usage:
            return usage
        os.kill(proc.pid, signal.SIGTERM)
        deadline = time.monotonic() + grace
        while time.monotonic() < deadline:
            usage = self.reap(proc, block=False)
            if usage:
                return usage
            time.sleep(0.02)
        os.kill(proc.pid, signal.SIGKILL)
        return self.reap(proc, block=True)

    def discard(self, argv):
        """Removes a zefa run's program folder (they add up: ~15 MB each)."""
        prog = os.path.dirname(argv[0])
        if not self.args.keep and os.path.basename(prog).startswith("zefa-prog-"):
            shutil.rmtree(prog, ignore_errors=True)

    @staticmethod
    def proc_cpu_ticks(pid):
        try:
            with open(f"/proc/{pid}/stat") as f:
                fields = f.read().rsplit(")", 1)[1].split()
            return int(fields[11]) + int(fields[12])  # utime, stime
        except (OSError, IndexError, ValueError):
            return None

    @staticmethod
    def tail(path, lines=6):
        try:
            with open(path, "rb") as f:
                text = f.read()[-4000:].decode(errors="replace")
        except OSError:
            return ""
        # Players redraw a progress line with \r; keep the last state of each line.
        rows = [r.split("\r")[-1].strip() for r in text.splitlines()]
        return " | ".join(r for r in rows if r)[-600:]

    # ------------------------------------------------------------ one playback

    def play_once(self, player, clip, secs, display, expect, scaled):
        env = self.env(display)
        argv = self.argv(player, clip)
        start = time.monotonic()
        proc, errlog = self.spawn(player, argv, env)
        samples = collections.deque()
        windows = None
        ended_by = "itself"
        cap = secs + (8 if player == "zefa" else 20)
        usage = None
        while usage is None:
            now = time.monotonic()
            elapsed = now - start
            if windows is None and elapsed >= 3.0:
                windows = shown_windows(display)
            if player == "zefa":
                ticks = self.proc_cpu_ticks(proc.pid)
                if ticks is not None:
                    samples.append((now, ticks))
                while len(samples) > 1 and now - samples[1][0] >= IDLE_WINDOW_S:
                    samples.popleft()
                if elapsed >= secs and len(samples) > 1 and now - samples[0][0] >= IDLE_WINDOW_S:
                    t0, c0 = samples[0]
                    share = (ticks - c0) / CLK_TCK / (now - t0) if ticks is not None else 0
                    if share < IDLE_CPU_SHARE:
                        ended_by = "idle"
                        usage = self.finish(proc)
                        break
            if elapsed >= cap:
                ended_by = "cap"
                usage = self.finish(proc)
                break
            usage = self.reap(proc, block=False)
            if usage is None:
                time.sleep(SAMPLE_S)
        wall = time.monotonic() - start
        rec = {
            "player": player, "wall_s": round(wall, 3), "status": proc.returncode,
            "ended_by": ended_by,
            "cpu_s": round(usage.ru_utime + usage.ru_stime, 3),
            "user_s": round(usage.ru_utime, 3), "sys_s": round(usage.ru_stime, 3),
            "rss_mib": round(usage.ru_maxrss / 1024, 1),
            "windows": [f"{w}x{h}+{x}+{y}" for _, w, h, x, y in (windows or [])],
        }
        rec["error"] = self.judge(player, rec, secs, expect, scaled, windows or [], errlog)
        self.discard(argv)
        return rec

    def judge(self, player, rec, secs, expect, scaled, windows, errlog):
        """Why the run does not count, or None."""
        why = None
        ew, eh = expect
        sw, sh = self.screen
        if scaled:
            fits = [w for w in windows if w[1] <= sw and w[2] <= sh and w[1] * w[2] >= ew * eh / 2]
        else:
            fits = [w for w in windows if (w[1], w[2]) == (ew, eh)]
        if player == "zefa":
            if rec["status"] not in (0, -signal.SIGTERM):
                why = f"exit status {rec['status']}"
            elif rec["ended_by"] == "cap":
                why = f"still busy {secs + 8} s after start"
        elif rec["ended_by"] == "cap":
            why = "did not end by itself"
        elif rec["status"] != 0:
            why = f"exit status {rec['status']}"
        if not why and rec["wall_s"] < secs - 1:
            why = f"ran only {rec['wall_s']} s"
        if not why and not fits:
            why = f"no shown window of {'about ' if scaled else ''}{ew}x{eh} 3 s in " \
                  f"(saw {rec['windows'] or 'none'})"
        if why:
            tail = self.tail(errlog)
            return why + (f"; stderr: {tail}" if tail else "")
        return None

    # ------------------------------------------------------------ launch

    def screen_clear(self, display):
        """No window left and the watched pixel not white."""
        deadline = time.monotonic() + 5
        while toplevels(display) and time.monotonic() < deadline:
            time.sleep(0.1)
        left = toplevels(display)
        if left:
            return f"leftover windows {left}"
        res = run_quiet([self.pixel_watch, str(WATCH_X), str(WATCH_Y), "0", "0"], 10,
                        env=dict(os.environ, DISPLAY=display))
        if res.returncode != 1 or res.stdout.split()[-1:] != ["timeout"]:
            return f"pixel at {WATCH_X},{WATCH_Y} is already white ({res.stdout.strip()})"
        return None

    def launch_once(self, player, clip, display):
        rec = {"player": player}
        dirty = self.screen_clear(display)
        if dirty:
            rec["error"] = dirty
            return rec
        env = self.env(display)
        argv = self.argv(player, clip, launch=True)
        # pixel_watch has to be connected before the player exists, so it gets START_NS 0 (ms
        # on the monotonic clock) and the player's spawn time is subtracted afterwards.
        watch = REAPER.track(subprocess.Popen(
            [self.pixel_watch, str(WATCH_X), str(WATCH_Y), "0", "15000"],
            stdout=subprocess.PIPE, stderr=subprocess.PIPE, stdin=subprocess.DEVNULL,
            env=dict(os.environ, DISPLAY=display), text=True))
        ready, _, _ = select.select([watch.stdout], [], [], 10)
        if not ready or watch.stdout.readline().strip() != "ready":
            stop(watch)
            REAPER.forget(watch)
            rec["error"] = "pixel_watch did not connect"
            return rec
        start_ns = time.monotonic_ns()
        proc, errlog = self.spawn(player, argv, env)
        try:
            out, _ = watch.communicate(timeout=25)
        except subprocess.TimeoutExpired:
            stop(watch)
            out = "timeout"
        REAPER.forget(watch)
        first = out.split()[-1] if out.split() else ""
        usage = self.finish(proc)
        self.discard(argv)
        rec["status"] = proc.returncode
        rec["rss_mib"] = round(usage.ru_maxrss / 1024, 1)
        try:
            rec["first_frame_ms"] = round(float(first) - start_ns / 1e6, 1)
        except ValueError:
            tail = self.tail(errlog)
            rec["error"] = f"no white pixel within 15 s (exit status {proc.returncode})" + \
                (f"; stderr: {tail}" if tail else "")
        return rec


def main():
    ap = argparse.ArgumentParser(description=__doc__.split("\n\n")[0])
    ap.add_argument("--build", default="build", help="build directory (default: build)")
    ap.add_argument("--runs", type=int, default=3, help="runs of each player per case (default 3)")
    ap.add_argument("--only", default="launch,play,idle",
                    help="comma list of launch, play, idle (default: all)")
    ap.add_argument("--idle-seconds", type=float, default=30.0, help="idle measurement length")
    ap.add_argument("--clips", default="/tmp/zefa-bench-clips", help="clip cache directory")
    ap.add_argument("--json", help="write the raw numbers to this file")
    ap.add_argument("--keep", action="store_true", help="keep the temporary folders")
    args = ap.parse_args()
    only = {s.strip() for s in args.only.split(",") if s.strip()}
    if not only or only - {"launch", "play", "idle"} or args.runs < 1:
        ap.error("--only takes launch, play, idle; --runs at least 1")

    def on_signal(signum, _frame):
        raise SystemExit(128 + signum)

    signal.signal(signal.SIGTERM, on_signal)
    signal.signal(signal.SIGHUP, on_signal)
    REAPER.keep = args.keep
    try:
        results = run_all(args, only)
    except BenchError as e:
        log(f"side_by_side: {e}")
        return 1
    except KeyboardInterrupt:
        log("side_by_side: interrupted")
        return 130
    except SystemExit as e:
        log(f"side_by_side: ended by a signal (exit {e.code})")
        raise
    finally:
        kept = REAPER.dirs[:1]
        REAPER.cleanup()
        if args.keep and kept:
            log(f"kept {kept[0]}")
    print(render(results))
    if args.json:
        with open(args.json, "w") as f:
            json.dump(results, f, indent=2)
    return 0


# Measurement order: each case's runs interleaved player by player.
PLAY_CASES = [
    # key, clip, screen, scaled, label
    ("720p-scaled", "720p", (1280, 800), True, "1280x720 scaled (1280x800 screen)"),
    ("720p-1to1", "720p", (1920, 1200), False, "1280x720 1:1 (1920x1200 screen)"),
    ("540p-1to1", "540p", (1920, 1200), False, "960x540 1:1 (1920x1200 screen)"),
]


def run_all(args, only):
    bench = Bench(args)
    bench.check_tools(only)
    results = {"runs": args.runs, "idle_seconds": args.idle_seconds, "players": bench.players, "load_before": load_average(),
               "play": {}, "launch": [], "idle": []}
    clips = {}
    if only & {"launch", "play"}:
        clips = make_clips(args.clips)
        run_quiet(["gst-inspect-1.0"], 120)  # brings GStreamer's registry up to date once
    screens = []
    if only & {"launch", "play"}:
        screens.append((1280, 800))
    if "play" in only:
        screens.append((1920, 1200))
    if "idle" in only and not screens:
        screens.append((1280, 800))
    for screen in screens:
        x = Xvfb(*screen, bench.tmp)
        bench.screen = screen
        try:
            log(f"Xvfb {x.display} {screen[0]}x{screen[1]}")
            if "play" in only:
                for key, clip, scr, scaled, label in PLAY_CASES:
                    if scr != screen:
                        continue
                    w, h, secs, _ = CLIPS[clip]
                    recs = results["play"].setdefault(key, [])
                    for i in range(args.runs):
                        for player in bench.players:
                            rec = bench.play_once(player, clips[clip], secs, x.display, (w, h), scaled)
                            rec["run"] = i
                            recs.append(rec)
                            log(f"  {label} run {i + 1} {player}: " + (
                                f"FAILED {rec['error']}" if rec["error"] else
                                f"cpu {rec['cpu_s']} s rss {rec['rss_mib']} MiB wall {rec['wall_s']} s"
                                f" windows {rec['windows']}"))
            if "launch" in only and screen == (1280, 800):
                for i in range(args.runs):
                    for player in bench.players:
                        rec = bench.launch_once(player, clips["white"], x.display)
                        rec["run"] = i
                        results["launch"].append(rec)
                        log(f"  launch run {i + 1} {player}: " +
                            (f"FAILED {rec['error']}" if rec.get("error") else
                             f"{rec['first_frame_ms']} ms"))
            if "idle" in only and screen == screens[0]:
                for i in range(args.runs):
                    rec = idle_once(bench, x.display, args.idle_seconds)
                    rec["run"] = i
                    results["idle"].append(rec)
                    log(f"  idle run {i + 1}: " + (f"FAILED {rec['error']}" if rec.get("error")
                                                   else f"{rec['cpu_s']} s in {rec['seconds']} s"))
        finally:
            x.close()
    results["load_after"] = load_average()
    return results


def idle_once(bench, display, seconds):
    env = bench.env(display)
    argv = bench.argv("zefa", None)
    proc, errlog = bench.spawn("zefa", argv, env)
    time.sleep(3)  # settle
    windows = shown_windows(display)
    t0, c0 = time.monotonic(), bench.proc_cpu_ticks(proc.pid)
    deadline = t0 + seconds
    usage = None
    while usage is None and time.monotonic() < deadline:
        time.sleep(min(0.5, max(0.0, deadline - time.monotonic())))
        usage = bench.reap(proc, block=False)
    t1, c1 = time.monotonic(), bench.proc_cpu_ticks(proc.pid)
    usage = usage or bench.finish(proc)
    bench.discard(argv)
    rec = {"player": "zefa", "status": proc.returncode,
           "windows": [f"{w}x{h}+{x}+{y}" for _, w, h, x, y in windows],
           "rss_mib": round(usage.ru_maxrss / 1024, 1)}
    if c0 is None or c1 is None or proc.returncode != -signal.SIGTERM:
        tail = bench.tail(errlog)
        rec["error"] = f"zefa ended early (exit status {proc.returncode})" + \
            (f"; stderr: {tail}" if tail else "")
        return rec
    span = t1 - t0
    cpu = (c1 - c0) / CLK_TCK
    rec.update(seconds=round(span, 2), cpu_s=round(cpu, 3),
               core_pct=round(100 * cpu / span, 3),
               us_per_tick=round(cpu / (span / 0.05) * 1e6, 1))
    return rec


# ---------------------------------------------------------------- output


def cell(values, fmt):
    if not values:
        return None
    med = statistics.median(values)
    if len(values) == 1:
        return fmt.format(med)
    return f"{fmt.format(med)} [{fmt.format(min(values))}–{fmt.format(max(values))}]"


def ratio(recs, field, num, den):
    by = collections.defaultdict(dict)
    for r in recs:
        if not r.get("error") and field in r:
            by[r["run"]][r["player"]] = r[field]
    pairs = [v[num] / v[den] for v in by.values() if num in v and den in v and v[den] > 0]
    return f"{statistics.median(pairs):.2f}" if pairs else "—"


def row(label, recs, field, fmt, players, have_mpv, ratios):
    cells = []
    for p in ("gst-play", "mpv", "zefa"):
        if p == "mpv" and not have_mpv:
            cells.append("not installed")
            continue
        mine = [r for r in recs if r["player"] == p]
        if p not in players or not mine:
            cells.append("—")
            continue
        ok = [r[field] for r in mine if not r.get("error") and field in r]
        failed = len(mine) - len(ok)
        text = cell(ok, fmt) or "failed"
        if failed:
            text += f" ({failed} of {len(mine)} failed)"
        cells.append(text)
    cells.append(ratio(recs, field, "zefa", "gst-play") if "gst-play" in ratios else "—")
    cells.append(ratio(recs, field, "zefa", "mpv") if "mpv" in ratios and have_mpv else "—")
    return f"| {label} | " + " | ".join(cells) + " |"


def render(res):
    players = res["players"]
    have_mpv = "mpv" in players
    lines = [
        "| work | " + " | ".join(HEADERS[p] for p in PLAYERS) + " | zefa / gst-play | zefa / mpv |",
        "|---|---|---|---|---|---|",
    ]
    walls = []
    for key, _clip, _scr, _scaled, label in PLAY_CASES:
        recs = res["play"].get(key)
        if not recs:
            continue
        lines.append(row(f"{label}: CPU s", recs, "cpu_s", "{:.2f}", players, have_mpv, ("gst-play",)))
        lines.append(row(f"{label}: peak RSS MiB", recs, "rss_mib", "{:.1f}", players, have_mpv,
                         ("gst-play", "mpv")))
        walls.append(row(f"{label}: wall s", recs, "wall_s", "{:.2f}", players, have_mpv, ()))
    if res["idle"]:
        secs = res["idle_seconds"]
        lines.append(row(f"idle, no medium: CPU s per {secs:.0f} s", res["idle"], "cpu_s", "{:.3f}",
                         ["zefa"], have_mpv, ()))
        lines.append(row("idle, no medium: µs per 50 ms tick", res["idle"], "us_per_tick", "{:.0f}",
                         ["zefa"], have_mpv, ()))
    if res["launch"]:
        lines.append(row("launch to first frame ms (320x240 white clip)", res["launch"],
                         "first_frame_ms", "{:.0f}", players, have_mpv, ("gst-play",)))
    out = ["\n".join(lines)]
    if walls:
        out.append("Wall time of the playback runs:\n\n" + "\n".join(lines[:2] + walls))
    notes = [
        f"Median of {res['runs']} run(s), [min–max]; ratios are medians of per-run ratios "
        "(run i of zefa over run i of the other player).",
        "CPU and peak RSS from wait4 on the player itself; CPU is user + sys of all its threads.",
        "zefa does not end at the end of a clip: it is sent SIGTERM once it has run the clip's "
        f"length and used under {IDLE_CPU_SHARE:.0%} of a core over {IDLE_WINDOW_S * 1000:.0f} ms,"
        " so its CPU and wall time include those last idle few hundred ms.",
        "Only zefa scales on the 1280x800 screen (its window leaves room for its panel); "
        "gst-play and mpv show 1280x720 1:1 there too.",
        "Launch: ms from just before the player's spawn until pixel "
        f"{WATCH_X},{WATCH_Y} of the screen turns white; mpv gets --geometry=+0+0 there "
        "(it centres its window otherwise).",
        f"Load average before {res['load_before']}, after {res.get('load_after', '?')}.",
    ]
    if res["idle"]:
        pct = [r["core_pct"] for r in res["idle"] if "core_pct" in r]
        if pct:
            notes.append(f"Idle zefa: {cell(pct, '{:.3f}')} % of a core; windows shown: "
                         f"{res['idle'][0].get('windows')}.")
    zefa_windows = sorted({w for recs in res["play"].values() for r in recs
                           if r["player"] == "zefa" for w in r.get("windows", [])})
    if zefa_windows:
        notes.append(f"zefa's shown windows 3 s in: {', '.join(zefa_windows)}.")
    out.append("\n".join(f"- {n}" for n in notes))
    failures = []
    for key, recs in res["play"].items():
        failures += [f"- {key} run {r['run'] + 1} {r['player']}: {r['error']}" for r in recs if r.get("error")]
    failures += [f"- launch run {r['run'] + 1} {r['player']}: {r['error']}"
                 for r in res["launch"] if r.get("error")]
    failures += [f"- idle run {r['run'] + 1}: {r['error']}" for r in res["idle"] if r.get("error")]
    if failures:
        out.append("Failed runs:\n" + "\n".join(failures))
    return "\n\n".join(out)


if __name__ == "__main__":
    sys.exit(main())
