#!/usr/bin/env bash
# Writes the MP3 files the music tests read into DIR, encoded by lame from synthesised samples:
#   stereo.mp3   3.0 s, 44.1 kHz joint stereo CBR 128 kbit/s; left: silence until 1.0 s, then a 1 kHz
#                tone of amplitude 0.5; right: a 440 Hz tone of amplitude 0.25 throughout
#   tagged.mp3   the same samples behind a padded ID3v2 tag
#   vbr22.mp3    1.5 s, 22.05 kHz (MPEG-2) stereo VBR, the same kind of signal
#   mono.mp3     1.0 s, 44.1 kHz mono
#   broken.mp3   8 KiB of random bytes
set -euo pipefail
dir=$1
mkdir -p "$dir"
cd "$dir"

pcm() { # rate seconds channels: signed 16-bit little-endian samples on standard output
  perl -e '
    my ($rate, $seconds, $channels) = @ARGV;
    my $pi = 4 * atan2(1, 1);
    for my $i (0 .. int($rate * $seconds) - 1) {
      my $t = $i / $rate;
      my $left = $t < 1.0 ? 0 : 0.5 * sin(2 * $pi * 1000 * $t);
      my $right = 0.25 * sin(2 * $pi * 440 * $t);
      print pack("s<*", $channels == 2 ? (int(32767 * $left), int(32767 * $right)) : int(32767 * $right));
    }' "$@"
}

# (lame warns that libsndfile might seek in its input; it reads the pipe correctly.)
lame_raw() { lame --quiet -r --bitwidth 16 --signed --little-endian "$@" 2>/dev/null; }

pcm 44100 3 2 | lame_raw -s 44.1 -m j -b 128 --cbr - stereo.mp3
pcm 44100 3 2 | lame_raw -s 44.1 -m j -b 128 --cbr --tt "Test tone" --pad-id3v2-size 3000 - tagged.mp3
pcm 22050 1.5 2 | lame_raw -s 22.05 -m j -V 5 - vbr22.mp3
pcm 44100 1 1 | lame_raw -s 44.1 -m m -b 64 - mono.mp3
perl -e 'srand(7); print pack("C*", map { int(rand(256)) } 1 .. 8192)' > broken.mp3
