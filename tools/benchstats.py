#!/usr/bin/python3
"""Figures of benchmark runs from their frame logs (--frame-log) and what the program printed.

  benchstats.py frames LOG.csv            one line: lows, frame-time percentiles, longest frame
  benchstats.py summary [--json FILE] [--adapter TEXT] [--wine TEXT] [--resolution WxH] [--mode TEXT] RUN...
                                          stability over the runs (printed) and, with --json, every
                                          figure of every run and of the machine as JSON

A RUN folder holds what tools/benchmark.sh keeps of one run: frames.csv (the frame log), out (the
program's --fps lines), log (its standard error, with the results line), bare (the bare Clear+Present
frame rates before and after) and, after a full run, Results.htm.

Definitions (the README's benchmark section says the same):
  - The figures of a frame log count the frames the score counts: those of sections 1 to 3.
  - Percentile p of the frame times, nearest rank: the smallest frame time that at least p % of the
    frames do not exceed; of n sorted times the one at rank ceil(p / 100 * n).
  - 1 % low: the frame rate of the slowest 1 % of the frames (ceil(n / 100) of them, at least one),
    1000 / their mean frame time in ms; the frame rate the run would have if it went all the way as it
    does in its worst moments. 0.1 % low likewise with ceil(n / 1000) frames.
  - Spread of a figure over the runs: (max - min) / mean. The runs are stable when the worst reaches at
    least 97 % of the best: by score, or by the whole run's frame rate when a run has no score.
Python standard library only.
"""
import json
import math
import os
import re
import sys

STABLE_RATIO = 0.97


def read_frame_log(path):
    """(frame, show time s, frame time ms, section) per line after the header."""
    frames = []
    with open(path) as f:
        header = f.readline().strip()
        if header != "frame,show_time_s,frame_time_ms,section":
            raise ValueError("%s: not a frame log (header %r)" % (path, header))
        for line in f:
            if line.strip():
                n, t, ms, section = line.split(",")
                frames.append((int(n), float(t), float(ms), int(section)))
    return frames


def percentile(sorted_times, p):
    """Nearest rank: the value at rank ceil(p / 100 * n) of n ascending values."""
    rank = max(1, math.ceil(p / 100.0 * len(sorted_times)))
    return sorted_times[rank - 1]


def low_fps(sorted_times, fraction):
    """Frames/s of the slowest `fraction` of the frames: 1000 / their mean frame time (ms)."""
    count = max(1, math.ceil(fraction * len(sorted_times)))
    slowest = sorted_times[-count:]
    return 1000.0 / (sum(slowest) / count)


def frame_figures(frames):
    """Lows, percentiles and the longest frame of the frames in sections 1 to 3; None without any."""
    times = sorted(ms for _, _, ms, section in frames if section > 0)
    if not times:
        return None
    return {
        "frames": len(times),
        "low_1pct_fps": low_fps(times, 0.01),
        "low_0_1pct_fps": low_fps(times, 0.001),
        "frame_time_p50_ms": percentile(times, 50),
        "frame_time_p95_ms": percentile(times, 95),
        "frame_time_p99_ms": percentile(times, 99),
        "longest_frame_ms": times[-1],
    }


def describe(figures):
    if figures is None:
        return "no frame of a benchmark section in the frame log"
    return ("1 %% low %.1f frames/s, 0.1 %% low %.1f frames/s; frame time p50 %.1f ms, p95 %.1f ms, "
            "p99 %.1f ms, longest %.1f ms" % (
                figures["low_1pct_fps"], figures["low_0_1pct_fps"], figures["frame_time_p50_ms"],
                figures["frame_time_p95_ms"], figures["frame_time_p99_ms"], figures["longest_frame_ms"]))


def _read(path):
    try:
        with open(path, errors="replace") as f:
            return f.read()
    except OSError:
        return ""


def _number(pattern, text, kind=float):
    m = re.search(pattern, text, re.M)
    return kind(m.group(1)) if m else None


def read_run(folder):
    """Every figure of one run folder (see the module's text); None where the run has none."""
    out = _read(os.path.join(folder, "out"))
    log = _read(os.path.join(folder, "log"))
    report = _read(os.path.join(folder, "Results.htm"))
    bare = _read(os.path.join(folder, "bare")).split()
    sections = [_number(r"^section %d \(.*\): \d+ frames, ([0-9.]+) frames/s$" % i, out) for i in (1, 2, 3)]
    run = {
        "section_fps": sections,
        "score": _number(r'text "Your score is: (\d+)"', log, int),
        # as "Results.htm" counts them
        "average_fps": _number(r"Average frames per second</td><td class='r'>(\d+) FPS", report, int),
        "min_fps": _number(r"Minimum frames per second</td><td class='r'>(\d+) FPS", report, int),
        "max_fps": _number(r"Maximum frames per second</td><td class='r'>(\d+) FPS", report, int),
        "frames": _number(r"^(\d+) frames in ", out, int),
        "run_fps": _number(r"^\d+ frames in [0-9.]+ s: ([0-9.]+) frames/s$", out),
        "startup_s": _number(r"^start-up: ([0-9.]+) s\b", out),  # "... s" and what it counts from, if said
        "peak_memory_mb": _number(r"^peak memory: ([0-9.]+) MB$", out),
        "bare_fps_before": float(bare[0]) if len(bare) > 0 else None,
        "bare_fps_after": float(bare[1]) if len(bare) > 1 else None,
    }
    bare_mean = (run["bare_fps_before"] or 0) + (run["bare_fps_after"] or 0)
    run["engine_bare_ratio"] = run["run_fps"] / (bare_mean / 2) if run["run_fps"] and bare_mean else None
    log_path = os.path.join(folder, "frames.csv")
    figures = frame_figures(read_frame_log(log_path)) if os.path.exists(log_path) else None
    for key in ("low_1pct_fps", "low_0_1pct_fps", "frame_time_p50_ms", "frame_time_p95_ms", "frame_time_p99_ms",
                "longest_frame_ms"):
        run[key] = figures[key] if figures else None
    return run


def spread(values):
    """(max - min) / mean; None unless every value is there."""
    if not values or any(v is None for v in values) or sum(values) == 0:
        return None
    return (max(values) - min(values)) / (sum(values) / len(values))


def stability(runs):
    scores = [r["score"] for r in runs]
    basis, values = ("score", scores) if all(s is not None for s in scores) else ("run_fps", [r["run_fps"] for r in runs])
    result = {
        "runs": len(runs),
        "score_spread": spread(scores),
        "section_spread": [spread([r["section_fps"][i] for r in runs]) for i in range(3)],
        "verdict_by": basis,
        "worst_to_best": None,
        "verdict": None,
    }
    if len(runs) >= 2 and all(v for v in values):
        result["worst_to_best"] = min(values) / max(values)
        result["verdict"] = "stable" if result["worst_to_best"] >= STABLE_RATIO else "unstable"
    return result


def describe_stability(s):
    def pct(v):
        return "-" if v is None else "%.1f %%" % (100 * v)
    lines = ["stability over %d runs: score spread %s; section spread %s" % (
        s["runs"], pct(s["score_spread"]), ", ".join(pct(v) for v in s["section_spread"]))]
    if s["verdict"]:
        lines.append("  worst run %s of the best (%s): %s (stable from %d %%)" % (
            pct(s["worst_to_best"]), "score" if s["verdict_by"] == "score" else "frames/s of the whole run",
            s["verdict"], round(100 * STABLE_RATIO)))
    return "\n".join(lines)


def cpu():
    model = _number(r"^model name\s*:\s*(.+)$", _read("/proc/cpuinfo"), str)
    return (model or "unknown").strip(), os.cpu_count()


def main(argv):
    if len(argv) >= 2 and argv[0] == "frames":
        for path in argv[1:]:
            print(describe(frame_figures(read_frame_log(path))))
        return 0
    if not argv or argv[0] != "summary":
        print(__doc__.strip().split("\n\n")[1], file=sys.stderr)
        return 2
    options = {"--json": None, "--adapter": None, "--wine": None, "--resolution": None, "--mode": None}
    folders = []
    args = argv[1:]
    while args:
        if args[0] in options and len(args) > 1:
            options[args[0]] = args[1]
            args = args[2:]
        else:
            folders.append(args.pop(0))
    runs = [read_run(f) for f in folders]
    result = stability(runs)
    if len(runs) >= 2:
        print(describe_stability(result))
    if options["--json"]:
        model, cores = cpu()
        document = {
            "machine": {"cpu_model": model, "cpu_cores": cores, "wine_version": options["--wine"],
                        "adapter": options["--adapter"], "resolution": options["--resolution"],
                        "mode": options["--mode"]},
            "runs": runs,
            "stability": result,
        }
        with open(options["--json"], "w") as f:
            json.dump(document, f, indent=2)
            f.write("\n")
    return 0


if __name__ == "__main__":
    sys.exit(main(sys.argv[1:]))
