#!/usr/bin/env bash
# Context switches per second of the player's process (all its threads:
# voluntary + nonvoluntary from /proc/PID/task/*/status), under Xvfb:
#   1. the program itself, idle (nothing loaded, player mode);
#   2. bench_transport idle (the same window, from the benchmark);
#   3. bench_transport play (a generated 10-minute MP3 playing, fake timed sink);
#   4. both again in the compact strip, where the title scroll rests.
# A second figure per run, with QT_XCB_NO_MITSHM=1, shows what Qt's shared-
# memory flush (a sync request and a completion event per repaint) costs.
# Usage: scripts/bench-wakeups.sh [seconds per measurement, default 10]
# Needs a build (scripts/build.sh). Aim: at most ~30 switches/s idle.
set -euo pipefail
cd "$(dirname "$0")/.."
secs=${1:-10}
settle=3
app=build/src/app/orvane
bench=build/bench/bench_transport
[[ -x $app && -x $bench ]] || { echo "build first: scripts/build.sh" >&2; exit 1; }

work=$(mktemp -d)
pids=()
cleanup() {
    for p in "${pids[@]}"; do kill "$p" 2>/dev/null || true; done
    wait 2>/dev/null || true
    rm -rf "$work"
}
trap cleanup EXIT

# A display of our own.
disp=""
for n in $(seq 91 140); do
    if [[ ! -e /tmp/.X$n-lock && ! -e /tmp/.X11-unix/X$n ]]; then disp=$n; break; fi
done
[[ -n $disp ]] || { echo "no free display" >&2; exit 1; }
Xvfb ":$disp" -screen 0 1024x768x24 -nolisten tcp >/dev/null 2>&1 &
pids+=($!)
sleep 1

switches() {
    cat /proc/"$1"/task/*/status 2>/dev/null |
        awk '/^(voluntary|nonvoluntary)_ctxt_switches/ { s += $2 } END { print s + 0 }'
}

# measure LABEL COMMAND...: starts COMMAND, lets it settle, counts over $secs.
measure() {
    local label=$1; shift
    env DISPLAY=":$disp" QT_QPA_PLATFORM=xcb XDG_CONFIG_HOME="$work/config" XDG_RUNTIME_DIR="$work" \
        "$@" >"$work/out" 2>&1 &
    local pid=$!
    pids+=("$pid")
    sleep "$settle"
    if ! kill -0 "$pid" 2>/dev/null; then echo "$label: the process ended early" >&2; cat "$work/out" >&2; return 1; fi
    local threads a b
    a=$(switches "$pid")
    sleep "$secs"
    b=$(switches "$pid")
    threads=$(ls /proc/"$pid"/task | wc -l)
    rss=$(awk '/^VmRSS/ { printf "%.1f", $2 / 1024 }' /proc/"$pid"/status)
    kill "$pid" 2>/dev/null || true
    wait "$pid" 2>/dev/null || true
    printf '%-36s %7.1f switches/s  (%d threads, %d s, resident %s MB)\n' "$label" "$(echo "($b - $a) / $secs" | bc -l)" "$threads" "$secs" "$rss"
}

echo "Context switches per second (Xvfb :$disp, xcb):"
measure "orvane, idle" "$app"
measure "bench_transport idle" "$bench" idle
measure "bench_transport play (MP3, fakesink)" "$bench" play
measure "idle, compact strip" env ORVANE_BENCH_HEIGHT=230 "$bench" idle
measure "play, compact strip" env ORVANE_BENCH_HEIGHT=230 "$bench" play
measure "orvane, idle, QT_XCB_NO_MITSHM=1" env QT_XCB_NO_MITSHM=1 "$app"
measure "play, QT_XCB_NO_MITSHM=1" env QT_XCB_NO_MITSHM=1 "$bench" play
