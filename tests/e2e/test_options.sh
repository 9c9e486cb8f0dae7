#!/usr/bin/env bash
# What a user types: --help lists every option, as README.md does, without a display; an unknown option
# or a bad value is named in the one message, with the options, and ends the program with code 2 before
# any window opens.
source "$(dirname "$0")/lib.sh"

# A stand-in Xvfb that only notes that it was asked for.
mkdir "$scratch/path"
printf '#!/bin/sh\ntouch "%s"\nexit 1\n' "$scratch/xvfb-started" >"$scratch/path/Xvfb"
chmod +x "$scratch/path/Xvfb"
set +e
env -u DISPLAY PATH="$scratch/path:$PATH" timeout 60 "$e2e_root/tools/launch.sh" --help >"$scratch/out" 2>"$scratch/log"
rc=$?
set -e
check "--help: exits 0" [ "$rc" = 0 ]
check "--help: starts no display" [ ! -e "$scratch/xvfb-started" ]
check "--help: nothing on standard error" [ ! -s "$scratch/log" ]
check "--help: the usage first" grep -q '^Usage: Orvanta.exe \[options\]$' "$scratch/out"
# Each option as "--name VALUE": from the list of --help, and from README's tables (where | is \|).
help_options() { awk -F '  ' '/^  --/ { print $2 }' "$scratch/out" | sort; }
readme_options() { sed -n 's/^| `\(--[^`]*\)` |.*/\1/p' "$e2e_root/README.md" | sed 's/\\|/|/g' | sort; }
check "--help: every option with its meaning" [ "$(awk '/^  --/ && NF > 2' "$scratch/out" | wc -l)" = 17 ]
check "README lists the options that --help lists" [ "$(help_options)" = "$(readme_options)" ]

# Refused OPTION... : the program names the fault and lists the options in its one message, exit code 2.
# (launch.sh puts --no-message-boxes last: it counts although it comes after the fault.)
refused() {
  local text=$1; shift
  orvanta --windowed --res 640x480 "$@"
  check "$text: exit code 2" [ "$rc" = 2 ]
  check "$text: named, the options listed" logged "caption \"Orvanta\", text \"$text\\n\\nUsage: Orvanta.exe [options]\\n"
  check "$text: the one message" [ "$(grep -c 'MessageBox:' "$scratch/log")" = 1 ]
}
refused "unknown option --fullscreen" notes.txt --fullscreen
refused "bad value '1024' for --res WxH" --res 1024
refused "option --quit-at needs a value: --quit-at T" --quit-at
finish
