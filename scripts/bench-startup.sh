#!/usr/bin/env bash
# Start-up benchmark of the main window under a private Xvfb: time from
# process start to the first painted window (goal <= 150 ms) and resident
# memory idle (goal <= 40 MB), over several runs; then the real program's
# idle memory.
#   scripts/bench-startup.sh [runs]
set -euo pipefail
cd "$(dirname "$0")/.."
RUNS="${1:-7}"
[ -x build/bench/bench_startup ] || scripts/build.sh
source scripts/bench-session.sh
bench_start_x
export XDG_RUNTIME_DIR="$BENCH_WORK" XDG_CONFIG_HOME="$BENCH_WORK/config"
out="$BENCH_WORK/out"
# One run to warm the file cache, not counted.
ORVANE_BENCH_T0=$(date +%s%N) build/bench/bench_startup >/dev/null
for i in $(seq "$RUNS"); do
    ORVANE_BENCH_T0=$(date +%s%N) build/bench/bench_startup >>"$out"
done
median() { sort -n | awk '{ v[NR] = $1 } END { printf "%s (min %s, max %s)", v[int((NR + 1) / 2)], v[1], v[NR] }'; }
echo "first paint after process start, ms: $(awk '/first_paint_ms/ { print $2 }' "$out" | median) over $RUNS runs"
echo "idle resident memory, kB: $(awk '/idle_rss_kb/ { print $2 }' "$out" | median)"
# The program itself, idle for two seconds.
build/src/app/orvane & pid=$!
BENCH_PIDS+=("$pid")
sleep 2
echo "orvane idle resident memory, kB: $(awk '/VmRSS/ { print $2 }' /proc/$pid/status)"
