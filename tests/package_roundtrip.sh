#!/usr/bin/env bash
# The package writer (host) and the reader (Windows, under Wine) together: a generated tree packed in
# both codings must unpack to the same bytes; the writer's output is checked byte for byte on a small
# tree, must not depend on anything but the tree, and refuses trees the reader could not re-create.
# Usage: package_roundtrip.sh ORVANTA_PACK PACKAGE_UNPACK_EXE
set -euo pipefail
pack=${1:?orvanta_pack}
unpack=${2:?package_unpack.exe}
here=$(cd "$(dirname "$0")" && pwd)
scratch=$(mktemp -d /tmp/orvanta-pack.XXXXXX)
trap 'rm -rf "$scratch"' EXIT
failures=0

check() { # description, command...
  local what=$1; shift
  if "$@"; then echo "ok: $what"; else echo "FAILED: $what"; failures=$((failures + 1)); fi
}
windows_path() { local p=${1//\//\\}; echo "Z:$p"; }
unpack_to() { # package, folder
  mkdir -p "$2"
  bash "$here/wine-run.sh" "$unpack" "$(windows_path "$1")" "$(windows_path "$2")" >/dev/null
}
refused() { # description, tree: the writer fails and leaves no package
  check "refuses $1" bash -c "! '$pack' '$2' '$scratch/refused.pac' 2>/dev/null && [ ! -e '$scratch/refused.pac' ] \
    && [ ! -e '$scratch/refused.pac.part' ]"
}

# Exact bytes of a small tree: a/b/f = "xy", an empty folder e, an empty file z (sorted order).
mkdir -p "$scratch/small/a/b" "$scratch/small/e"
printf 'xy' >"$scratch/small/a/b/f"
: >"$scratch/small/z"
"$pack" "$scratch/small" "$scratch/small.pac"
printf 'PAC01i\x02a\0\x02b\0\x01f\0\0\x02\0\0\0\0\x87\x86\x03\0\x03\0\x02e\0\x03\0\x01z\0\0\0\0\0\0\0' >"$scratch/small.expected"
check "inverted layout" cmp "$scratch/small.pac" "$scratch/small.expected"
"$pack" --plain "$scratch/small" "$scratch/small-plain.pac"
printf 'PAC01n\x02a\0\x02b\0\x01f\0\0\x02\0\0\0\0xy\x03\0\x03\0\x02e\0\x03\0\x01z\0\0\0\0\0\0\0' >"$scratch/small.expected"
check "plain layout" cmp "$scratch/small-plain.pac" "$scratch/small.expected"

# A tree like the show's data: nested folders, names with spaces and dots, an empty file and folder,
# every byte value, files around the reader's 64 KiB write chunk.
tree=$scratch/tree
mkdir -p "$tree/Msx" "$tree/a/b/c" "$tree/empty folder" "$tree/names"
head -c 300000 /dev/urandom >"$tree/Msx/Orvanta by Brenholt.mp3"
for i in $(seq 0 255); do printf "\\$(printf '%03o' "$i")"; done >"$tree/a/b/c/all bytes.bin"
head -c 65536 /dev/urandom >"$tree/a/b/chunk.bin"
head -c 131073 /dev/urandom >"$tree/a/chunk+1.bin"
: >"$tree/a/b/c/empty.txt"
for name in .hidden a..b UPPER.TXT lower.txt 'with space.x'; do echo "$name" >"$tree/names/$name"; done
"$pack" "$tree" "$scratch/tree.pac"
"$pack" --plain "$tree" "$scratch/tree-plain.pac"
touch -d 2001-01-01 "$tree/a/chunk+1.bin"   # times, and the order the folder lists, must not matter
cp -r "$tree" "$scratch/copy"
"$pack" "$scratch/copy" "$scratch/copy.pac"
check "same tree, same bytes" cmp "$scratch/tree.pac" "$scratch/copy.pac"

unpack_to "$scratch/tree.pac" "$scratch/out"
check "inverted round trip" diff -r "$tree" "$scratch/out"
unpack_to "$scratch/tree-plain.pac" "$scratch/out-plain"
check "plain round trip" diff -r "$tree" "$scratch/out-plain"

mkdir -p "$scratch/case"; : >"$scratch/case/Name"; : >"$scratch/case/name"
refused "names equal but for case" "$scratch/case"
for bad in 'nul.txt' 'trailing.' 'a:b' $'tab\tname' 'caf'$'\xc3\xa9'; do
  rm -rf "$scratch/bad"; mkdir -p "$scratch/bad/sub"; : >"$scratch/bad/sub/$bad"
  refused "name '$bad'" "$scratch/bad"
done
mkdir -p "$scratch/link"; ln -s /etc/hostname "$scratch/link/l"
refused "symbolic links" "$scratch/link"
check "refuses a package inside its own tree" bash -c "! '$pack' '$tree' '$tree/a/self.pac' 2>/dev/null \
  && [ -z \"\$(ls '$tree/a' | grep self)\" ]"
check "usage error" bash -c "'$pack' '$tree' 2>/dev/null; [ \$? = 2 ]"

[ $failures = 0 ]
