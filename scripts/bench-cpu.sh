#!/usr/bin/env bash
# CPU while playing a 128 kbps MP3: the program a user runs
# (build/src/app/orvane under a private Xvfb, the song chosen through "Add
# Songs") against the reference, a bare `gst-launch-1.0 playbin` playing the
# same file into the same private PulseAudio null sink, with the program's
# decoder ranking (bench_start_playbin). Each round checks that both sides
# decoded with the same decoder, prints it, and stops the run if they did not.
# Each player plays alone: two streams at one sink raise each other's CPU,
# so measuring them side by side flatters whichever costs more. Rounds
# interleave them (orvane, playbin, orvane, ...), so a change in the load from
# elsewhere on the machine falls on both alike; each round gives one ratio,
# and the median of those ratios is the figure, printed with its spread.
# Goal: at most 1.1 x.
# BENCH_APP=path measures another build of the program.
# Usage: scripts/bench-cpu.sh [rounds, default 6] [seconds each, default 10]
set -euo pipefail
cd "$(dirname "$0")/.."
rounds=${1:-6}
secs=${2:-10}
settle=3
goal=1.1
[[ -x ${BENCH_APP:-build/src/app/orvane} ]] || { echo "build first: scripts/build.sh" >&2; exit 1; }
source scripts/bench-session.sh
bench_session_start
song="$BENCH_WORK/bench song.mp3"
bench_make_mp3 "$song" $((settle + secs + 30))

pct() { awk -v c="$1" -v w="$2" 'BEGIN { printf "%.3f", 100 * c / w }'; }
echo "CPU % of one core while playing a 128 kbps MP3 into a private PulseAudio null sink (Xvfb $DISPLAY)."
echo "Each player alone, measured for $secs s from ${settle} s into its playback; $rounds rounds, each" \
    "orvane then the bare playbin."
app=() ref=() ratios=()
for r in $(seq "$rounds"); do
    bench_start_orvane
    bench_play_in_orvane "$song"
    bench_alone "$BENCH_APP_PID" "$secs" "$settle"
    a=$(pct "$BENCH_M_CPU_NS" "$BENCH_M_WALL_NS")
    bench_stop "$BENCH_APP_PID"
    bench_wait_streams 0

    bench_start_playbin "$song"
    bench_alone "$BENCH_PLAYBIN_PID" "$secs" "$settle"
    g=$(pct "$BENCH_M_CPU_NS" "$BENCH_M_WALL_NS")
    bench_stop "$BENCH_PLAYBIN_PID"
    bench_wait_streams 0
    bench_same_decoder

    ratio=$(awk -v a="$a" -v g="$g" 'BEGIN { print (g > 0 ? sprintf("%.2f", a / g) : "n/a") }')
    app+=("$a") ref+=("$g")
    [[ $ratio == n/a ]] || ratios+=("$ratio")
    printf '  round %d: orvane %6s%%   bare playbin %6s%%   ratio %s   (both decoded with %s)\n' "$r" "$a" "$g" \
        "$ratio" "$BENCH_DECODER"
done
read -r am amin amax < <(printf '%s\n' "${app[@]}" | bench_stats)
read -r gm gmin gmax < <(printf '%s\n' "${ref[@]}" | bench_stats)
read -r rm rmin rmax < <(printf '%s\n' "${ratios[@]}" | bench_stats)
echo "orvane, playing:        ${am}% median (min ${amin}, max ${amax}); decoder ${BENCH_DECODER}"
echo "reference, bare playbin: ${gm}% median (min ${gmin}, max ${gmax}); decoder ${BENCH_DECODER}" \
    "(GST_PLUGIN_FEATURE_RANK=${BENCH_REF_RANKS})"
met=$(awk -v r="$rm" -v g="$goal" 'BEGIN { print ((r != "n/a" && r + 0 <= g + 0) ? "met" : "NOT met") }')
echo "orvane / bare playbin, each alone, median of ${#ratios[@]} per-round ratios: ${rm} x" \
    "(min ${rmin}, max ${rmax}); goal <= ${goal} x: ${met}"
