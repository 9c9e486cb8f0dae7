#include "Synth.h"

#include <algorithm>
#include <cmath>

namespace {

constexpr float kTwoPi = 6.28318530718f;
constexpr float kDt = 1.0f / kSampleRate;

// xorshift32: the same noise on every machine and build.
class Noise {
 public:
  explicit Noise(uint32_t seed) : s_(seed ? seed : 1) {}
  float Next() {
    s_ ^= s_ << 13;
    s_ ^= s_ >> 17;
    s_ ^= s_ << 5;
    return (s_ >> 8) * (2.0f / 16777216.0f) - 1.0f;
  }

 private:
  uint32_t s_;
};

uint32_t SeedFor(double t, float extra) { return uint32_t(t * 1000.0) * 2654435761u ^ uint32_t(extra * 977.0f); }

// Topology-preserving state-variable filter; the coefficients are recomputed only when Set is called.
class Svf {
 public:
  void Set(float cutoff, float q) {
    cutoff = std::clamp(cutoff, 20.0f, 0.45f * kSampleRate);
    float g = std::tan(3.14159265f * cutoff / kSampleRate);
    k_ = 1.0f / q;
    a1_ = 1.0f / (1.0f + g * (g + k_));
    a2_ = g * a1_;
    a3_ = g * a2_;
  }
  void Run(float x) {
    float v3 = x - ic2_;
    float v1 = a1_ * ic1_ + a2_ * v3;
    float v2 = ic2_ + a2_ * ic1_ + a3_ * v3;
    ic1_ = 2 * v1 - ic1_;
    ic2_ = 2 * v2 - ic2_;
    low = v2;
    band = v1;
    high = x - k_ * v1 - v2;
  }
  float low = 0, band = 0, high = 0;

 private:
  float k_ = 1, a1_ = 0, a2_ = 0, a3_ = 0, ic1_ = 0, ic2_ = 0;
};

// Band-limited sawtooth (polyBLEP), phase in [0, 1).
float Saw(float phase, float inc) {
  float v = 2 * phase - 1;
  if (phase < inc) {
    float t = phase / inc;
    v -= t + t - t * t - 1;
  } else if (phase > 1 - inc) {
    float t = (phase - 1) / inc;
    v -= t * t + t + t + 1;
  }
  return v;
}

float Square(float phase, float inc) {
  float p2 = phase + 0.5f;
  if (p2 >= 1) p2 -= 1;
  return 0.5f * (Saw(phase, inc) - Saw(p2, inc));
}

// Linear attack, hold, exponential-free linear release: no clicks at either end.
float Envelope(float t, float attack, float hold, float release) {
  if (t < 0) return 0;
  if (t < attack) return t / attack;
  if (t < hold) return 1;
  if (t < hold + release) return 1 - (t - hold) / release;
  return 0;
}

// Calls body(index, seconds since t0) for every frame of [t0, t0 + length) inside the buffer.
template <typename Body>
void ForFrames(Stereo& out, double t0, double length, Body body) {
  long first = std::lround(t0 * kSampleRate);
  long count = long(length * kSampleRate);
  long begin = std::max(0L, first), end = std::min(long(out.Frames()), first + count);
  for (long i = begin; i < end; ++i) body(size_t(i), float(i - first) * kDt);
}

void Put(Stereo& out, size_t i, float v, float pan) {
  out.l[i] += v * (pan <= 0 ? 1.0f : 1.0f - pan);
  out.r[i] += v * (pan >= 0 ? 1.0f : 1.0f + pan);
}

}  // namespace

void Stereo::Add(const Stereo& o, float gain) {
  size_t n = std::min(Frames(), o.Frames());
  for (size_t i = 0; i < n; ++i) {
    l[i] += o.l[i] * gain;
    r[i] += o.r[i] * gain;
  }
}

float MidiToHz(float pitch) { return 440.0f * std::pow(2.0f, (pitch - 69.0f) / 12.0f); }

void Kick(Stereo& out, double t, float velocity) {
  float phase = 0;
  ForFrames(out, t, 0.5, [&](size_t i, float s) {
    float f = 46 + 120 * std::exp(-s / 0.028f);
    phase += f * kDt;
    float body = std::sin(kTwoPi * phase) * std::exp(-s / 0.32f) * std::min(1.0f, s / 0.002f);
    float click = s < 0.004f ? (1 - s / 0.004f) * 0.3f : 0;
    float v = std::tanh(1.6f * (body + click)) * velocity * 0.9f;
    Put(out, i, v, 0);
  });
}

void Clap(Stereo& out, double t, float velocity) {
  Noise noise(SeedFor(t, 1));
  Svf bp;
  bp.Set(1300, 1.4f);
  ForFrames(out, t, 0.35, [&](size_t i, float s) {
    // Three quick bursts, then the tail.
    float burst = std::fmod(s, 0.011f) < 0.007f && s < 0.033f ? 1.0f : 0.0f;
    float env = s < 0.033f ? burst * std::exp(-std::fmod(s, 0.011f) / 0.004f) : std::exp(-(s - 0.033f) / 0.09f);
    bp.Run(noise.Next());
    float v = bp.band * env * velocity * 1.3f;
    out.l[i] += v;
    out.r[i] += v * 0.9f;
  });
}

void Snare(Stereo& out, double t, float velocity) {
  Noise noise(SeedFor(t, 2));
  Svf hp;
  hp.Set(1800, 0.7f);
  float phase = 0;
  ForFrames(out, t, 0.3, [&](size_t i, float s) {
    phase += 190 * kDt;
    float tone = std::sin(kTwoPi * phase) * std::exp(-s / 0.05f) * 0.5f;
    hp.Run(noise.Next());
    float v = (tone + hp.high * std::exp(-s / 0.11f) * 0.6f) * velocity * std::min(1.0f, s / 0.001f);
    Put(out, i, v, 0);
  });
}

void Hat(Stereo& out, double t, float velocity, bool open, float pan) {
  Noise noise(SeedFor(t, open ? 3.0f : 4.0f));
  Svf hp;
  hp.Set(7500, 0.8f);
  const float decay = open ? 0.16f : 0.035f;
  ForFrames(out, t, decay * 6, [&](size_t i, float s) {
    hp.Run(noise.Next());
    Put(out, i, hp.high * std::exp(-s / decay) * velocity * 0.35f * std::min(1.0f, s / 0.0005f), pan);
  });
}

void Crash(Stereo& out, double t, float velocity) {
  Noise nl(SeedFor(t, 5)), nr(SeedFor(t, 6));
  Svf hl, hr;
  hl.Set(4500, 0.6f);
  hr.Set(4700, 0.6f);
  ForFrames(out, t, 3.0, [&](size_t i, float s) {
    float env = std::exp(-s / 0.7f) * std::min(1.0f, s / 0.002f) * velocity * 0.3f;
    hl.Run(nl.Next());
    hr.Run(nr.Next());
    out.l[i] += hl.high * env;
    out.r[i] += hr.high * env;
  });
}

void Boom(Stereo& out, double t, float velocity) {
  float phase = 0;
  ForFrames(out, t, 2.2, [&](size_t i, float s) {
    phase += (34 + 60 * std::exp(-s / 0.15f)) * kDt;
    float v = std::sin(kTwoPi * phase) * std::exp(-s / 0.7f) * std::min(1.0f, s / 0.003f) * velocity * 0.8f;
    Put(out, i, v, 0);
  });
  Crash(out, t, velocity * 0.8f);
}

void Riser(Stereo& out, double t0, double t1, float velocity) {
  Noise noise(SeedFor(t0, 7));
  Svf bp;
  bp.Set(300, 2.5f);
  const float len = float(t1 - t0);
  ForFrames(out, t0, len, [&](size_t i, float s) {
    float k = s / len;
    if ((i & 31) == 0) bp.Set(300 * std::pow(25.0f, k), 2.5f);
    bp.Run(noise.Next());
    float v = bp.band * k * k * velocity * 0.5f;
    Put(out, i, v, std::sin(s * 5.0f) * 0.4f * k);
  });
}

void Bass(Stereo& out, const Note& n) {
  const float f = MidiToHz(n.pitch), inc = f * kDt;
  float phase = 0, sub = 0;
  Svf lp;
  lp.Set(180 + 1600 * n.brightness, 1.3f);
  const float release = 0.04f;
  ForFrames(out, n.start, n.length + release, [&](size_t i, float s) {
    if ((i & 15) == 0) lp.Set(180 + 1600 * n.brightness * std::exp(-s / 0.09f), 1.3f);
    phase += inc;
    if (phase >= 1) phase -= 1;
    sub += inc * 0.5f;
    if (sub >= 1) sub -= 1;
    lp.Run(Saw(phase, inc) * 0.7f + std::sin(kTwoPi * sub) * 0.6f);
    float env = Envelope(s, 0.004f, float(n.length), release);
    Put(out, i, std::tanh(lp.low * 1.5f) * env * n.velocity * 0.45f, 0);
  });
}

void Pad(Stereo& out, const Note& n) {
  // Four detuned saws, two per side, through one slowly breathing low-pass per side.
  const float detune[4] = {-0.11f, 0.07f, -0.05f, 0.12f};
  float phase[4] = {0.0f, 0.31f, 0.57f, 0.83f};
  Svf lpl, lpr;
  lpl.Set(700 + 1500 * n.brightness, 0.9f);
  lpr.Set(700 + 1500 * n.brightness, 0.9f);
  const float attack = 0.35f, release = 0.9f;
  const float base = MidiToHz(n.pitch);
  float inc[4];
  for (int v = 0; v < 4; ++v) inc[v] = base * std::pow(2.0f, detune[v] / 12.0f) * kDt;
  ForFrames(out, n.start, n.length + release, [&](size_t i, float s) {
    if ((i & 31) == 0) {
      float cut = (700 + 1500 * n.brightness) * (1 + 0.25f * std::sin(s * 1.3f + n.pitch));
      lpl.Set(cut, 0.9f);
      lpr.Set(cut * 1.07f, 0.9f);
    }
    float l = 0, r = 0;
    for (int v = 0; v < 4; ++v) {
      phase[v] += inc[v];
      if (phase[v] >= 1) phase[v] -= 1;
      float x = Saw(phase[v], inc[v]);
      (v & 1 ? r : l) += x;
    }
    lpl.Run(l);
    lpr.Run(r);
    float env = Envelope(s, attack, float(n.length), release) * n.velocity * 0.07f;
    out.l[i] += lpl.low * env;
    out.r[i] += lpr.low * env;
  });
}

void Lead(Stereo& out, const Note& n) {
  const float release = 0.18f, base = MidiToHz(n.pitch);
  float p1 = 0, p2 = 0.5f;
  Svf lp;
  lp.Set(4600 * n.brightness, 1.1f);
  ForFrames(out, n.start, n.length + release, [&](size_t i, float s) {
    float vib = s > 0.18f ? 0.12f * std::sin(kTwoPi * 5.5f * s) * std::min(1.0f, (s - 0.18f) * 4) : 0;
    float f = base * std::pow(2.0f, vib / 12.0f);
    float i1 = f * kDt, i2 = f * 1.006f * kDt;
    p1 += i1;
    if (p1 >= 1) p1 -= 1;
    p2 += i2;
    if (p2 >= 1) p2 -= 1;
    if ((i & 15) == 0) lp.Set((1800 + 2800 * std::exp(-s / 0.25f)) * n.brightness, 1.1f);
    lp.Run(Saw(p1, i1) * 0.6f + Square(p2, i2) * 0.5f);
    float env = Envelope(s, 0.012f, float(n.length), release) * n.velocity * 0.22f;
    Put(out, i, lp.low * env, n.pan);
  });
}

void Pluck(Stereo& out, const Note& n) {
  const float f = MidiToHz(n.pitch), inc = f * kDt;
  float phase = 0;
  Svf lp;
  lp.Set(5000 * n.brightness, 1.6f);
  ForFrames(out, n.start, 0.6, [&](size_t i, float s) {
    phase += inc;
    if (phase >= 1) phase -= 1;
    if ((i & 15) == 0) lp.Set((500 + 4500 * std::exp(-s / 0.07f)) * n.brightness, 1.6f);
    lp.Run(Saw(phase, inc));
    float env = std::exp(-s / 0.16f) * std::min(1.0f, s / 0.002f) * std::min(1.0f, (0.6f - s) / 0.05f);
    Put(out, i, lp.low * env * n.velocity * 0.2f, n.pan);
  });
}

void Stab(Stereo& out, const Note& n) {
  const float f = MidiToHz(n.pitch);
  float p[3] = {0, 0.33f, 0.66f};
  const float mul[3] = {1.0f, 1.004f, 0.996f};
  Svf lp;
  lp.Set(5900, 1.2f);
  ForFrames(out, n.start, 0.4, [&](size_t i, float s) {
    float x = 0;
    for (int v = 0; v < 3; ++v) {
      float inc = f * mul[v] * kDt;
      p[v] += inc;
      if (p[v] >= 1) p[v] -= 1;
      x += Saw(p[v], inc);
    }
    if ((i & 15) == 0) lp.Set(900 + 5000 * std::exp(-s / 0.09f), 1.2f);
    lp.Run(x);
    float env = std::exp(-s / 0.12f) * std::min(1.0f, s / 0.002f) * std::min(1.0f, (0.4f - s) / 0.05f);
    Put(out, i, lp.low * env * n.velocity * 0.16f, n.pan);
  });
}

namespace {

class Comb {
 public:
  explicit Comb(size_t n) : buf_(n, 0.0f) {}
  float Run(float x, float feedback, float damp) {
    float y = buf_[i_];
    store_ = y * (1 - damp) + store_ * damp;
    buf_[i_] = x + store_ * feedback;
    if (++i_ == buf_.size()) i_ = 0;
    return y;
  }

 private:
  std::vector<float> buf_;
  size_t i_ = 0;
  float store_ = 0;
};

class Allpass {
 public:
  explicit Allpass(size_t n) : buf_(n, 0.0f) {}
  float Run(float x) {
    float b = buf_[i_];
    buf_[i_] = x + b * 0.5f;
    if (++i_ == buf_.size()) i_ = 0;
    return b - x;
  }

 private:
  std::vector<float> buf_;
  size_t i_ = 0;
};

}  // namespace

void Reverb(Stereo& buf, float roomSize, float damping) {
  // Schroeder-Moorer: parallel damped combs into series all-passes; the right side is spread 23 samples.
  const size_t combs[6] = {1116, 1188, 1277, 1356, 1422, 1491}, allpasses[2] = {556, 441};
  for (int side = 0; side < 2; ++side) {
    std::vector<float>& x = side ? buf.r : buf.l;
    std::vector<Comb> c;
    for (size_t n : combs) c.emplace_back(n + side * 23);
    std::vector<Allpass> a;
    for (size_t n : allpasses) a.emplace_back(n + side * 23);
    for (float& v : x) {
      float in = v * 0.05f, sum = 0;
      for (Comb& comb : c) sum += comb.Run(in, roomSize, damping);
      for (Allpass& ap : a) sum = ap.Run(sum);
      v = sum;
    }
  }
}

void PingPongDelay(Stereo& buf, double delaySeconds, float feedback) {
  const size_t d = size_t(delaySeconds * kSampleRate);
  std::vector<float> dl(d, 0.0f), dr(d, 0.0f);
  float lpl = 0, lpr = 0;
  for (size_t i = 0, k = 0; i < buf.Frames(); ++i) {
    float yl = dl[k], yr = dr[k];
    lpl += (yr - lpl) * 0.35f;  // darker with every repeat
    lpr += (yl - lpr) * 0.35f;
    dl[k] = buf.l[i] * 0.7f + buf.r[i] * 0.3f + lpl * feedback;
    dr[k] = lpr * feedback;
    buf.l[i] = yl;
    buf.r[i] = yr;
    if (++k == d) k = 0;
  }
}

void Duck(Stereo& buf, const std::vector<double>& times, float depth, double release) {
  std::vector<float> gain(buf.Frames(), 1.0f);
  for (double t : times)
    ForFrames(buf, t, release, [&](size_t i, float s) {
      float g = 1 - depth * (1 - s / float(release)) * (1 - s / float(release));
      gain[i] = std::min(gain[i], g);
    });
  for (size_t i = 0; i < buf.Frames(); ++i) {
    buf.l[i] *= gain[i];
    buf.r[i] *= gain[i];
  }
}
