#!/usr/bin/python3
"""Checks `wendit timeline` against an independent MIDI decoder (mido).

For each MIDI file given, the channel-1 note on (velocity > 0), note off and
controller events that mido decodes are converted to milliseconds with the
show's single-tempo rule (the last tempo event in track order converts every
tick; 120 bpm without one), and compared with what `bin/wendit timeline`
lists for the same file, event for event, in the same order within each
millisecond. Beat events are checked too: one every beat from 0 up to the
first beat at or after the end of the longest track.

usage: scripts/check_midi.py FILE.mid [FILE.mid ...]   (run from anywhere)
exit code 0 when every file matches.
"""
import os
import subprocess
import sys
import tempfile

import mido

ROOT = os.path.dirname(os.path.dirname(os.path.abspath(__file__)))


def expected(path):
    mf = mido.MidiFile(path, clip=True)
    division = mf.ticks_per_beat
    spt = 0.5 / division
    for track in mf.tracks:
        for msg in track:
            if msg.type == 'set_tempo' and msg.tempo > 0:
                spt = 60.0 / (60000000.0 / msg.tempo) / division
    rows = []
    longest = 0
    for ti, track in enumerate(mf.tracks):
        tick = 0
        for msg in track:
            tick += msg.time
            if getattr(msg, 'channel', None) != 0:
                continue
            ms = int(spt * tick * 1000.0)
            if msg.type == 'note_on' and msg.velocity > 0:
                rows.append((ms, ti, 1, msg.note, msg.velocity))
            elif msg.type == 'note_off':
                rows.append((ms, ti, 2, msg.note, msg.velocity))
            elif msg.type == 'control_change':
                rows.append((ms, ti, 3, msg.control, msg.value))
        longest = max(longest, tick)
    rows.sort(key=lambda r: r[0])  # stable: track order, then file order
    m = division * spt * 1000.0
    end = int(longest * spt * 1000.0)
    beats = []
    k = 0
    while True:
        t = int(k * m)
        beats.append(t)
        if t >= end:
            break
        k += 1
    return rows, beats


def listed(path):
    with tempfile.NamedTemporaryFile('w', suffix='.txt', delete=False) as empty:
        markers = empty.name
    try:
        out = subprocess.run([os.path.join(ROOT, 'bin', 'wendit'), 'timeline', '--markers', markers,
                              '--midi', path], cwd=os.path.join(ROOT, 'bin'), capture_output=True, errors='replace',
                             text=True, check=True).stdout
    finally:
        os.unlink(markers)
    rows, beats = [], []
    for line in out.splitlines():
        if line.startswith('#'):
            continue
        f = line.split('\t')
        if f[2] == 'midi':
            rows.append((int(f[0]), int(f[3]), int(f[4]), int(f[5]), int(f[6])))
        elif f[2] == 'midibeat':
            beats.append(int(f[0]))
    return rows, beats


def main(paths):
    ok = True
    for path in paths:
        want_rows, want_beats = expected(path)
        got_rows, got_beats = listed(path)
        same = want_rows == got_rows and want_beats == got_beats
        ok &= same
        print('%s %s: %d events, %d beats' % ('ok  ' if same else 'FAIL', path, len(got_rows), len(got_beats)))
        if not same:
            for i, (w, g) in enumerate(zip(want_rows, got_rows)):
                if w != g:
                    print('  first difference at event %d: mido %s, wendit %s' % (i, w, g))
                    break
            if len(want_rows) != len(got_rows):
                print('  mido %d events, wendit %d' % (len(want_rows), len(got_rows)))
            if want_beats != got_beats:
                print('  beats differ: mido %d, wendit %d' % (len(want_beats), len(got_beats)))
    return 0 if ok else 1


if __name__ == '__main__':
    sys.exit(main(sys.argv[1:]))
