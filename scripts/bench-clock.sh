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
#
# "seek" mode: the song plays to 00:12, then the position knob is dragged
# with the mouse (xdotool) to other seconds already shown, a few times. For
# each seek to second T the script prints when the display first showed T
# and when the sound of second T reached the sink, both after the release,
# and the same for T + 1 (the tick back in step). Goal: within 0.3 s.
#
# "switch" mode: with the playlist panel open, a first song plays to 00:05,
# a second one is added through the dialog, and then, each time the song
# that plays has reached 00:03 at the sink, another song is started: by a
# double click on the first row (xdotool), then by Next, in turn, at
# different places inside a second. For each switch the script prints when
# the display first showed 00:00 and 00:01 of the new song and when the new
# song's second 0 and second 1 reached the sink, and how long the old song's
# time stayed up. Goal: within 0.3 s.
# Usage: scripts/bench-clock.sh [seconds, default 15]
#        scripts/bench-clock.sh seek [seeks, default 5]
#        scripts/bench-clock.sh switch [switches, default 6]
# Needs python3, ffmpeg (x11grab), pulseaudio-utils (parec), xdotool.
set -euo pipefail
cd "$(dirname "$0")/.."
mode=steady
if [[ ${1:-} == seek ]]; then
    mode=seek
    seeks=${2:-5}
    ((seeks >= 1 && seeks <= 5)) || { echo "seeks: 1 to 5" >&2; exit 1; }
    # 12 s of first play and the dialog, then about 4 s for each seek.
    secs=$((16 + 4 * seeks))
elif [[ ${1:-} == switch ]]; then
    mode=switch
    switches=${2:-6}
    ((switches >= 1 && switches <= 8)) || { echo "switches: 1 to 8" >&2; exit 1; }
    # The first song to 00:05 and the second one's dialog, then about 5 s a switch.
    secs=$((14 + 5 * switches))
else
    secs=${1:-15}
fi
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
            if start is None:  # a burst ends after 0.1 s of quiet
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

# What the drivers below share: the marks heard so far, (k, monotonic
# seconds), and xdotool. Their first argument is $BENCH_WORK.
cat >"$BENCH_WORK/drive.py" <<'PY'
import subprocess, sys
work = sys.argv[1]
def heard():
    try:
        return [(int(k), float(t)) for k, t in (l.split() for l in open(work + '/heard') if l.strip())]
    except (OSError, ValueError):
        return []
def xdo(*args):
    subprocess.run(['xdotool'] + [str(a) for a in args], check=True)
PY

# seek_to_marks LENGTH TARGET...: once the sound at the sink has reached
# second 12, drags the position knob to each target in turn, about 3 s apart.
# Each drag is done just after a second's mark has been heard to its end:
# the knob stands where that second's tick put it, and the recorder hears
# the target's mark as a mark of its own. Notes "target
# wall-clock-of-the-release" in $BENCH_WORK/seeks.
seek_to_marks() {
    python3 - "$BENCH_WORK" "$DISPLAY" "$@" <<'PY'
import sys, time
sys.path.insert(0, sys.argv[1])
from drive import heard, xdo
work, display, length = sys.argv[1], sys.argv[2], float(sys.argv[3])
targets = [int(t) for t in sys.argv[4:]]
deadline = time.monotonic() + 60
while not any(k >= 12 for k, _ in heard()):
    if time.monotonic() > deadline:
        sys.exit('the song did not reach 00:12')
    time.sleep(0.05)
out = open(work + '/seeks', 'w')
for target in targets:
    seen = len(heard())
    while len(heard()) == seen:
        time.sleep(0.01)
    second, at = heard()[-1]
    time.sleep(max(0, at + 0.02 * (second % 40 + 1) + 0.15 - time.monotonic()))
    # Where that second's tick put the knob (twips; 15 to a pixel), grabbed
    # at its middle, and moved to the middle of the target's second.
    left = 120 + int((second + 0.03) / length * 3540)
    x = round(left / 15) + 14
    dx = round((120 + (target + 0.5) / length * 3540 - left) / 15)
    xdo('mousemove', x, 75, 'mousedown', 1)
    xdo('mousemove', x + dx // 2, 75)
    xdo('mousemove', x + dx, 75)
    released = time.time()
    xdo('mouseup', 1)
    print(target, '%.4f' % released, file=out, flush=True)
    time.sleep(2.2)
PY
}

# switch_songs N SINCE: plays another song N times, each time the song that
# plays has reached 00:03 at the sink: one of its first seconds heard after
# SINCE (a monotonic time) or after the last switch, then its second 3. (The
# song before was past those seconds; the new song's second 0 may run into
# that song's cut-off mark.) Each switch comes 0.3, 0.55 or 0.8 s after a
# second's mark, in turn: a double click on the first row, then Next (which
# plays the second row), and so on. Notes "how
# wall-clock-when-the-click-was-sent" in $BENCH_WORK/switches.
switch_songs() {
    python3 - "$BENCH_WORK" "$1" "$2" <<'PY'
import sys, time
sys.path.insert(0, sys.argv[1])
from drive import heard, xdo
work, count, since = sys.argv[1], int(sys.argv[2]), float(sys.argv[3])
def wait_for(test, what):
    deadline = time.monotonic() + 30
    while not test():
        if time.monotonic() > deadline:
            sys.exit('the song that plays did not reach ' + what)
        time.sleep(0.01)
out = open(work + '/switches', 'w')
for i in range(count):
    wait_for(lambda: any(k <= 2 and t > since for k, t in heard()), '00:02')
    start = min(t for k, t in heard() if k <= 2 and t > since)
    wait_for(lambda: any(k >= 3 and t > start for k, t in heard()), '00:03')
    # The first row of the list (twips 195,2025 at the panel height), or
    # Next (twips 1590,1320 420x390).
    how, x, y, click = (('double-click', 60, 141, ['--repeat', 2, '--delay', 60, 1]) if i % 2 == 0
                        else ('Next', 120, 101, [1]))
    xdo('mousemove', x, y)
    seen = len(heard())
    wait_for(lambda: len(heard()) > seen, 'its next second')
    at = heard()[-1][1]
    time.sleep(max(0, at + (0.3, 0.55, 0.8)[i % 3] - time.monotonic()))
    since, sent = time.monotonic(), time.time()
    xdo('click', *click)
    print(how, '%.4f' % sent, file=out, flush=True)
PY
}

# report seek|switch: for each seek, when the display and the sound at the
# sink reached the target second, and the second after it; for each switch,
# when the display showed the new song's 00:00 and 00:01, against when its
# second 0 and second 1 reached the sink.
report() {
    python3 - "$BENCH_WORK" "$1" <<'PY'
import re, sys
work, mode = sys.argv[1], sys.argv[2]
wall, mono = map(float, open(work + '/clocks').read().split())
heard = [(int(k), float(t) - mono + wall) for k, t in (l.split() for l in open(work + '/heard'))]
frames = []
for line in open(work + '/shots'):
    m = re.search(r' pts:(\d+).*checksum:(\w+)', line)
    if m:
        frames.append((int(m.group(1)) / 1e6, m.group(2)))
if mode == 'seek':
    seeks = [(int(t), float(at)) for t, at in (l.split() for l in open(work + '/seeks'))]
    events, plural, learnt_until, learnt_by = seeks, 'seeks', seeks[0][1] if seeks else 0, 'the first seek'
else:
    switches = [(how, float(at)) for how, at in (l.split() for l in open(work + '/switches'))]
    events, plural, learnt_until, learnt_by = switches, 'switches', float(open(work + '/added').read()), 'the second song'
if not events or not frames or not heard:
    sys.exit('nothing measured (%d %s, %d frames, %d marks heard)' % (len(events), plural, len(frames), len(heard)))
# What each display picture says: until then (the first seek, the second
# song's dialog) it counts up from the last "00:00", one second a change.
zero = frames[0][1]
first = max(i for i, f in enumerate(frames) if f[1] == zero and f[0] < learnt_until)
second = {zero: 0}
n = 0
for i in range(first + 1, len(frames)):
    if frames[i][0] >= learnt_until:
        break
    if frames[i][1] != frames[i - 1][1]:
        n += 1
        second.setdefault(frames[i][1], n)
print('display pictures known for 00:00 to 00:%02d before %s' % (n, learnt_by))
def shown_at(second_wanted, after, before):
    return next((t for t, c in frames if after <= t < before and second.get(c) == second_wanted), None)
def heard_at(k, after, before):
    return next((t for kk, t in heard if kk == k and after <= t < before), None)
def changed_after(at):
    old = next((c for t, c in reversed(frames) if t <= at), None)
    return next((t for t, c in frames if t > at and c != old), None)
worst = 0.0
missed = 0
if mode == 'seek':
    kept = []
    print('seek to T (knob released at 0): display shows T | sound of T at the sink | lag; same for T+1 (s)')
    for i, (target, released) in enumerate(seeks):
        until = seeks[i + 1][1] if i + 1 < len(seeks) else float('inf')
        change = changed_after(released)
        if change is not None:
            kept.append(change - released)
        row = []
        for s in (target, target + 1):
            d, h = shown_at(s, released, until), heard_at(s, released, until)
            if d is None or h is None:
                row.append('%2d: display %s, sound %s' % (s, 'never' if d is None else '%.3f' % (d - released),
                                                       'never' if h is None else '%.3f' % (h - released)))
                missed += 1
                continue
            lag = d - h
            worst = max(worst, abs(lag))
            row.append('%2d: %.3f | %.3f | %+.3f' % (s, d - released, h - released, lag))
        print('  ' + '   '.join(row))
    if kept:
        print('the second shown before the seek stayed up for %s s after the release'
              % ' '.join('%.3f' % k for k in kept))
else:
    if n < 1:
        sys.exit('the display never showed 00:01 of the first song')
    def at(t, ref):
        return 'never' if t is None else '%6.3f' % (t - ref)
    print('times from when the new song\'s second 0 reached the sink (s): the click; the first change')
    print('of the display; the display showing 00:00, lag; the display showing 00:01 | the sound of')
    print('second 1 at the sink, lag')
    for i, (how, sent) in enumerate(switches):
        until = switches[i + 1][1] if i + 1 < len(switches) else float('inf')
        h0, h1 = heard_at(0, sent, until), heard_at(1, sent, until)
        d0, d1 = shown_at(0, sent, until), shown_at(1, sent, until)
        ref = h0 if h0 is not None else sent
        row = '  %-12s click %s  change %s  00:00 %s' % (how, at(sent, ref), at(changed_after(sent), ref), at(d0, ref))
        if d0 is not None and h0 is not None:
            row += ' %+.3f' % (d0 - h0)
            worst = max(worst, abs(d0 - h0))
        else:
            missed += 1
        row += '  00:01 %s | %s' % (at(d1, ref), at(h1, ref))
        if d1 is not None and h1 is not None:
            row += ' %+.3f' % (d1 - h1)
            worst = max(worst, abs(d1 - h1))
        else:
            missed += 1
        print(row)
print('after a %s: largest |lag| %.3f s over %d %s%s (goal within 0.3: %s)'
      % (mode, worst, len(events), plural, ', %d seconds never shown or heard' % missed if missed else '',
         'met' if worst <= 0.3 and not missed else 'missed'))
PY
}

bench_start_orvane
if [[ $mode == switch ]]; then
    # The playlist button (plup, twips 3480,810): a press, then a move over
    # its pressed look, opens the panel.
    xdotool mousemove 238 59 mousedown 1 mousemove 239 60 mouseup 1
    sleep 0.5
    cp "$song" "$BENCH_WORK/second.mp3"
fi
# Label20, the player's time: twips 885,435 510x180.
geom="34x12"; at="+59,29"
python3 "$BENCH_WORK/listen.py" $((secs + 3)) >"$BENCH_WORK/heard" &
BENCH_PIDS+=($!)
timeout -s INT $((secs + 2)) ffmpeg -loglevel info -nostats -f x11grab -framerate 100 -video_size "$geom" \
    -i "$DISPLAY$at" -copyts -vf showinfo -f null - 2>"$BENCH_WORK/shots" &
grab=$!
# The position knob's row (islider, twips 120,1080, 6 px high), as grey levels.
timeout -s INT $((secs + 2)) ffmpeg -loglevel info -nostats -f x11grab -framerate 50 -video_size 274x6 \
    -i "$DISPLAY+0,72" -copyts -vf showinfo,format=gray -f rawvideo -y "$BENCH_WORK/knob.raw" \
    2>"$BENCH_WORK/knobshots" &
knobgrab=$!
sleep 0.5
python3 -c 'import time; print(time.time(), time.monotonic())' >"$BENCH_WORK/clocks"
bench_play_in_orvane "$song"
if [[ $mode == seek ]]; then
    seek_to_marks "$((secs + 5))" 3 8 2 10 5
elif [[ $mode == switch ]]; then
    since=$(python3 - "$BENCH_WORK" <<'PY'
import sys, time
sys.path.insert(0, sys.argv[1])
from drive import heard, work
deadline = time.monotonic() + 60
while not any(k >= 5 for k, _ in heard()):
    if time.monotonic() > deadline:
        sys.exit('the first song did not reach 00:05')
    time.sleep(0.05)
print('%.4f' % time.time(), file=open(work + '/added', 'w'))
print('%.4f' % time.monotonic())
PY
)
    bench_play_in_orvane "$BENCH_WORK/second.mp3"
    switch_songs "$switches" "$since"
fi
wait "$grab" || true
wait "$knobgrab" || true
sleep 1.5
if [[ $mode == seek ]]; then
    report seek
    exit 0
fi
if [[ $mode == switch ]]; then
    report switch
    exit 0
fi

python3 - "$BENCH_WORK" $((secs + 5)) <<'PY'
import re, sys
work, duration = sys.argv[1], float(sys.argv[2])
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

def heard_at(t):
    before = [k for k in heard if heard[k] <= t]
    return max(before) + (t - heard[max(before)]) if before else None

# The knob: its left edge is the first bright column of its row. Its place
# stands for the position (twips 120 the start, 3660 the end of the media).
stamps = [int(m.group(1)) / 1e6 for m in
          (re.search(r' pts:(\d+)', l) for l in open(work + '/knobshots')) if m]
raw = open(work + '/knob.raw', 'rb').read()
width, rows = 274, 6
def knob_x(i):
    f = raw[i * width * rows:(i + 1) * width * rows]
    cols = [sum(f[r * width + x] for r in range(rows)) / rows for x in range(width)]
    return next((x for x in range(8, width) if cols[x] > 80), None)
xs = [knob_x(i) for i in range(min(len(stamps), len(raw) // (width * rows)))]
start = next((x for x in xs if x is not None), None)
knob_lags = []
for i in range(1, len(xs)):
    if xs[i] is not None and xs[i - 1] is not None and xs[i] != xs[i - 1] and xs[i] > start:
        shown = (xs[i] - start) * 15 / 3540 * duration
        h = heard_at(stamps[i])
        if h is not None:
            knob_lags.append(h - shown)
if knob_lags:
    print('position knob: %d moves; the sound at the sink was ahead of the place it shows by' % len(knob_lags))
    print('  ' + ' '.join('%.2f' % x for x in knob_lags))
    print('  min %.3f s, max %.3f s (one pixel of the knob is %.2f s of this song)'
          % (min(knob_lags), max(knob_lags), 15 / 3540 * duration))
PY
