// Small math the scenes share: a one-degree sine table, envelope curves over an event's progress,
// a random number in a range and a tolerant float comparison. All single precision.
#pragma once
#include <cstdint>

enum HvCurve : uint32_t {
  CurvePulse = 0,  // rises to 1 at t = 0.5 and falls back
  CurveFlash = 1,  // jumps to 1 at t = 0.2, then fades
  CurveNone  = 2,  // always 0
  CurveDecay = 3,  // starts at 1 and fades to 0
};

void HvFillSineTable();                  // once, by the core's constructor
float TableSin(float radians);           // sine of the angle truncated to whole degrees
float TableCos(float radians);
float EvaluateCurve(uint32_t curve, float t);   // t outside [0, 1] gives the curve's end values
float RandomRange(float low, float high);       // [low, high) in steps of 1/10000 of the range
bool NearlyEqual(float a, float b);             // |a - b| <= 0.0001
