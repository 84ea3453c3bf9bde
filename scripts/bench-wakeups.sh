#!/usr/bin/env bash
# Context switches per second (all threads: voluntary + nonvoluntary from
# /proc/PID/task/*/status), CPU and memory of the program a user runs
# (build/src/app/orvane, with its own QT_XCB_NO_MITSHM setting) under a
# private Xvfb, with a private PulseAudio null sink as the sound server:
#   1. idle, nothing loaded, player mode;
#   2. playing a generated 128 kbps MP3 chosen through "Add Songs",
#      measured over the same seconds as
#   3. the reference: a bare `gst-launch-1.0 playbin` playing the same file
#      into the same sink.
# Usage: scripts/bench-wakeups.sh [seconds per measurement, default 10]
# Needs a build (scripts/build.sh), pulseaudio, pactl, xdotool.
set -euo pipefail
cd "$(dirname "$0")/.."
secs=${1:-10}
settle=3
[[ -x build/src/app/orvane ]] || { echo "build first: scripts/build.sh" >&2; exit 1; }
source scripts/bench-session.sh
bench_session_start
song="$BENCH_WORK/bench song.mp3"
bench_make_mp3 "$song" $((3 * secs + 30))

rate() { echo "scale=1; ($2 - $1) / $secs" | bc; }
cpu() { echo "scale=2; 100 * ($2 - $1) / 1000000000 / $secs" | bc; }

echo "Xvfb $DISPLAY, PulseAudio null sink, $secs s per figure"
bench_start_orvane
sleep "$settle"
s0=$(bench_switches "$BENCH_APP_PID"); c0=$(bench_cpu_ns "$BENCH_APP_PID")
sleep "$secs"
s1=$(bench_switches "$BENCH_APP_PID"); c1=$(bench_cpu_ns "$BENCH_APP_PID")
printf '%-34s %6s switches/s  CPU %5s%%  resident %s MB\n' "orvane, idle" "$(rate "$s0" "$s1")" \
    "$(cpu "$c0" "$c1")" "$(bench_rss_mb "$BENCH_APP_PID")"

bench_play_in_orvane "$song"
bench_start_playbin "$song"
sleep "$settle"
streams=$(pactl list short sink-inputs | wc -l)
[[ $streams -ge 2 ]] || { echo "expected two streams at the sink, found $streams" >&2; exit 1; }
a0=$(bench_switches "$BENCH_APP_PID"); ac0=$(bench_cpu_ns "$BENCH_APP_PID")
g0=$(bench_switches "$BENCH_PLAYBIN_PID"); gc0=$(bench_cpu_ns "$BENCH_PLAYBIN_PID")
sleep "$secs"
a1=$(bench_switches "$BENCH_APP_PID"); ac1=$(bench_cpu_ns "$BENCH_APP_PID")
g1=$(bench_switches "$BENCH_PLAYBIN_PID"); gc1=$(bench_cpu_ns "$BENCH_PLAYBIN_PID")
printf '%-34s %6s switches/s  CPU %5s%%  resident %s MB\n' "orvane, playing the MP3" "$(rate "$a0" "$a1")" \
    "$(cpu "$ac0" "$ac1")" "$(bench_rss_mb "$BENCH_APP_PID")"
printf '%-34s %6s switches/s  CPU %5s%%\n' "reference: bare playbin, same sink" "$(rate "$g0" "$g1")" \
    "$(cpu "$gc0" "$gc1")"
if (( g1 > g0 )); then
    echo "switches while playing: $(echo "scale=2; ($a1 - $a0) / ($g1 - $g0)" | bc) x the bare playbin"
fi
