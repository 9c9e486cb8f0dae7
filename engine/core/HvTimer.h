// The engine timer: seconds since the last reset, and the time of the last frame, which is never 0.
// One instance, global state. The first frame after a reset reports exactly 0.01 s, so loading time is
// never counted as frame time.
#pragma once

class HvTimer {
public:
  static void Init();            // chooses the performance counter, else timeGetTime at 1 ms
  static void Reset();           // time starts again at 0
  static double Now();           // seconds since the last reset
  static void Tick();            // once per frame: measures the frame time
  static float GetFrameTime();   // seconds; the basis of all frame-rate independent animation
  static void Wait(float seconds);  // busy-waits; always on the real clock
  // Seconds on the real clock from a fixed origin that Reset does not move; usable before Init (the
  // program's entry takes its first reading). Differences of two readings are durations.
  static double Clock();

  // Deterministic clock for reproducible runs: Now stands still within a frame and advances by exactly
  // `step` seconds at each frame boundary (BeginFrameTurn), except on the first frame after a reset.
  // Frame n after a reset reads n * step without drift; with a step of 1/N s (N whole) exactly n/N.
  static void SetFixedStep(double step);
  static void BeginFrameTurn();

private:
  static double RealNow();
};
