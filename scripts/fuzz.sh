#!/usr/bin/env bash
# Builds the libFuzzer targets with clang into ./build-fuzz and runs each for
# SECONDS seconds (default 180). Needs clang and its runtime libraries:
#   apt-get install clang libclang-rt-14-dev
set -euo pipefail
cd "$(dirname "$0")/.."
SECS="${1:-180}"
for p in clang libclang-rt-14-dev; do
  dpkg-query -W -f='${Status}' "$p" 2>/dev/null | grep -q "install ok installed" || {
    SUDO=""; [ "$(id -u)" = 0 ] || SUDO="sudo"
    $SUDO apt-get install -y -q --no-install-recommends clang libclang-rt-14-dev; break; }
done
CC=clang CXX=clang++ cmake -S . -B build-fuzz -G Ninja -DCMAKE_BUILD_TYPE=RelWithDebInfo \
  -DORVANE_FUZZ=ON -DORVANE_TESTS=OFF -DORVANE_BENCH=OFF >/dev/null
cmake --build build-fuzz --target fuzz_tagreader fuzz_tagfromfilename
# Seeds: a tagged and an untagged file, and a few paths.
mkdir -p build-fuzz/corpus/fuzz_tagreader build-fuzz/corpus/fuzz_tagfromfilename
{ head -c 40 /dev/zero; printf 'TAGTitle%25sArtist%24sAlbum%25s1999Comment%23s\x11' '' '' '' ''; } \
  > build-fuzz/corpus/fuzz_tagreader/tagged
head -c 300 /dev/zero | tr '\0' 'U' > build-fuzz/corpus/fuzz_tagreader/untagged
printf '/music/Artist - Album - 01 - Title.mp3' > build-fuzz/corpus/fuzz_tagfromfilename/parts
printf '/music/(Artist) Title-Album.mp3' > build-fuzz/corpus/fuzz_tagfromfilename/bracket
printf '/Band/01 - Title.mp3' > build-fuzz/corpus/fuzz_tagfromfilename/folder
for t in fuzz_tagreader fuzz_tagfromfilename; do
  echo "== $t for ${SECS}s"
  "build-fuzz/fuzz/$t" -max_total_time="$SECS" -print_final_stats=1 "build-fuzz/corpus/$t"
done
