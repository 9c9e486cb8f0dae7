// The soundtrack "Orvanta": about four minutes in A minor at 115.38 BPM (one 4/4 bar = 2.08 s, an eighth
// note = 0.26 s). Each part of the show starts its own bar grid at the moment the picture changes, so
// the drops, hits and stabs land on the show's cues:
//   0      intro: pads and plucks on the tunnel's light flashes, riser
//   16.8   drop: full groove (speed-low break 33.4-37.6, crashes on the tunnel jumps)
//   53.0   calm: pads and booms on the logo shakes (downbeats at 54.5 + 2.08 k)
//   70.8   station: new groove, hit at 87.4
//   104.0  breakdown under the greetings
//   112.3  second station part: caption pulses, chord stabs at 150.0 and 170.5
//   178.8  finale: hit at 195.44, climax from 212.08, the star falls at 228.72, fade 233.8-234.8
#pragma once
#include "Synth.h"

constexpr double kBar = 2.08;
constexpr double kSongSeconds = 237.0;

// Renders the whole piece, peak-normalised to about -1 dBFS.
Stereo ComposeSoundtrack();
