# Sourced by the benchmark scripts that measure the program a user runs:
# a private X server (the server picks a free display itself), a private
# PulseAudio with a null sink, a generated song, and the song played through
# the main window's "Add Songs" dialog, as a user does it.
#
# After bench_session_start: $BENCH_WORK (a scratch folder, removed at exit),
# DISPLAY and PULSE_SERVER point at the private servers, which every program
# started afterwards uses.

bench_need() {
    local missing=()
    for tool in "$@"; do command -v "$tool" >/dev/null || missing+=("$tool"); done
    if ((${#missing[@]})); then
        echo "missing: ${missing[*]} (Debian: pulseaudio pulseaudio-utils xdotool xvfb gstreamer1.0-tools)" >&2
        exit 1
    fi
}

BENCH_PIDS=()
bench_cleanup() {
    local p
    for p in "${BENCH_PIDS[@]}"; do kill "$p" 2>/dev/null || true; done
    wait 2>/dev/null || true
    [[ -n ${BENCH_WORK:-} ]] && rm -rf "$BENCH_WORK"
}

# bench_start_x: a private X server on a display it picks itself; DISPLAY.
bench_start_x() {
    bench_need Xvfb
    if [[ -z ${BENCH_WORK:-} ]]; then
        BENCH_WORK=$(mktemp -d)
        trap bench_cleanup EXIT
    fi
    Xvfb -displayfd 3 -screen 0 1024x768x24 -nolisten tcp 3>"$BENCH_WORK/display" >/dev/null 2>&1 &
    BENCH_PIDS+=($!)
    local i
    for i in $(seq 100); do [[ -s $BENCH_WORK/display ]] && break; sleep 0.05; done
    [[ -s $BENCH_WORK/display ]] || { echo "Xvfb did not start" >&2; exit 1; }
    export DISPLAY=":$(head -n1 "$BENCH_WORK/display")"
    export QT_QPA_PLATFORM=xcb
}

bench_session_start() {
    bench_need Xvfb pulseaudio pactl xdotool gst-launch-1.0
    BENCH_WORK=$(mktemp -d)
    trap bench_cleanup EXIT
    mkdir -p "$BENCH_WORK/pulse" "$BENCH_WORK/home" "$BENCH_WORK/config"
    bench_start_x

    # Its own runtime folder, so it never meets the user's sound server.
    HOME="$BENCH_WORK/home" XDG_RUNTIME_DIR="$BENCH_WORK/pulse" PULSE_RUNTIME_PATH="$BENCH_WORK/pulse" \
        pulseaudio -n --daemonize=no --exit-idle-time=-1 \
        -L "module-native-protocol-unix socket=$BENCH_WORK/pulse/native auth-anonymous=1" \
        -L "module-null-sink sink_name=bench" -L "module-always-sink" >"$BENCH_WORK/pulse.log" 2>&1 &
    BENCH_PIDS+=($!)
    export PULSE_SERVER="unix:$BENCH_WORK/pulse/native"
    for i in $(seq 100); do pactl info >/dev/null 2>&1 && break; sleep 0.05; done
    pactl info >/dev/null 2>&1 || { echo "PulseAudio did not start" >&2; cat "$BENCH_WORK/pulse.log" >&2; exit 1; }
    export XDG_CONFIG_HOME="$BENCH_WORK/config"
    export XDG_RUNTIME_DIR="$BENCH_WORK/pulse"
}

# bench_make_mp3 PATH SECONDS: a 128 kbps constant-rate MP3 of a tone.
bench_make_mp3() {
    local rate=44100
    gst-launch-1.0 -q audiotestsrc wave=sine freq=440 volume=0.3 num-buffers=$(($2 * rate / 1024)) \
        samplesperbuffer=1024 ! audio/x-raw,rate=$rate,channels=2 ! audioconvert \
        ! lamemp3enc target=bitrate cbr=true bitrate=128 ! filesink location="$1" >/dev/null
}

# bench_start_orvane: starts the program; BENCH_APP_PID. Waits for its window.
bench_start_orvane() {
    "${BENCH_APP:-build/src/app/orvane}" >"$BENCH_WORK/orvane.log" 2>&1 &
    BENCH_APP_PID=$!
    BENCH_PIDS+=("$BENCH_APP_PID")
    local i
    for i in $(seq 100); do
        xdotool search --name '^Orvane$' >/dev/null 2>&1 && break
        sleep 0.05
    done
    sleep 0.5
}

# bench_play_in_orvane FILE: "Add Songs", the path typed into the dialog, Enter.
bench_play_in_orvane() {
    # The button's centre in the player (twips 2070,1290 + half of 285x375).
    xdotool mousemove 147 98 click 1
    local i
    for i in $(seq 100); do
        [[ $(xdotool search --onlyvisible --name . 2>/dev/null | wc -l) -gt 1 ]] && break
        sleep 0.05
    done
    sleep 0.5
    xdotool type --delay 5 "$1"
    xdotool key Return
}

# bench_start_playbin FILE: the reference, a bare playbin into the same sink.
bench_start_playbin() {
    gst-launch-1.0 -q playbin uri="file://$1" >/dev/null 2>&1 &
    BENCH_PLAYBIN_PID=$!
    BENCH_PIDS+=("$BENCH_PLAYBIN_PID")
}

# CPU time in nanoseconds (the scheduler's own count, summed over the
# process's threads) and context switches (all threads) of a process.
bench_cpu_ns() { cat /proc/"$1"/task/*/schedstat 2>/dev/null | awk '{ s += $1 } END { printf "%d\n", s }'; }
bench_switches() {
    cat /proc/"$1"/task/*/status 2>/dev/null |
        awk '/^(voluntary|nonvoluntary)_ctxt_switches/ { s += $2 } END { print s + 0 }'
}
bench_rss_mb() { awk '/^VmRSS/ { printf "%.1f", $2 / 1024 }' "/proc/$1/status"; }
