#!/usr/bin/env python3
"""Plays the show through a PulseAudio sink, records what the sink plays and
says how far the sound is behind the picture, moment by moment.

Run by bench/bench_av_sync.sh (which starts the sound server and the X
server); one call is one run of the show:

  av_sync.py --out DIR --name NAME --seconds S [--keys T:KEY,...]
             [--env VAR=VALUE ...] [-- SHOW ARGUMENTS]

The recording is matched against the decoded music over short windows
(normalised cross-correlation): which music was heard at each moment. The
show's swap trace (WENDIT_SWAP_TRACE) says which demo time the picture on
the screen showed at that moment. Sound behind picture = picture's demo
time - music heard, in ms (positive: the sound is late).
"""
import argparse
import os
import signal
import subprocess
import sys
import time

import numpy as np

RATE = 44100
ROOT = os.path.dirname(os.path.dirname(os.path.abspath(__file__)))
WINDOW = 4096            # samples matched at a time (93 ms)
STEP = RATE // 10        # a window every 100 ms
SEARCH_MS = 400          # music searched this far either side of the picture
# (the music repeats itself at the beat, 500 ms: a wider search could land
# on the same sound a beat away)
AFTER_MS = 3000          # what counts as "after" a pause, a seek or a wrap
SETTLE_MS = 150          # the first moments after one are left out


def load_pcm(path):
    a = np.fromfile(path, dtype='<i2').astype(np.float32).reshape(-1, 2)
    return a.mean(axis=1)


def run_show(args, prefix):
    env = dict(os.environ, WENDIT_TIMELINE_TRACE='1', WENDIT_SWAP_TRACE='1')
    for kv in args.env:
        k, v = kv.split('=', 1)
        env[k] = v
    rec = subprocess.Popen([os.path.join(ROOT, 'build/bench/av_sync_record'), args.source,
                            str(args.seconds + 25), prefix])
    err = open(prefix + '.trace', 'w')
    show = subprocess.Popen([os.path.join(ROOT, 'bin/morvane')] + args.show, cwd=os.path.join(ROOT, 'bin'),
                            env=env, stdin=subprocess.DEVNULL, stdout=subprocess.DEVNULL, stderr=err)
    # The show starts after its loading screen.
    deadline = time.monotonic() + 60
    started = None
    while time.monotonic() < deadline and show.poll() is None:
        with open(prefix + '.trace') as f:
            if 'demo start' in f.read():
                started = time.monotonic()
                break
        time.sleep(0.05)
    if started is None:
        show.kill()
        rec.kill()
        sys.exit('av_sync: the show did not start (see %s.trace)' % prefix)
    subprocess.run(['xdotool', 'mousemove', '5', '5'], check=False)
    keys = []
    for item in filter(None, args.keys.split(',')):
        t, key = item.split(':', 1)
        keys.append((float(t), key))
    with open(prefix + '.keys', 'w') as sent:
        for t, key in sorted(keys):
            time.sleep(max(0.0, started + t - time.monotonic()))
            # time.monotonic is CLOCK_MONOTONIC, the swap trace's clock
            sent.write('%d %s\n' % (int(time.monotonic() * 1e6), key))
            subprocess.run(['xdotool', 'key', key], check=False)
    time.sleep(max(0.0, started + args.seconds - time.monotonic()))
    show.send_signal(signal.SIGTERM)
    try:
        show.wait(10)
    except subprocess.TimeoutExpired:
        show.kill()
    rec.send_signal(signal.SIGTERM)
    rec.wait(10)
    err.close()


def sample_clock(prefix):
    """Monotonic time (us) of each recorded sample: a line fitted through
    every read's 'last sample played at now - latency'."""
    with open(prefix + '.times') as f:
        t = np.array([[float(x) for x in line.split()] for line in f if len(line.split()) == 3])
    played = t[:, 0] - t[:, 1]
    index = t[:, 2] - 1
    slope, origin = np.polyfit(index, played, 1)
    return origin, slope


def swaps(prefix):
    demo, at = [], []
    with open(prefix + '.trace') as f:
        for line in f:
            if line.startswith('# swap-trace '):
                _, _, d, t = line.split()
                demo.append(int(d))
                at.append(int(t))
    return np.array(demo), np.array(at)


def jumps(demo, at, prefix):
    """(monotonic us, kind) of each pause's end, seek and wrap, from the
    pictures' demo times: a pause holds one demo time for a while; a jump
    soon after a marker key was sent is a seek, any other a loop's wrap."""
    marker_keys = []
    if os.path.exists(prefix + '.keys'):
        with open(prefix + '.keys') as f:
            marker_keys = [int(line.split()[0]) for line in f if line.split()[1] in ('period', 'comma')]
    out = []
    run_start = 0
    for i in range(1, len(demo)):
        dd = demo[i] - demo[i - 1]
        if dd == 0:
            continue
        if at[i - 1] - at[run_start] > 300000:
            out.append((at[i], 'pause'))
        wall_ms = (at[i] - at[i - 1]) / 1000.0
        # (a frame's delay from clock to screen varies by a few hundred ms
        # on a busy machine: a jump is more than that)
        if dd < -500 or dd > wall_ms + 1000:
            keyed = any(0 <= at[i] - k < 1500000 for k in marker_keys)
            out.append((at[i], 'seek' if keyed else 'wrap'))
        run_start = i
    return out


def match(music, window, expect_ms):
    lo = int((expect_ms - SEARCH_MS) * RATE / 1000)
    hi = int((expect_ms + SEARCH_MS) * RATE / 1000) + len(window)
    if lo < 0 or hi > len(music):
        return None
    seg = music[lo:hi]
    w = window - window.mean()
    n = 1 << int(np.ceil(np.log2(len(seg) + len(w))))
    corr = np.fft.irfft(np.fft.rfft(seg, n) * np.conj(np.fft.rfft(w, n)), n)[:len(seg) - len(w) + 1]
    c2 = np.concatenate([[0.0], np.cumsum(seg.astype(np.float64) ** 2)])
    energy = np.sqrt(np.maximum(c2[len(w):] - c2[:-len(w)], 1e-9) * float(np.dot(w, w)))
    score = corr / energy
    k = int(np.argmax(score))
    if score[k] < 0.6:
        return None
    return (lo + k + len(w) / 2) * 1000.0 / RATE


def analyse(args, prefix):
    music = load_pcm(os.path.join(args.out, 'music.raw'))
    rec = load_pcm(prefix + '.raw')
    origin, slope = sample_clock(prefix)
    demo, at = swaps(prefix)
    if len(demo) < 10:
        sys.exit('av_sync: no swap trace in %s.trace' % prefix)
    events = jumps(demo, at, prefix)
    rows = []  # (time us, kind, offset ms)
    for start in range(0, len(rec) - WINDOW, STEP):
        win = rec[start:start + WINDOW]
        if np.sqrt(np.mean(win ** 2)) < 200:
            continue  # silence: paused, or a quiet stretch
        t = origin + slope * (start + WINDOW / 2)
        k = np.searchsorted(at, t, side='right') - 1
        if k < 1 or k >= len(at) - 1:
            continue
        shown = demo[k]
        kind = 'steady'
        for when, what in events:
            if when <= t < when + AFTER_MS * 1000:
                kind = what
                if t < when + SETTLE_MS * 1000:
                    kind = None
        if kind is None:
            continue
        heard = match(music, win, shown)
        if heard is None:
            continue
        rows.append((t, kind, shown - heard))
    frame_ms = np.median(np.diff(at)) / 1000.0
    print('%s: %d frames, %.1f ms a frame (median), %d moments matched, load %s' %
          (args.name, len(at), frame_ms, len(rows), open('/proc/loadavg').read().split()[0]))
    for kind in ('steady', 'pause', 'seek', 'wrap'):
        off = np.array([r[2] for r in rows if r[1] == kind])
        if len(off) == 0:
            continue
        q = np.percentile(off, [5, 25, 50, 75, 95])
        print('  %-7s sound behind picture: median %+6.1f ms, quartiles %+6.1f .. %+6.1f, 5-95%% %+6.1f .. %+6.1f'
              ' (%d moments)' % (kind, q[2], q[1], q[3], q[0], q[4], len(off)))
    steady = [(r[0], r[2]) for r in rows if r[1] == 'steady']
    if len(steady) > 20:
        ts = np.array([s[0] for s in steady]) / 1e6
        off = np.array([s[1] for s in steady])
        span = ts[-1] - ts[0]
        if span > 60:
            slope_ms = np.polyfit(ts, off, 1)[0]
            minute = ((ts - ts[0]) // 60).astype(int)
            medians = ['%+.1f' % np.median(off[minute == m]) for m in range(minute.max() + 1)
                       if np.any(minute == m)]
            print('  drift: %+.2f ms over %.1f min (fitted), median per minute: %s' %
                  (slope_ms * span, span / 60, ' '.join(medians)))


def main():
    p = argparse.ArgumentParser()
    p.add_argument('--out', required=True)
    p.add_argument('--name', required=True)
    p.add_argument('--seconds', type=float, required=True)
    p.add_argument('--keys', default='')
    p.add_argument('--env', action='append', default=[])
    p.add_argument('--source', default='bench_av.monitor')
    p.add_argument('--analyse-only', action='store_true')
    p.add_argument('show', nargs='*')
    args = p.parse_args()
    prefix = os.path.join(args.out, args.name)
    if not args.analyse_only:
        run_show(args, prefix)
    analyse(args, prefix)


if __name__ == '__main__':
    main()
