#!/usr/bin/env bash
# Context switches per second (voluntary + nonvoluntary, every thread of the
# process, those that exit while measured included; see bench_track), CPU
# and memory of the program a user runs (build/src/app/orvane, with its own
# QT_XCB_NO_MITSHM setting) under a private Xvfb, with a private PulseAudio
# null sink as the sound server:
#   1. idle, nothing loaded, player mode;
#   2. playing a generated 128 kbps MP3 chosen through "Add Songs";
#   3. the reference: a bare `gst-launch-1.0 playbin` playing the same file
#      into the same sink, with the program's decoder ranking
#      (bench_start_playbin); each round checks that both sides decoded with
#      the same decoder, prints it, and stops the run if they did not.
# Each player plays alone (two streams at one sink wake each other's
# threads), in interleaved rounds: orvane idle then playing, then the bare
# playbin. Each round gives one ratio of switches while playing; the figure
# is the median of those ratios, printed with its spread.
# Usage: scripts/bench-wakeups.sh [seconds per figure, default 10] [rounds, default 5]
# Needs a build (scripts/build.sh), pulseaudio, pactl, xdotool.
set -euo pipefail
cd "$(dirname "$0")/.."
secs=${1:-10}
rounds=${2:-5}
settle=3
[[ -x ${BENCH_APP:-build/src/app/orvane} ]] || { echo "build first: scripts/build.sh" >&2; exit 1; }
source scripts/bench-session.sh
bench_session_start
song="$BENCH_WORK/bench song.mp3"
bench_make_mp3 "$song" $((settle + secs + 30))

rate() { awk -v n="$BENCH_M_SWITCHES" -v w="$BENCH_M_WALL_NS" 'BEGIN { printf "%.1f", n / (w / 1e9) }'; }
cpu() { awk -v c="$BENCH_M_CPU_NS" -v w="$BENCH_M_WALL_NS" 'BEGIN { printf "%.3f", 100 * c / w }'; }

echo "Xvfb $DISPLAY, PulseAudio null sink; $secs s per figure, each player alone, $rounds rounds of:" \
    "orvane idle, orvane playing, bare playbin playing."
idle_sw=() idle_cpu=() idle_rss=() play_sw=() play_cpu=() play_rss=() ref_sw=() ref_cpu=() ref_rss=() ratios=()
for r in $(seq "$rounds"); do
    bench_start_orvane
    sleep "$settle"
    [[ $(bench_streams) -eq 0 ]] || { echo "a stream plays at the sink" >&2; exit 1; }
    bench_measure "$BENCH_APP_PID" "$secs"
    idle_sw+=("$(rate)") idle_cpu+=("$(cpu)") idle_rss+=("$(bench_rss_mb "$BENCH_APP_PID")")

    bench_play_in_orvane "$song"
    bench_alone "$BENCH_APP_PID" "$secs" "$settle"
    play_sw+=("$(rate)") play_cpu+=("$(cpu)") play_rss+=("$(bench_rss_mb "$BENCH_APP_PID")")
    bench_stop "$BENCH_APP_PID"
    bench_wait_streams 0

    bench_start_playbin "$song"
    bench_alone "$BENCH_PLAYBIN_PID" "$secs" "$settle"
    ref_sw+=("$(rate)") ref_cpu+=("$(cpu)") ref_rss+=("$(bench_rss_mb "$BENCH_PLAYBIN_PID")")
    bench_stop "$BENCH_PLAYBIN_PID"
    bench_wait_streams 0
    bench_same_decoder

    i=$((r - 1))
    ratio=$(awk -v a="${play_sw[i]}" -v g="${ref_sw[i]}" 'BEGIN { print (g > 0 ? sprintf("%.2f", a / g) : "n/a") }')
    [[ $ratio == n/a ]] || ratios+=("$ratio")
    printf '  round %d: idle %6s/s %6s%% | playing %6s/s %6s%% %s MB | bare playbin %6s/s %6s%% %s MB | ratio %s' \
        "$r" "${idle_sw[i]}" "${idle_cpu[i]}" "${play_sw[i]}" "${play_cpu[i]}" "${play_rss[i]}" "${ref_sw[i]}" \
        "${ref_cpu[i]}" "${ref_rss[i]}" "$ratio"
    printf ' (both decoded with %s)\n' "$BENCH_DECODER"
done

# "median (min..max)" of the given numbers.
spread() { printf '%s\n' "$@" | bench_stats | awk '{ printf "%s (%s..%s)", $1, $2, $3 }'; }
echo "Medians over $rounds rounds (min..max):"
printf '%-32s switches/s %-22s CPU %% %-18s resident MB %s\n' "orvane, idle" "$(spread "${idle_sw[@]}")" \
    "$(spread "${idle_cpu[@]}")" "$(spread "${idle_rss[@]}")"
printf '%-32s switches/s %-22s CPU %% %-18s resident MB %s\n' "orvane, playing the MP3" "$(spread "${play_sw[@]}")" \
    "$(spread "${play_cpu[@]}")" "$(spread "${play_rss[@]}")"
printf '%-32s switches/s %-22s CPU %% %-18s resident MB %s\n' "reference: bare playbin, alone" \
    "$(spread "${ref_sw[@]}")" "$(spread "${ref_cpu[@]}")" "$(spread "${ref_rss[@]}")"
echo "decoder on both sides, every round: ${BENCH_DECODER}" \
    "(the bare playbin with GST_PLUGIN_FEATURE_RANK=${BENCH_REF_RANKS})"
read -r rm rmin rmax < <(printf '%s\n' "${ratios[@]}" | bench_stats)
echo "switches while playing, each alone: orvane is ${rm} x the bare playbin" \
    "(median of ${#ratios[@]} per-round ratios, min ${rmin}, max ${rmax})"
