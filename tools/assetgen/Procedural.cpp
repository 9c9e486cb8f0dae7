#include "Procedural.h"

#include <cmath>

uint32_t Hash2(int x, int y, uint32_t seed) {
  uint32_t h = uint32_t(x) * 374761393u + uint32_t(y) * 668265263u + seed * 2246822519u;
  h = (h ^ (h >> 13)) * 1274126177u;
  return h ^ (h >> 16);
}

float TileNoise(float x, float y, int period, uint32_t seed, int periodY) {
  if (periodY <= 0) periodY = period;
  float fx = std::floor(x), fy = std::floor(y);
  int ix = int(fx), iy = int(fy);
  float tx = x - fx, ty = y - fy;
  tx = tx * tx * (3 - 2 * tx);
  ty = ty * ty * (3 - 2 * ty);
  auto v = [&](int a, int b) {
    a = ((a % period) + period) % period;
    b = ((b % periodY) + periodY) % periodY;
    return (Hash2(a, b, seed) & 0xFFFF) / 65535.0f;
  };
  float top = v(ix, iy) + (v(ix + 1, iy) - v(ix, iy)) * tx;
  float bottom = v(ix, iy + 1) + (v(ix + 1, iy + 1) - v(ix, iy + 1)) * tx;
  return top + (bottom - top) * ty;
}

float TileFbm(float x, float y, int period, int octaves, uint32_t seed, int periodY) {
  float sum = 0, weight = 0.5f, total = 0;
  if (periodY <= 0) periodY = period;
  for (int o = 0; o < octaves; ++o) {
    sum += TileNoise(x, y, period, seed + o, periodY) * weight;
    total += weight;
    x *= 2;
    y *= 2;
    period *= 2;
    periodY *= 2;
    weight *= 0.5f;
  }
  return sum / total;
}

float Noise3(float x, float y, float z, uint32_t seed) {
  float fx = std::floor(x), fy = std::floor(y), fz = std::floor(z);
  int ix = int(fx), iy = int(fy), iz = int(fz);
  float tx = x - fx, ty = y - fy, tz = z - fz;
  tx = tx * tx * (3 - 2 * tx);
  ty = ty * ty * (3 - 2 * ty);
  tz = tz * tz * (3 - 2 * tz);
  auto v = [&](int a, int b, int c) { return (Hash2(a, b, seed + uint32_t(c) * 7919u) & 0xFFFF) / 65535.0f; };
  auto plane = [&](int c) {
    float top = v(ix, iy, c) + (v(ix + 1, iy, c) - v(ix, iy, c)) * tx;
    float bottom = v(ix, iy + 1, c) + (v(ix + 1, iy + 1, c) - v(ix, iy + 1, c)) * tx;
    return top + (bottom - top) * ty;
  };
  float a = plane(iz), b = plane(iz + 1);
  return a + (b - a) * tz;
}

float Fbm3(float x, float y, float z, int octaves, uint32_t seed) {
  float sum = 0, weight = 0.5f, total = 0;
  for (int o = 0; o < octaves; ++o) {
    sum += Noise3(x, y, z, seed + o) * weight;
    total += weight;
    x *= 2.03f;
    y *= 2.03f;
    z *= 2.03f;
    weight *= 0.5f;
  }
  return sum / total;
}
