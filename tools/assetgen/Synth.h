// A small subtractive synthesiser for the soundtrack: drum, bass, pad, lead, pluck and effect voices
// rendered additively into stereo float buffers at 44.1 kHz, plus reverb and delay. Times are seconds
// from the start of the buffer, pitches MIDI note numbers (69 = A4 = 440 Hz). Fully deterministic: the
// noise comes from a fixed-seed generator per voice.
#pragma once
#include <cstddef>
#include <cstdint>
#include <vector>

constexpr int kSampleRate = 44100;

struct Stereo {
  explicit Stereo(size_t frames) : l(frames, 0.0f), r(frames, 0.0f) {}
  size_t Frames() const { return l.size(); }
  void Add(const Stereo& o, float gain);
  std::vector<float> l, r;
};

struct Note {
  double start = 0;     // seconds
  double length = 0;    // seconds the key is held; the release follows
  float pitch = 69;     // MIDI note
  float velocity = 1;   // 0..1
  float pan = 0;        // -1 left .. 1 right
  float brightness = 1; // filter opening, 0..1.5
};

float MidiToHz(float pitch);

// Drums and effects: one hit at time t.
void Kick(Stereo& out, double t, float velocity);
void Clap(Stereo& out, double t, float velocity);
void Snare(Stereo& out, double t, float velocity);
void Hat(Stereo& out, double t, float velocity, bool open, float pan);
void Crash(Stereo& out, double t, float velocity);
void Boom(Stereo& out, double t, float velocity);            // sub drop for the big accents
void Riser(Stereo& out, double t0, double t1, float velocity);  // noise sweep ending at t1

// Tonal voices.
void Bass(Stereo& out, const Note& n);
void Pad(Stereo& out, const Note& n);
void Lead(Stereo& out, const Note& n);
void Pluck(Stereo& out, const Note& n);
void Stab(Stereo& out, const Note& n);

// Effects, in place.
void Reverb(Stereo& buf, float roomSize, float damping);
void PingPongDelay(Stereo& buf, double delaySeconds, float feedback);
// Sidechain pump: gain dips by `depth` at each time and recovers over `release` seconds.
void Duck(Stereo& buf, const std::vector<double>& times, float depth, double release);
