#!/usr/bin/env bash
# CPU while playing a 128 kbps MP3: the program a user runs
# (build/src/app/orvane under a private Xvfb, the song chosen through "Add
# Songs") and, over the same seconds, the reference: a bare
# `gst-launch-1.0 playbin` playing the same file. Both play into one private
# PulseAudio null sink, so load from elsewhere on the machine falls on both.
# Prints each window and the median of the ratio. Goal: at most 1.1 x.
# BENCH_APP=path measures another build of the program.
# Usage: scripts/bench-cpu.sh [windows, default 6] [seconds each, default 10]
set -euo pipefail
cd "$(dirname "$0")/.."
rounds=${1:-6}
secs=${2:-10}
[[ -x build/src/app/orvane ]] || { echo "build first: scripts/build.sh" >&2; exit 1; }
source scripts/bench-session.sh
bench_session_start
song="$BENCH_WORK/bench song.mp3"
bench_make_mp3 "$song" $((rounds * secs + 30))

bench_start_orvane
bench_play_in_orvane "$song"
bench_start_playbin "$song"
sleep 3
streams=$(pactl list short sink-inputs | wc -l)
[[ $streams -ge 2 ]] || { echo "expected two streams at the sink, found $streams" >&2; exit 1; }

pct() { echo "scale=3; 100 * $1 / 1000000000 / $secs" | bc; }
ratios=()
ta=0; tg=0
echo "CPU % of one core while playing, ${secs} s windows (Xvfb $DISPLAY, PulseAudio null sink):"
for r in $(seq "$rounds"); do
    a0=$(bench_cpu_ns "$BENCH_APP_PID"); g0=$(bench_cpu_ns "$BENCH_PLAYBIN_PID")
    sleep "$secs"
    a=$(( $(bench_cpu_ns "$BENCH_APP_PID") - a0 )); g=$(( $(bench_cpu_ns "$BENCH_PLAYBIN_PID") - g0 ))
    ratio=$( (( g > 0 )) && echo "scale=2; $a / $g" | bc || echo "n/a")
    ratios+=("$ratio")
    ta=$((ta + a)); tg=$((tg + g))
    printf '  window %d: orvane %5s%%   bare playbin %5s%%   ratio %s\n' "$r" "$(pct "$a")" "$(pct "$g")" "$ratio"
done
median=$(printf '%s\n' "${ratios[@]}" | grep -v n/a | sort -n | awk '{ v[NR] = $1 } END { if (NR) print v[int((NR + 1) / 2)] }')
echo "orvane / bare playbin, median over $rounds windows: ${median:-n/a} x;" \
    "over all $((rounds * secs)) s: $( (( tg > 0 )) && echo "scale=2; $ta / $tg" | bc || echo n/a) x (goal <= 1.1)"
