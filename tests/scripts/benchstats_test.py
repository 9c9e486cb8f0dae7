#!/usr/bin/python3
"""tools/benchstats.py against frame logs and run folders made by hand, whose answers are known."""
import json
import os
import sys
import tempfile
import unittest

sys.path.insert(0, os.path.join(os.path.dirname(os.path.abspath(__file__)), "..", "..", "tools"))
import benchstats  # noqa: E402


def write_log(folder, times_by_section, name="frames.csv"):
    """A frame log of the given (section, frame time ms) pairs, show time running on."""
    path = os.path.join(folder, name)
    t = 0.0
    with open(path, "w") as f:
        f.write("frame,show_time_s,frame_time_ms,section\n")
        for n, (section, ms) in enumerate(times_by_section, 1):
            t += ms / 1000
            f.write("%d,%.6f,%.4f,%d\n" % (n, t, ms, section))
    return path


def write_run(folder, score, sections, bare=(300.0, 340.0), report=True):
    os.makedirs(folder)
    with open(os.path.join(folder, "out"), "w") as f:
        f.write("1200 frames in 24.00 s: 50.0 frames/s\nstart-up: 1.41 s from entering WinMain to the first presented "
                "frame\nstart-up step: loading: 1.000 s\npeak memory: 282 MB\n"
                "device references left: 0\n")
        for i, fps in enumerate(sections, 1):
            f.write("section %d (1.0-71.0 s): 100 frames, %.1f frames/s\n" % (i, fps))
    with open(os.path.join(folder, "log"), "w") as f:
        if score is not None:
            f.write('MessageBox: caption "Results", text "Your score is: %d", style 0x0\n' % score)
    with open(os.path.join(folder, "bare"), "w") as f:
        f.write("%s %s\n" % bare)
    if report:
        with open(os.path.join(folder, "Results.htm"), "w") as f:
            f.write("<tr><td class='l'>Average frames per second</td><td class='r'>51 FPS</td></tr>"
                    "<tr><td class='l'>Minimum frames per second</td><td class='r'>8 FPS</td></tr>"
                    "<tr><td class='l'>Maximum frames per second</td><td class='r'>96 FPS</td></tr>")
    write_log(folder, [(1, 20.0)] * 99 + [(2, 50.0)])


class FrameFigures(unittest.TestCase):
    def setUp(self):
        self.folder = tempfile.mkdtemp()

    def figures(self, frames):
        return benchstats.frame_figures(benchstats.read_frame_log(write_log(self.folder, frames)))

    def test_lows_and_nearest_rank_percentiles(self):
        # 200 frames in the sections; sorted: ranks 1-180 20 ms, 181-190 25 ms, 191-198 30 ms, 199 60 ms,
        # 200 100 ms; shuffled over the sections. Three frames of 500 ms before the first section do not count.
        times = [20.0] * 180 + [25.0] * 10 + [30.0] * 8 + [60.0, 100.0]
        frames = [(0, 500.0)] * 3 + [(1 + (i * 7) % 3, times[(i * 37) % 200]) for i in range(200)]
        f = self.figures(frames)
        self.assertEqual(f["frames"], 200)
        self.assertEqual(f["frame_time_p50_ms"], 20.0)   # rank 100
        self.assertEqual(f["frame_time_p95_ms"], 25.0)   # rank 190, not 191 (30 ms) nor in between
        self.assertEqual(f["frame_time_p99_ms"], 30.0)   # rank 198
        self.assertEqual(f["longest_frame_ms"], 100.0)
        self.assertAlmostEqual(f["low_1pct_fps"], 12.5)   # the slowest 2: mean 80 ms
        self.assertAlmostEqual(f["low_0_1pct_fps"], 10.0)  # the slowest 1: 100 ms

    def test_a_share_of_frames_rounds_up(self):
        # 150 frames: 1 % is 1.5 frames, so the two slowest (50, 30 ms) count; 0.1 % is one frame.
        f = self.figures([(1, 10.0)] * 148 + [(3, 50.0), (2, 30.0)])
        self.assertAlmostEqual(f["low_1pct_fps"], 25.0)
        self.assertAlmostEqual(f["low_0_1pct_fps"], 20.0)
        self.assertEqual(f["frame_time_p99_ms"], 30.0)   # rank 149 of 150

    def test_a_log_without_section_frames_has_no_figures(self):
        self.assertIsNone(self.figures([(0, 10.0)] * 5))
        self.assertIn("no frame", benchstats.describe(None))

    def test_a_file_that_is_no_frame_log_is_refused(self):
        path = os.path.join(self.folder, "other.csv")
        with open(path, "w") as f:
            f.write("a,b,c\n1,2,3\n")
        with self.assertRaises(ValueError):
            benchstats.read_frame_log(path)


class Runs(unittest.TestCase):
    def setUp(self):
        self.folder = tempfile.mkdtemp()

    def run_folder(self, name, score, sections, **kw):
        path = os.path.join(self.folder, name)
        write_run(path, score, sections, **kw)
        return path

    def test_every_figure_of_a_run(self):
        run = benchstats.read_run(self.run_folder("1", 4046, [54.5, 46.7, 53.2]))
        self.assertEqual(run["section_fps"], [54.5, 46.7, 53.2])
        self.assertEqual(run["score"], 4046)
        self.assertEqual((run["average_fps"], run["min_fps"], run["max_fps"]), (51, 8, 96))
        self.assertEqual((run["startup_s"], run["peak_memory_mb"], run["run_fps"]), (1.41, 282, 50.0))
        self.assertEqual((run["bare_fps_before"], run["bare_fps_after"]), (300.0, 340.0))
        self.assertAlmostEqual(run["engine_bare_ratio"], 50.0 / 320)
        self.assertEqual(run["frame_time_p50_ms"], 20.0)
        self.assertEqual(run["longest_frame_ms"], 50.0)

    def test_a_run_cut_short_has_no_score_and_no_report(self):
        run = benchstats.read_run(self.run_folder("1", None, [54.5, 0.0, 0.0], report=False))
        self.assertIsNone(run["score"])
        self.assertIsNone(run["average_fps"])

    def test_spread_and_verdict(self):
        a = benchstats.read_run(self.run_folder("1", 1000, [50.0, 40.0, 45.0]))
        b = benchstats.read_run(self.run_folder("2", 970, [48.0, 40.0, 46.0]))
        c = benchstats.read_run(self.run_folder("3", 969, [50.0, 40.0, 45.0]))
        stable = benchstats.stability([a, b])
        self.assertAlmostEqual(stable["score_spread"], 30 / 985)
        self.assertAlmostEqual(stable["section_spread"][0], 2 / 49)
        self.assertEqual(stable["section_spread"][1], 0)
        self.assertEqual(stable["verdict"], "stable")     # 970 is 97.0 % of 1000
        self.assertEqual(benchstats.stability([a, b, c])["verdict"], "unstable")  # 96.9 %
        self.assertIsNone(benchstats.stability([a])["verdict"])  # one run says nothing
        # without a score the whole run's frame rate decides
        d = benchstats.read_run(self.run_folder("4", None, [50.0, 0.0, 0.0], report=False))
        self.assertEqual(benchstats.stability([a, d])["verdict_by"], "run_fps")
        self.assertIsNone(benchstats.stability([a, d])["score_spread"])

    def test_the_json_document(self):
        folders = [self.run_folder("1", 1000, [50.0, 40.0, 45.0]), self.run_folder("2", 990, [49.0, 40.0, 45.0])]
        out = os.path.join(self.folder, "figures.json")
        self.assertEqual(benchstats.main(["summary", "--json", out, "--adapter", "llvmpipe", "--wine", "wine-8.0",
                                          "--resolution", "640x480", "--mode", "benchmark"] + folders), 0)
        with open(out) as f:
            document = json.load(f)
        self.assertEqual(document["machine"]["adapter"], "llvmpipe")
        self.assertGreater(document["machine"]["cpu_cores"], 0)
        self.assertEqual(len(document["runs"]), 2)
        self.assertEqual(document["stability"]["verdict"], "stable")


if __name__ == "__main__":
    unittest.main()
