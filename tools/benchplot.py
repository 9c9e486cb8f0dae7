#!/usr/bin/python3
"""Draws the frame times of benchmark runs over show time into a PNG, with gnuplot.

  benchplot.py OUT.png WxH TITLE LOG.csv...

Per run (frame log of --frame-log): every frame as a faint dot and its mean over each show second as a
line. Dashed lines mark where the benchmark's three sections begin; the scenes are named along the top
with thin lines where each begins. The frame-time axis ends at three times the highest 99th percentile,
so that a few long frames do not flatten the rest; those above it are marked at its top.
"""
import os
import subprocess
import sys
import tempfile

sys.path.insert(0, os.path.dirname(os.path.abspath(__file__)))
from benchstats import percentile, read_frame_log  # noqa: E402

SECTIONS = [1.0, 71.0, 137.0]   # app/scenes/CObjectBenchmark.h
SHOW_END = 235.8
# Where each scene takes the screen, from the cue sheets (ScheduleEvents) of app/scenes: the blob turns
# on at 16.8 s (CObjectBlob), the logo fades in from 54 s (CObjectLogo), the station at 70.8 s, its ship's
# shadings from the toon shading at 112.3 s (CObjectStation), the star and the room at 178.8 s.
SCENES = [(0.0, "tunnel"), (16.8, "blob"), (54.0, "logo"), (70.8, "station"), (112.3, "ship shadings"),
          (178.8, "star and room")]
COLOURS = ["#1f60c0", "#d04010", "#209040", "#8040b0", "#b08000"]


def per_second(frames):
    """(second + 0.5, mean frame time ms) for each whole show second that has frames."""
    sums = {}
    for _, t, ms, _ in frames:
        s = int(t)
        total, count = sums.get(s, (0.0, 0))
        sums[s] = (total + ms, count + 1)
    return [(s + 0.5, total / count) for s, (total, count) in sorted(sums.items())]


def script(out, width, height, title, data_files, y_max, above):
    scenes = SCENES + [(SHOW_END, None)]
    lines = [
        "set terminal pngcairo size %d,%d font 'DejaVu Sans,10' noenhanced" % (width, height),
        "set output '%s'" % out.replace("'", "''"),
        "set title '%s%s'" % (title.replace("'", "''"),
                              "" if not above else " (%d frames above %.0f ms: marks at the top)" % (above, y_max)),
        "set xlabel 'show time (s)'",
        "set ylabel 'frame time (ms)'",
        "set xrange [0:%g]" % SHOW_END,
        "set yrange [0:%g]" % y_max,
        "set xtics 0,20 nomirror",
        "set x2range [0:%g]" % SHOW_END,
        "set x2tics (%s) scale 0" % ", ".join(
            "'%s' %g" % (name, (start + scenes[i + 1][0]) / 2) for i, (start, name) in enumerate(SCENES)),
        "set grid ytics lc rgb '#e0e0e0'",
        "set key at graph 0.99, graph 0.93 right top opaque box",
    ]
    for start, _ in SCENES[1:]:
        lines.append("set arrow from %g, graph 0 to %g, graph 1 nohead lc rgb '#b0b0b0' lw 1" % (start, start))
    for i, start in enumerate(SECTIONS):
        lines.append("set arrow from %g, graph 0 to %g, graph 1 nohead dt 2 lc rgb '#000000' lw 2" % (start, start))
        lines.append("set label 'section %d' at %g, graph 0.97 left offset 0.5,0 font ',9'" % (i + 1, start))
    plots = []
    for i, (frames_file, seconds_file) in enumerate(data_files):
        colour = COLOURS[i % len(COLOURS)]
        plots.append("'%s' using 1:2 with dots lc rgb '%s' notitle" % (frames_file, colour))
        plots.append("'%s' using 1:2 with lines lw 2 lc rgb '%s' title 'run %d: mean of each second'" % (
            seconds_file, colour, i + 1))
        plots.append("'%s' using 1:($2 > %g ? %g : 1/0) with points pt 9 ps 0.7 lc rgb '%s' notitle" % (
            frames_file, y_max, y_max * 0.985, colour))
    lines.append("plot " + ", \\\n     ".join(plots))
    return "\n".join(lines) + "\n"


def main(argv):
    if len(argv) < 4 or "x" not in argv[1]:
        print(__doc__.strip().split("\n\n")[1], file=sys.stderr)
        return 2
    out, size, title, logs = argv[0], argv[1], argv[2], argv[3:]
    width, height = (int(v) for v in size.split("x"))
    runs = [read_frame_log(path) for path in logs]
    p99 = max((percentile(sorted(ms for *_, ms, _ in frames), 99) for frames in runs if frames), default=0)
    longest = max((ms for frames in runs for *_, ms, _ in frames), default=1)
    y_max = max(1.0, min(longest, 3 * p99) * 1.05)
    above = sum(1 for frames in runs for *_, ms, _ in frames if ms > y_max)
    with tempfile.TemporaryDirectory() as folder:
        data_files = []
        for i, frames in enumerate(runs):
            frames_file = os.path.join(folder, "frames%d.dat" % i)
            seconds_file = os.path.join(folder, "seconds%d.dat" % i)
            with open(frames_file, "w") as f:
                f.writelines("%.6f %.4f\n" % (t, ms) for _, t, ms, _ in frames)
            with open(seconds_file, "w") as f:
                f.writelines("%.1f %.4f\n" % point for point in per_second(frames))
            data_files.append((frames_file, seconds_file))
        commands = script(out, width, height, title, data_files, y_max, above)
        result = subprocess.run(["gnuplot"], input=commands, text=True, capture_output=True)
        if result.returncode != 0:
            sys.stderr.write(result.stderr)
            return 1
    return 0


if __name__ == "__main__":
    sys.exit(main(sys.argv[1:]))
