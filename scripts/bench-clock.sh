#!/usr/bin/env bash
# How far the player's time display lags the sound, measured at the sink.
# The program (build/src/app/orvane, private Xvfb) plays a generated song
# into a private PulseAudio null sink. The song is silent but for a 1 kHz
# burst at each whole second; burst k lasts 20 ms x (k + 1), so its length
# names the second it marks. A recorder on the sink's monitor notes when each
# burst reaches the sink; ffmpeg grabs the time display 100 times a second
# and notes when it changes. For every change of the display to N seconds the
# script prints where the sound at the sink was at that moment, N + lag.
# Goal: lag within 0 .. 0.3 s (the display shows whole seconds; a negative
# lag means it went over to N early, by its rounding).
# Usage: scripts/bench-clock.sh [seconds, default 15]
# Needs python3, ffmpeg (x11grab), pulseaudio-utils (parec), xdotool.
set -euo pipefail
cd "$(dirname "$0")/.."
secs=${1:-15}
[[ -x build/src/app/orvane ]] || { echo "build first: scripts/build.sh" >&2; exit 1; }
source scripts/bench-session.sh
bench_need python3 ffmpeg parec
bench_session_start

song="$BENCH_WORK/marks.mp3"
python3 - "$BENCH_WORK/marks.wav" $((secs + 5)) <<'PY'
import math, struct, sys, wave
rate, total = 44100, int(sys.argv[2])
frames = bytearray()
for k in range(total):
    burst = int(rate * 0.02 * (k % 40 + 1))
    for i in range(rate):
        v = int(12000 * math.sin(2 * math.pi * 1000 * i / rate)) if i < burst else 0
        frames += struct.pack('<hh', v, v)
with wave.open(sys.argv[1], 'wb') as w:
    w.setnchannels(2); w.setsampwidth(2); w.setframerate(rate); w.writeframes(bytes(frames))
PY
gst-launch-1.0 -q filesrc location="$BENCH_WORK/marks.wav" ! wavparse ! audioconvert \
    ! lamemp3enc target=bitrate cbr=true bitrate=128 ! filesink location="$song" >/dev/null

# The recorder: for each burst, "k monotonic-seconds-when-it-reached-the-sink".
cat >"$BENCH_WORK/listen.py" <<'PY'
import array, os, subprocess, sys, time
rate, end = 44100, time.monotonic() + float(sys.argv[1])
rec = subprocess.Popen(['parec', '--raw', '--format=s16le', '--rate=%d' % rate, '--channels=1',
                        '--latency-msec=5', '-d', 'bench.monitor'], stdout=subprocess.PIPE, bufsize=0)
quiet, start, last, seen = rate, None, 0, 0
while time.monotonic() < end:
    data = os.read(rec.stdout.fileno(), 4096)
    now = time.monotonic()
    if not data:
        break
    a = array.array('h'); a.frombytes(data[:len(data) // 2 * 2])
    for i, v in enumerate(a):
        if abs(v) > 2000:
            if quiet > rate // 4:
                start = (seen + i, now - (len(a) - i) / rate)
            last, quiet = seen + i, 0
        else:
            quiet += 1
            if start and quiet == rate // 10:
                print(round((last - start[0]) / rate / 0.02) - 1, '%.4f' % start[1], flush=True)
                start = None
    seen += len(a)
rec.terminate()
PY

bench_start_orvane
# Label20, the player's time: twips 885,435 510x180.
geom="34x12"; at="+59,29"
python3 "$BENCH_WORK/listen.py" $((secs + 3)) >"$BENCH_WORK/heard" &
BENCH_PIDS+=($!)
timeout -s INT $((secs + 2)) ffmpeg -loglevel info -nostats -f x11grab -framerate 100 -video_size "$geom" \
    -i "$DISPLAY$at" -copyts -vf showinfo -f null - 2>"$BENCH_WORK/shots" &
grab=$!
sleep 0.5
python3 -c 'import time; print(time.time(), time.monotonic())' >"$BENCH_WORK/clocks"
bench_play_in_orvane "$song"
wait "$grab" || true
sleep 1.5

python3 - "$BENCH_WORK" <<'PY'
import re, sys
work = sys.argv[1]
wall, mono = map(float, open(work + '/clocks').read().split())
heard = {}
for line in open(work + '/heard'):
    k, t = line.split()
    heard.setdefault(int(k), float(t) - mono + wall)
frames = []
for line in open(work + '/shots'):
    m = re.search(r' pts:(\d+).*checksum:(\w+)', line)
    if m:
        frames.append((int(m.group(1)) / 1e6, m.group(2)))
# The grab starts on "00:00"; the dialog may cover the display for a while.
# From the last "00:00" on, each change is one more second: 00:01, 00:02, ...
zero = frames[0][1]
first = max(i for i, f in enumerate(frames) if f[1] == zero)
changes = [frames[i][0] for i in range(first + 1, len(frames)) if frames[i][1] != frames[i - 1][1]]
lags = []
for shown, t in enumerate(changes, start=1):
    before = [k for k in heard if heard[k] <= t]
    if before:
        k = max(before)
        lags.append(k + (t - heard[k]) - shown)
if not heard or not lags:
    sys.exit('nothing measured (heard %d bursts, %d display changes)' % (len(heard), len(changes)))
print('bursts heard at the sink: %d, display changes: %d' % (len(heard), len(lags)))
print('display to N when the sound at the sink was at N + lag, lag per change (s):')
print('  ' + ' '.join('%.2f' % x for x in lags))
steady = lags[1:] or lags
print('after the first change: lag min %.3f s, max %.3f s (goal within 0 .. 0.3)' % (min(steady), max(steady)))
PY
