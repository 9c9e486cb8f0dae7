#include "HvMath.h"
#include <cmath>
#include <cstdlib>

namespace {
float sineTable[181];  // entry i = sin(i degrees), i = 0..180

const float curves[4][11] = {
  {0, 0.04f, 0.16f, 0.48f, 0.92f, 1, 0.92f, 0.48f, 0.16f, 0.04f, 0},  // CurvePulse
  {0, 0.72f, 1, 0.96f, 0.8f, 0.6f, 0.4f, 0.32f, 0.16f, 0.08f, 0},     // CurveFlash
  {},                                                                 // CurveNone
  {1, 0.59f, 0.36f, 0.28f, 0.2f, 0.16f, 0.12f, 0.08f, 0.05f, 0.02f, 0},  // CurveDecay
};
}

void HvFillSineTable() {
  for (int i = 0; i <= 180; ++i) sineTable[i] = sinf(float(i) * 0.017453292f);
}

float TableSin(float x) {
  int d = int(fabsf(x) * 57.295776f) % 360;
  float sign = x >= 0 ? 1.0f : -1.0f;
  if (d > 180) {
    sign = -sign;
    d -= 180;
  }
  return sign * sineTable[d];
}

float TableCos(float x) { return TableSin(x + 1.5707964f); }

float EvaluateCurve(uint32_t curve, float t) {
  if (curve != CurvePulse && curve != CurveFlash && curve != CurveDecay) return 0;
  const float* c = curves[curve];
  if (!(t > 0)) return c[0];  // also catches NaN
  if (t >= 1) return c[10];
  int i = int(t * 10);
  if (i > 9) i = 9;
  float f = (t - float(i) * 0.1f) * 10;
  return c[i] + f * (c[i + 1] - c[i]);
}

float RandomRange(float low, float high) {
  int r = rand() % 10000;
  return float(r) * (high - low) * 0.0001f + low;
}

bool NearlyEqual(float a, float b) { return fabsf(a - b) <= 0.0001f; }
