// Deterministic procedural patterns for textures: hashing, tileable value noise and fractal sums.
#pragma once
#include <cstdint>

uint32_t Hash2(int x, int y, uint32_t seed);
// Value noise in [0, 1] with smooth interpolation; repeats every `period` units in x and y (every
// `periodY` units in y when that is given).
float TileNoise(float x, float y, int period, uint32_t seed, int periodY = 0);
// Sum of `octaves` noise layers, each twice the frequency and half the weight; tiles like TileNoise.
float TileFbm(float x, float y, int period, int octaves, uint32_t seed, int periodY = 0);
// Non-repeating 3-D value noise in [0, 1] (for direction-based skies that must match across cube
// faces) and its fractal sum.
float Noise3(float x, float y, float z, uint32_t seed);
float Fbm3(float x, float y, float z, int octaves, uint32_t seed);
