#include "Song.h"

#include <algorithm>
#include <cmath>
#include <cstring>
#include <sstream>
#include <string>

namespace {

constexpr double kEighth = kBar / 8;

struct Chord {
  int notes[3];  // pad voicing
  int bass;      // root for the bass line
};
const Chord kAm{{57, 60, 64}, 45}, kF{{57, 60, 65}, 41}, kC{{55, 60, 64}, 48}, kG{{55, 59, 62}, 43},
    kDm{{57, 62, 65}, 50}, kEm{{55, 59, 64}, 40}, kE{{56, 59, 64}, 40};

// Four-bar progressions, one chord per bar.
const Chord kMain[4] = {kAm, kF, kC, kG};
const Chord kCalm[4] = {kF, kC, kDm, kAm};
const Chord kStation[4] = {kF, kG, kEm, kAm};
const Chord kLift[4] = {kF, kG, kAm, kE};

// Melodies: one token per eighth note; "-" holds the previous note, "." rests, "|" is decoration.
const char* const kThemeA = "A4 - C5 - E5 - D5 C5 | A4 - - - C5 - A4 G4 | G4 - E5 - D5 - C5 - | B4 - D5 - G5 - - -";
const char* const kThemeB = "E5 - - D5 E5 - A5 - | F5 - E5 - C5 - A4 - | G5 - E5 - C5 - E5 G5 | D5 - - - B4 - D5 -";
const char* const kCalmTheme = "C5 - - - - - A4 - | G4 - - - - - E4 - | F4 - - - A4 - D5 - | C5 - - - - - - -";
const char* const kStationTheme = "A5 - G5 - F5 - E5 - | D5 - - - B4 - D5 - | E5 - - - G5 - B5 - | A5 - - - - - E5 -";
const char* const kFinaleTheme = "C6 - B5 - A5 - G5 - | F5 - - - A5 - C6 - | E6 - - - D6 - C6 - | B5 - - - G5 - - -";

int ParsePitch(const std::string& tok) {
  static const int kSemis[7] = {9, 11, 0, 2, 4, 5, 7};  // A B C D E F G
  int semi = kSemis[tok[0] - 'A'];
  size_t i = 1;
  if (i < tok.size() && tok[i] == '#') ++semi, ++i;
  return semi + 12 * (tok[i] - '0' + 1);
}

// The buses the arrangement writes into; mixed and processed in ComposeSoundtrack.
struct Buses {
  Buses() : drums(Frames()), bass(Frames()), pads(Frames()), lead(Frames()), keys(Frames()), fx(Frames()) {}
  static size_t Frames() { return size_t(kSongSeconds * kSampleRate); }
  Stereo drums, bass, pads, lead, keys, fx;
  std::vector<double> kicks;  // for the sidechain pump
};

// One part of the show: a bar grid starting at `origin`, with the part's window [begin, end).
class Part {
 public:
  Part(Buses& b, double origin, double begin, double end) : b_(b), origin_(origin), begin_(begin), end_(end) {}
  double T(double bar, double eighth = 0) const { return origin_ + bar * kBar + eighth * kEighth; }
  bool Inside(double t) const { return t >= begin_ - 1e-6 && t < end_; }

  void Kick(double bar, double eighth, float v) {
    double t = T(bar, eighth);
    if (!Inside(t)) return;
    ::Kick(b_.drums, t, v);
    b_.kicks.push_back(t);
  }
  void FourOnFloor(int bar, float v) {
    for (int beat = 0; beat < 4; ++beat) Kick(bar, beat * 2, v);
  }
  void Backbeat(int bar, float v) {
    for (int beat : {1, 3})
      if (Inside(T(bar, beat * 2))) Clap(b_.drums, T(bar, beat * 2), v);
  }
  void Hats(int bar, float v, bool sixteenths) {
    for (int s = 0; s < 16; ++s) {
      bool offbeat = s % 4 == 2;
      if (!sixteenths && s % 2) continue;
      double t = T(bar, s * 0.5);
      if (!Inside(t)) continue;
      float vel = offbeat ? v : v * (s % 2 ? 0.35f : 0.5f);
      Hat(b_.drums, t, vel, offbeat && s == 14, s % 4 == 1 ? -0.3f : 0.25f);
    }
  }
  void SnareRoll(double fromBar, double toBar, float v) {
    for (double x = fromBar; x < toBar - 1e-9; x += 1.0 / 16) {
      double k = (x - fromBar) / (toBar - fromBar);
      if (Inside(T(x))) Snare(b_.drums, T(x), v * float(0.3 + 0.7 * k));
    }
  }
  void Accent(double bar, double eighth, float v) {
    double t = T(bar, eighth);
    if (Inside(t)) Boom(b_.fx, t, v);
  }
  void CrashAt(double bar, float v) {
    if (Inside(T(bar))) Crash(b_.fx, T(bar), v);
  }
  void Rise(double fromBar, double toBar, float v) { Riser(b_.fx, T(fromBar), T(toBar), v); }

  // Bass on the off-beat eighths (the trance pump) or on every eighth.
  void BassBar(int bar, const Chord& c, float v, float bright, bool offbeat) {
    for (int e = offbeat ? 1 : 0; e < 8; e += offbeat ? 2 : 1) {
      Note n{T(bar, e), kEighth * 0.8, float(c.bass + (e == 6 && !offbeat ? 12 : 0)), v, 0, bright};
      if (Inside(n.start)) Bass(b_.bass, n);
    }
  }
  void BassHeld(int bar, const Chord& c, double bars, float v) {
    Note n{T(bar), kBar * bars - 0.05, float(c.bass), v, 0, 0.3f};
    if (Inside(n.start)) Bass(b_.bass, n);
  }
  void PadChord(double bar, const Chord& c, double bars, float v, float bright) {
    double t = T(bar);
    if (!Inside(t)) return;
    double len = std::min(kBar * bars, end_ - t);
    for (int note : c.notes) Pad(b_.pads, {t, len, float(note), v, 0, bright});
    Pad(b_.pads, {t, len, float(c.notes[0] - 12), v * 0.8f, 0, bright});
  }
  // Sixteenth arpeggio over the chord, up two octaves and back.
  void Arp(int bar, const Chord& c, float v, float bright) {
    static const int kOrder[8] = {0, 1, 2, 3, 4, 3, 2, 1};
    for (int s = 0; s < 16; ++s) {
      int k = kOrder[s % 8];
      int pitch = c.notes[k % 3] + 12 * (k / 3) + 12;
      Note n{T(bar, s * 0.5), 0.1, float(pitch), v * (s % 4 == 0 ? 1.0f : 0.7f), s % 2 ? 0.45f : -0.45f, bright};
      if (Inside(n.start)) Pluck(b_.keys, n);
    }
  }
  void PluckChord(double bar, double eighth, const Chord& c, float v) {
    double t = T(bar, eighth);
    if (!Inside(t)) return;
    for (int i = 0; i < 3; ++i) Pluck(b_.keys, {t, 0.2, float(c.notes[i] + 12), v, (i - 1) * 0.5f, 1.2f});
  }
  void StabChord(double bar, double eighth, const Chord& c, float v) {
    double t = T(bar, eighth);
    if (!Inside(t)) return;
    for (int i = 0; i < 3; ++i) Stab(b_.keys, {t, 0.2, float(c.notes[i] + 12), v, (i - 1) * 0.4f, 1});
    Stab(b_.keys, {t, 0.2, float(c.notes[0]), v * 0.8f, 0, 1});
  }
  // Plays a melody starting at `bar`, transposed by `octaves`.
  void Melody(int bar, const char* text, int octaves, float v, float bright) {
    std::istringstream in(text);
    std::string tok;
    int eighth = 0, pitch = -1, startEighth = 0;
    auto flush = [&] {
      if (pitch < 0) return;
      Note n{T(bar, startEighth), (eighth - startEighth) * kEighth * 0.92, float(pitch + 12 * octaves), v, 0,
             bright};
      if (Inside(n.start)) Lead(b_.lead, n);
      pitch = -1;
    };
    while (in >> tok) {
      if (tok == "|") continue;
      if (tok == "-") {
        ++eighth;
        continue;
      }
      flush();
      if (tok != ".") {
        pitch = ParsePitch(tok);
        startEighth = eighth;
      }
      ++eighth;
    }
    flush();
  }

 private:
  Buses& b_;
  double origin_, begin_, end_;
};

// 0 - 16.8: the tunnel at slow speed. Plucked chords answer the two lights flashing at 0 and 0.79 s
// of every bar; kick and hats come in halfway; a riser and a snare roll lead into the drop.
void Intro(Buses& b) {
  Part p(b, 0.0, 0.0, 16.64);
  for (int bar = 0; bar < 8; ++bar) {
    const Chord& c = kMain[bar % 4];
    p.PadChord(bar, c, 1, 0.7f + 0.04f * bar, 0.2f + 0.1f * bar);
    if (bar < 7) {
      p.PluckChord(bar, 0, c, 0.8f);
      p.PluckChord(bar, 3, c, 0.6f);  // 0.78 s: the second light
    }
    if (bar >= 4) {
      p.FourOnFloor(bar, 0.55f + 0.05f * (bar - 4));
      p.BassHeld(bar, c, 1, 0.6f);
    }
    if (bar >= 6) p.Hats(bar, 0.5f, false);
  }
  p.Accent(2, 3.23, 0.6f);  // the camera shake at 5.0 s
  p.Rise(5, 8, 0.9f);
  p.SnareRoll(7, 8, 0.5f);
}

// 16.8 - 53.0: the drop. The blob pulses on every bar; bars 8-9 are the slow-motion break; the tunnel
// jumps (37.5 + 2.1 k) get crashes on the downbeats of bars 10-17.
void Drop(Buses& b) {
  Part p(b, 16.8, 16.8, 53.0);
  p.Accent(0, 0, 1.0f);
  for (int bar = 0; bar < 18; ++bar) {
    const Chord& c = kMain[bar % 4];
    bool brk = bar == 8 || bar == 9;
    p.PadChord(bar, c, 1, brk ? 1.0f : 0.8f, brk ? 0.4f : 0.9f);
    if (brk) {
      p.BassHeld(bar, c, 1, 0.5f);
      p.Arp(bar, c, 0.5f, 0.5f);
      continue;
    }
    p.FourOnFloor(bar, 1.0f);
    p.Backbeat(bar, 0.8f);
    p.Hats(bar, 0.8f, bar >= 4);
    p.BassBar(bar, c, 0.9f, 1.0f, true);
    if (bar >= 4) p.Arp(bar, c, 0.55f, 1.0f);
    if (bar >= 10) p.CrashAt(bar, 0.7f);
  }
  p.Melody(4, kThemeA, 0, 0.9f, 1.0f);
  p.Melody(8, kThemeB, 0, 0.6f, 0.6f);
  p.Melody(10, kThemeA, 1, 0.85f, 1.0f);
  p.Melody(14, kThemeB, 1, 0.9f, 1.1f);
  p.Rise(6, 8, 0.5f);
  p.SnareRoll(9, 10, 0.6f);
  p.Accent(10, 0, 0.8f);
  p.SnareRoll(17, 17.4, 0.5f);
}

// 53.0 - 70.8: calm. The logo shakes on 54.5 + 2.08 k: the grid is laid so those are downbeats.
void Calm(Buses& b) {
  Part p(b, 54.5 - kBar, 53.0, 70.8);
  p.PadChord(0.28, kAm, 0.72, 0.8f, 0.3f);
  for (int bar = 1; bar <= 8; ++bar) {
    const Chord& c = kCalm[(bar - 1) % 4];
    p.PadChord(bar, c, 1, 1.0f, 0.35f + 0.05f * bar);
    p.Accent(bar, 0, 0.55f);
    p.BassHeld(bar, c, 1, 0.55f);
    if (bar >= 6) p.Arp(bar, c, 0.3f + 0.1f * (bar - 6), 0.4f + 0.2f * (bar - 6));
  }
  p.Melody(1, kCalmTheme, 0, 0.5f, 0.5f);
  p.Melody(5, kCalmTheme, 0, 0.65f, 0.7f);
  for (int bar = 7; bar <= 8; ++bar) p.Hats(bar, 0.35f, false);
  p.Rise(7, 8.83, 0.9f);
  p.SnareRoll(8.375, 8.83, 0.6f);
}

// 70.8 - 104.0: the station. Drums and bass alone in the corridor, chords when the doors open
// (bar 4 = 79.1), the hit of the ship's shake at bar 8 (87.4), then the theme.
void Station(Buses& b) {
  Part p(b, 70.8, 70.8, 104.0);
  p.Accent(0, 0, 1.0f);
  for (int bar = 0; bar < 16; ++bar) {
    const Chord& c = kStation[bar % 4];
    p.FourOnFloor(bar, 1.0f);
    p.Hats(bar, 0.8f, true);
    p.BassBar(bar, c, 0.9f, bar < 4 ? 0.4f + 0.15f * bar : 1.0f, bar >= 8);
    if (bar >= 2) p.Backbeat(bar, 0.8f);
    if (bar >= 4) p.PadChord(bar, c, 1, 0.8f, 0.8f);
    if (bar >= 4 && bar < 8) p.Arp(bar, c, 0.5f, 0.7f);
    if (bar >= 12) p.Arp(bar, c, 0.5f, 1.1f);
  }
  p.Rise(2, 4, 0.6f);
  p.Accent(8, 0, 0.9f);
  p.Melody(8, kStationTheme, 0, 0.9f, 1.0f);
  p.Melody(12, kStationTheme, 0, 0.9f, 1.2f);
  p.SnareRoll(15, 16, 0.5f);
}

// 104.0 - 112.3: breakdown under the scrolling greetings.
void Breakdown(Buses& b) {
  Part p(b, 104.0, 104.0, 112.3);
  for (int bar = 0; bar < 4; ++bar) {
    const Chord& c = kMain[bar];
    p.PadChord(bar, c, 1, 1.0f, 0.4f + 0.15f * bar);
    p.Arp(bar, c, 0.45f, 0.3f + 0.2f * bar);
    p.BassHeld(bar, c, 1, 0.45f);
  }
  p.Melody(0, kThemeB, 0, 0.55f, 0.5f);
  p.Rise(2, 4, 1.0f);
  p.SnareRoll(3, 4, 0.7f);
}

// 112.3 - 178.8: the second station part. Crashes on the caption pulses (bars 0-7, 10-17, 20-27), a
// thin break in bars 8-9, chord stabs on eighths 1-3 of bars 18-19 (150.0 ...) and 0-3 of bars 28-29
// (170.5 ...), a riser into the finale.
void StationTwo(Buses& b) {
  Part p(b, 112.3, 112.3, 178.8);
  p.Accent(0, 0, 1.0f);
  for (int bar = 0; bar < 32; ++bar) {
    const Chord& c = (bar / 4) % 2 ? kLift[bar % 4] : kMain[bar % 4];
    bool thin = bar == 8 || bar == 9;
    bool stabs = bar == 18 || bar == 19 || bar == 28 || bar == 29;
    p.PadChord(bar, c, 1, 0.8f, thin ? 0.4f : 0.9f);
    if (thin) {
      p.Hats(bar, 0.6f, true);
      p.BassHeld(bar, c, 1, 0.5f);
      continue;
    }
    p.FourOnFloor(bar, 1.0f);
    p.Backbeat(bar, 0.8f);
    p.Hats(bar, 0.8f, true);
    p.BassBar(bar, c, 0.9f, 1.0f, true);
    bool pulse = bar < 8 || (bar >= 10 && bar < 18) || (bar >= 20 && bar < 28);
    if (pulse) p.CrashAt(bar, bar % 2 ? 0.45f : 0.65f);
    if (stabs) {
      int first = bar < 20 ? 1 : 0, last = bar < 20 ? 3 : 3;
      for (int e = first; e <= last; ++e) p.StabChord(bar, e, c, 1.0f);
    } else if (bar >= 20) {
      p.Arp(bar, c, 0.5f, 1.0f);
    }
  }
  p.Melody(0, kThemeA, 1, 0.85f, 1.0f);
  p.Melody(4, kThemeB, 1, 0.85f, 1.0f);
  p.Melody(10, kStationTheme, 0, 0.9f, 1.1f);
  p.Melody(14, kStationTheme, 0, 0.9f, 1.2f);
  p.Melody(20, kThemeA, 1, 0.85f, 1.1f);
  p.Melody(24, kThemeB, 1, 0.85f, 1.2f);
  p.Accent(10, 0, 0.7f);
  p.Accent(20, 0, 0.8f);
  p.Rise(30, 32, 1.0f);
  p.SnareRoll(31, 32, 0.7f);
}

// 178.8 - 237: finale. The star beats with the kick; hit at bar 8 (195.44); the logo flashes on every
// bar from 16 (212.08); at bar 24 (228.72) the star falls: last hit, a held chord, fade 233.8-234.8.
void Finale(Buses& b) {
  Part p(b, 178.8, 178.8, kSongSeconds);
  p.Accent(0, 0, 1.0f);
  for (int bar = 0; bar < 24; ++bar) {
    const Chord& c = kMain[bar % 4];
    p.PadChord(bar, c, 1, 0.8f, bar < 8 ? 0.6f : 1.0f);
    p.FourOnFloor(bar, 1.0f);
    p.Hats(bar, 0.8f, bar >= 8);
    p.BassBar(bar, c, 0.9f, bar < 8 ? 0.6f : 1.0f, bar >= 8);
    if (bar >= 8) p.Backbeat(bar, 0.85f);
    if (bar >= 4) p.Arp(bar, c, 0.5f, bar < 16 ? 0.8f : 1.2f);
    if (bar >= 16) p.CrashAt(bar, 0.6f);
  }
  p.Melody(0, kThemeA, 0, 0.7f, 0.7f);
  p.Melody(4, kThemeB, 0, 0.8f, 0.9f);
  p.Melody(8, kFinaleTheme, 0, 0.9f, 1.0f);
  p.Melody(12, kFinaleTheme, 0, 0.9f, 1.1f);
  p.Melody(16, kThemeA, 1, 0.9f, 1.2f);
  p.Melody(20, kFinaleTheme, 0, 1.0f, 1.3f);
  p.Rise(6, 8, 0.9f);
  p.SnareRoll(7, 8, 0.6f);
  p.Accent(8, 0, 1.0f);
  p.Accent(16, 0, 0.8f);
  p.SnareRoll(23, 24, 0.7f);
  p.Accent(24, 0, 1.2f);
  p.PadChord(24, kAm, 2.4, 1.1f, 0.8f);
  p.BassHeld(24, kAm, 2.4, 0.7f);
  p.Melody(24, "A5 - - - - - - - - - - - - - - -", 0, 0.6f, 0.7f);
}

}  // namespace

Stereo ComposeSoundtrack() {
  Buses b;
  Intro(b);
  Drop(b);
  Calm(b);
  Station(b);
  Breakdown(b);
  StationTwo(b);
  Finale(b);

  // Pads and bass breathe with the kick.
  Duck(b.pads, b.kicks, 0.55f, 0.3);
  Duck(b.bass, b.kicks, 0.7f, 0.2);
  Duck(b.keys, b.kicks, 0.3f, 0.2);

  Stereo delay(Buses::Frames());
  delay.Add(b.lead, 1.0f);
  delay.Add(b.keys, 0.4f);
  PingPongDelay(delay, 3 * kEighth, 0.45f);

  Stereo room(Buses::Frames());
  room.Add(b.pads, 0.6f);
  room.Add(b.lead, 0.5f);
  room.Add(b.keys, 0.5f);
  room.Add(b.fx, 0.6f);
  room.Add(b.drums, 0.12f);
  Reverb(room, 0.86f, 0.3f);

  Stereo mix(Buses::Frames());
  mix.Add(b.drums, 1.0f);
  mix.Add(b.bass, 1.0f);
  mix.Add(b.pads, 0.9f);
  mix.Add(b.lead, 0.8f);
  mix.Add(b.keys, 0.8f);
  mix.Add(b.fx, 0.9f);
  mix.Add(delay, 0.3f);
  mix.Add(room, 1.0f);

  // Fade 233.8 - 234.8 s, then silence; soft saturation; normalise.
  float peak = 1e-6f;
  for (size_t i = 0; i < mix.Frames(); ++i) {
    double t = double(i) / kSampleRate;
    float g = t < 233.8 ? 1.0f : (t < 234.8 ? float(234.8 - t) : 0.0f);
    mix.l[i] = std::tanh(mix.l[i] * 0.9f) * g;
    mix.r[i] = std::tanh(mix.r[i] * 0.9f) * g;
    peak = std::max({peak, std::fabs(mix.l[i]), std::fabs(mix.r[i])});
  }
  const float norm = 0.89f / peak;
  for (size_t i = 0; i < mix.Frames(); ++i) {
    mix.l[i] *= norm;
    mix.r[i] *= norm;
  }
  return mix;
}
