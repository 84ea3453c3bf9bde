# Sourced by the benchmark scripts that measure the program a user runs:
# a private X server (the server picks a free display itself), a private
# PulseAudio with a null sink, a generated song, and the song played through
# the main window's "Add Songs" dialog, as a user does it; and the counting
# of a process's CPU time and context switches over all its threads, those
# that exit on the way included.
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

# Each player started here logs the elements it creates, and nothing else
# (the factory's creation messages come while a stream is set up, none while
# it plays), so that the decoder each side used can be read back: see
# bench_decoders. Both sides log alike, so what it costs falls on both.
# (Set through env, which execs the player: $! is then the player itself.)
BENCH_GST_LOG_ENV=(GST_DEBUG=GST_ELEMENT_FACTORY:4 GST_DEBUG_NO_COLOR=1)

# bench_start_orvane: starts the program; BENCH_APP_PID, and BENCH_APP_GST_LOG,
# its element log. Waits for its window.
bench_start_orvane() {
    BENCH_APP_GST_LOG="$BENCH_WORK/orvane-gst.log"
    env "${BENCH_GST_LOG_ENV[@]}" GST_DEBUG_FILE="$BENCH_APP_GST_LOG" "${BENCH_APP:-build/src/app/orvane}" \
        >"$BENCH_WORK/orvane.log" 2>&1 &
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

# bench_stop PID: ends a process this session started and waits until it has gone.
bench_stop() {
    local p keep=()
    kill "$1" 2>/dev/null || true
    wait "$1" 2>/dev/null || true
    for p in "${BENCH_PIDS[@]}"; do [[ $p == "$1" ]] || keep+=("$p"); done
    BENCH_PIDS=("${keep[@]}")
}

# bench_streams: how many streams play into the private sink now.
bench_streams() { pactl list short sink-inputs 2>/dev/null | wc -l; }
# bench_wait_streams N: waits (up to 10 s) until exactly N streams play.
bench_wait_streams() {
    local i
    for i in $(seq 200); do
        [[ $(bench_streams) -eq $1 ]] && return 0
        sleep 0.05
    done
    echo "expected $1 stream(s) at the sink, found $(bench_streams)" >&2
    exit 1
}

# bench_alone PID SECONDS SETTLE: waits until the process's stream plays,
# lets it settle SETTLE seconds, then measures it over SECONDS (bench_measure)
# while its stream is the only one at the sink. A second stream at the same
# sink raises the other player's CPU, and by how much depends on both, so
# each player is measured alone.
bench_alone() {
    bench_wait_streams 1
    sleep "$3"
    [[ $(bench_streams) -eq 1 ]] || { echo "another stream plays at the sink" >&2; exit 1; }
    bench_measure "$1" "$2"
    [[ $(bench_streams) -eq 1 ]] || { echo "another stream joined the sink while measuring" >&2; exit 1; }
}

# bench_stats: "median min max" of the numbers on stdin (the median of an even
# count is the mean of the middle two).
bench_stats() {
    sort -g | awk '{ v[NR] = $1 }
        END {
            if (!NR) { print "n/a n/a n/a"; exit }
            m = NR % 2 ? v[(NR + 1) / 2] : (v[NR / 2] + v[NR / 2 + 1]) / 2
            printf "%.2f %.2f %.2f\n", m, v[1], v[NR]
        }'
}

# The program ranks mpg123's MP3 decoder above every other
# (MediaPipeline::ensureGstreamer: GST_RANK_PRIMARY + 1); a stock playbin
# picks libav's, which takes more CPU and over twice the memory, and would
# flatter the program. The reference is given the same ranking. GStreamer
# 1.22 takes a number or a bare rank name here and silently ignores
# "PRIMARY+1".
BENCH_REF_RANKS="mpg123audiodec:257"

# bench_start_playbin FILE: the reference, a bare playbin into the same sink,
# with the program's decoder ranking; BENCH_PLAYBIN_PID, BENCH_PLAYBIN_GST_LOG.
bench_start_playbin() {
    BENCH_PLAYBIN_GST_LOG="$BENCH_WORK/playbin-gst.log"
    env "${BENCH_GST_LOG_ENV[@]}" GST_DEBUG_FILE="$BENCH_PLAYBIN_GST_LOG" GST_PLUGIN_FEATURE_RANK="$BENCH_REF_RANKS" \
        gst-launch-1.0 -q playbin uri="file://$1" >/dev/null 2>&1 &
    BENCH_PLAYBIN_PID=$!
    BENCH_PIDS+=("$BENCH_PLAYBIN_PID")
}

# bench_decoders LOG: the audio decoders (factory names, comma-separated) a
# player created, from its element log.
bench_decoders() {
    local f
    for f in $(grep -o 'creating element "[^"]*"' "$1" 2>/dev/null | cut -d'"' -f2 | sort -u); do
        if gst-inspect-1.0 "$f" 2>/dev/null | awk '/^ *Klass/ && /Decoder\/Audio/ { hit = 1 } END { exit !hit }'; then
            echo "$f"
        fi
    done | paste -sd, -
}

# bench_same_decoder: BENCH_DECODER, the audio decoder the program and the
# reference last started both used; stops the run when they differ, or differ
# from an earlier round's, since the figures would then compare decoders
# rather than players.
bench_same_decoder() {
    local a g
    a=$(bench_decoders "$BENCH_APP_GST_LOG")
    g=$(bench_decoders "$BENCH_PLAYBIN_GST_LOG")
    if [[ -z $a || $a != "$g" ]]; then
        echo "the two sides decoded with different decoders: orvane ${a:-(none found)}," \
            "bare playbin ${g:-(none found)}; the comparison would not be fair" >&2
        exit 1
    fi
    if [[ -n ${BENCH_DECODER:-} && $a != "$BENCH_DECODER" ]]; then
        echo "both sides decoded with $a, earlier rounds with $BENCH_DECODER" >&2
        exit 1
    fi
    BENCH_DECODER=$a
}

# Per-thread counts of a process, kept across the threads' exits.
# A sum over the threads alive at each reading drops whenever one exits,
# taking its whole history with it, and GStreamer's and GLib's pool threads
# exit after sitting idle (about 29 s into playback). Nothing outside the
# process reads the total of its exited threads: /proc/PID/status counts the
# main thread only, /proc/PID/stat has no switch counts and CPU only in clock
# ticks, and `perf stat -p` (which does fold in exited threads) needs perf
# events, which containers and perf_event_paranoid often deny. So each
# thread's last seen counts are kept in a state file, and a thread that has
# gone keeps adding what it was last seen with. What it did between its last
# reading and its exit is lost; readings are taken every half second, and pool
# threads exit after sitting idle, so that is a wake-up or two at most.
#
# bench_track PID STATE: folds a reading into STATE ("T tid cpu_ns switches"
# per thread seen, "R cpu_ns switches" for threads whose number came back).
bench_track() {
    local pid=$1 state=$2
    [[ -f $state ]] || : >"$state"
    {
        grep -H '' /proc/"$pid"/task/*/schedstat 2>/dev/null | sed 's/:/ schedstat /'
        grep -HE '^(voluntary|nonvoluntary)_ctxt_switches' /proc/"$pid"/task/*/status 2>/dev/null |
            sed 's/:[^:]*:/ switches /'
    } | awk -v state="$state" '
        BEGIN {
            while ((getline line < state) > 0) {
                n = split(line, f, " ")
                if (f[1] == "R") { rcpu = f[2]; rsw = f[3] }
                else if (f[1] == "T") { cpu[f[2]] = f[3]; sw[f[2]] = f[4] }
            }
            close(state)
        }
        {   # "/proc/PID/task/TID/file schedstat|switches value ..."
            split($1, p, "/"); tid = p[5]
            if ($2 == "schedstat") ncpu[tid] = $3
            else nsw[tid] += $3
            live[tid] = 1
        }
        END {
            for (t in live) {
                if (!(t in ncpu)) ncpu[t] = (t in cpu) ? cpu[t] : 0
                if (!(t in nsw)) nsw[t] = (t in sw) ? sw[t] : 0
                if ((t in cpu) && (ncpu[t] < cpu[t] || nsw[t] < sw[t])) {
                    # A new thread under an old number: the old one has gone.
                    rcpu += cpu[t]; rsw += sw[t]
                }
                cpu[t] = ncpu[t]; sw[t] = nsw[t]
            }
            printf "R %.0f %.0f\n", rcpu, rsw > state
            for (t in cpu) printf "T %s %.0f %.0f\n", t, cpu[t], sw[t] > state
        }'
}
# bench_track_totals STATE: "cpu_ns switches" of every thread seen, gone or alive.
bench_track_totals() {
    awk '$1 == "R" { c += $2; s += $3 } $1 == "T" { c += $3; s += $4 } END { printf "%.0f %.0f\n", c, s }' "$1"
}

# bench_measure PID SECONDS: CPU time (ns), context switches (voluntary and
# nonvoluntary) of all the process's threads, those that exit on the way
# included, and the wall time (ns) over SECONDS. Sets BENCH_M_CPU_NS,
# BENCH_M_SWITCHES, BENCH_M_WALL_NS.
bench_measure() {
    local pid=$1 secs=$2 state c0 s0 c1 s1 t0 t1 now end
    state=$(mktemp "$BENCH_WORK/threads.XXXXXX")
    bench_track "$pid" "$state"
    t0=$(date +%s%N)
    read -r c0 s0 < <(bench_track_totals "$state")
    end=$((t0 + secs * 1000000000))
    while now=$(date +%s%N); ((now + 500000000 < end)); do
        sleep 0.5
        bench_track "$pid" "$state"
    done
    sleep "$(awk -v ns=$((end - $(date +%s%N))) 'BEGIN { printf "%.3f", (ns > 0 ? ns / 1e9 : 0) }')"
    bench_track "$pid" "$state"
    t1=$(date +%s%N)
    read -r c1 s1 < <(bench_track_totals "$state")
    kill -0 "$pid" 2>/dev/null || { echo "process $pid ended while measured" >&2; exit 1; }
    BENCH_M_CPU_NS=$((c1 - c0))
    BENCH_M_SWITCHES=$((s1 - s0))
    BENCH_M_WALL_NS=$((t1 - t0))
    rm -f "$state"
}

bench_rss_mb() { awk '/^VmRSS/ { printf "%.1f", $2 / 1024 }' "/proc/$1/status"; }
