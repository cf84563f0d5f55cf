#!/usr/bin/python3
"""Compares what our MIDI reader makes of a corpus with what python3-mido makes of it.

The corpus is generated here (formats 0 and 1, running status, system exclusive, meta events of
every size, long delta times, many tracks) plus ordinary MIDI music files found on the machine.
For every file: header fields, each track's events with absolute times, the End of Track rule,
the merged order and the song name must agree. Exit status 0 only when they all do.

Usage: crosscheck.py DUMP_PROGRAM WORK_DIR [--count N] [--real DIR]...
"""

import argparse
import pathlib
import random
import subprocess
import sys

import mido
from mido.midifiles import midifiles
from mido.midifiles.meta import UnknownMetaMessage

# Keep every meta event's raw type and payload (mido's decoders would normalise them).
midifiles.build_meta_message = lambda meta_type, data, delta=0: UnknownMetaMessage(
    meta_type, data, time=delta)

DEFAULT_REAL = ["/usr/share/games/openttd/baseset/openmsx"]


def vlq(value):
    out = [value & 0x7F]
    value >>= 7
    while value:
        out.append(0x80 | (value & 0x7F))
        value >>= 7
    return bytes(reversed(out))


def random_delta(rng, budget):
    roll = rng.random()
    if roll < 0.4:
        delta = 0
    elif roll < 0.8:
        delta = rng.randint(1, 127)
    elif roll < 0.95:
        delta = rng.randint(128, 0x1FFFFF)
    else:
        delta = rng.randint(0x200000, 0x0FFFFFFF)
    return min(delta, budget)


def random_track(rng, events, end_of_track=True):
    out = bytearray()
    running = None
    budget = 0x7FFFFFFF
    for _ in range(events):
        delta = random_delta(rng, budget)
        budget -= delta
        out += vlq(delta)
        roll = rng.random()
        if roll < 0.75:
            kind = rng.choice([0x80, 0x90, 0xA0, 0xB0, 0xC0, 0xD0, 0xE0])
            status = kind | rng.randint(0, 15)
            count = 1 if kind in (0xC0, 0xD0) else 2
            if status != running or rng.random() < 0.3:
                out.append(status)
            running = status
            out += bytes(b & 0x7F for b in rng.randbytes(count))
            continue
        running = None  # our reader keeps any status running; mido only channel ones
        if roll < 0.83:
            data = bytes(b & 0x7F for b in rng.randbytes(rng.choice([0, 1, 5, 40, 300])))
            out.append(rng.choice([0xF0, 0xF7]))
            out += vlq(len(data) + 1) + data + b"\xf7"
        else:
            meta_type = rng.choice([0x01, 0x02, 0x03, 0x04, 0x05, 0x06, 0x07, 0x20, 0x21, 0x51,
                                    0x54, 0x58, 0x59, 0x60, 0x7F])
            size = rng.choice([0, 1, 2, 3, 4, 6, 7, 8, 127, 128, 200])
            payload = rng.randbytes(20000 if rng.random() < 0.002 else size)
            out += b"\xff" + bytes([meta_type]) + vlq(len(payload)) + payload
    if end_of_track:
        out += vlq(random_delta(rng, budget)) + b"\xff\x2f\x00"
    return bytes(out)


def random_file(rng, index):
    fmt = 0 if index % 3 == 0 else 1
    if fmt == 0:
        track_count = 1
    elif index % 25 == 0:
        track_count = rng.randint(100, 400)
    else:
        track_count = rng.randint(1, 16)
    division = rng.choice([96, 192, 480, 960, 0xE728])
    chunks = []
    for _ in range(track_count):
        if rng.random() < 0.05:
            chunks.append(b"")
            continue
        size = rng.choice([1, 10, 100, 400, 1000]) if track_count < 50 else rng.randint(0, 5)
        chunks.append(random_track(rng, size, end_of_track=rng.random() > 0.05))
    out = b"MThd" + (6).to_bytes(4, "big") + fmt.to_bytes(2, "big")
    out += track_count.to_bytes(2, "big") + division.to_bytes(2, "big")
    for chunk in chunks:
        out += b"MTrk" + len(chunk).to_bytes(4, "big") + chunk
    return out


def expected_of(path):
    """What the reader must answer, from mido's parse."""
    midi = mido.MidiFile(str(path))
    tracks = []
    for track in midi.tracks:
        events = []
        time = 0
        for msg in track:
            time += msg.time
            if msg.type == "unknown_meta":
                events.append((time, "m", msg.type_byte, bytes(msg.data)))
            elif msg.type == "sysex":
                events.append((time, "x", 0, bytes(msg.data)))
            else:
                raw = msg.bytes()
                events.append((time, "c", raw[0], bytes(raw[1:])))
        tracks.append(events)
    ends = all(not t or (t[-1][1] == "m" and t[-1][2] == 0x2F and not t[-1][3]) for t in tracks)
    first_meta = next((e[3] for t in tracks for e in t if e[1] == "m"), b"")
    song = first_meta.split(b"\0")[0] if ends else None
    merged = sorted(((e[0], t, i) for t, events in enumerate(tracks)
                     for i, e in enumerate(events)), key=lambda item: item[0])
    return {
        "header": (midi.type, len(midi.tracks), midi.ticks_per_beat & 0xFFFF),
        "tracks": tracks,
        "ends": ends,
        "song": song,
        "merged": [(t, i) for _, t, i in merged],
    }


def normalised_ours(status, data):
    """Our event in mido's terms: system exclusive without its length and F0/F7 framing."""
    if status == 0xFF:
        return "m", data[0], data[1:]
    if status in (0xF0, 0xF7):
        length, pos = 0, 0
        while True:
            length = (length << 7) | (data[pos] & 0x7F)
            pos += 1
            if data[pos - 1] < 0x80:
                break
        body = data[pos:]
        if len(body) != length:
            return "x-length-mismatch", status, data
        if body[:1] == b"\xf0":
            body = body[1:]
        if body[-1:] == b"\xf7":
            body = body[:-1]
        return "x", 0, body
    return "c", status, data


def parse_dump(text):
    files = {}
    current = None
    for line in text.splitlines():
        tag, _, rest = line.partition(" ")
        if tag == "F":
            current = {"events": [], "merged": []}
            files[rest] = current
        elif tag == "H":
            fields = rest.split(" ")
            current["code"] = fields[0]
            if fields[0] != "open-failed":
                current["tracks_ok"] = fields[1] == "1"
                current["header"] = tuple(int(f) for f in fields[2:5])
                song = fields[5]
                current["song"] = bytes.fromhex(song[1:]) if song.startswith("=") else None
        elif tag == "E":
            track, time, status, data = (rest.split(" ") + [""])[:4]
            current["events"].append((int(track), int(time), int(status, 16),
                                      bytes.fromhex(data)))
        elif tag == "M":
            track, index = rest.split(" ")
            current["merged"].append((int(track), int(index)))
    return files


def compare(path, ours):
    try:
        expected = expected_of(path)
    except Exception as error:  # mido refuses the file: so must we
        if ours["code"] != "0":
            return None
        return "mido refuses ({}) but our header code is 0".format(error)
    if ours["code"] != "0":
        return "our header code is {} but mido reads it".format(ours["code"])
    if ours["header"] != expected["header"]:
        return "header {} != {}".format(ours["header"], expected["header"])
    tracks = [[] for _ in expected["tracks"]]
    for track, time, status, data in ours["events"]:
        tracks[track].append((time,) + normalised_ours(status, data))
    for number, (mine, theirs) in enumerate(zip(tracks, expected["tracks"])):
        if mine != theirs:
            where = next((i for i, (a, b) in enumerate(zip(mine, theirs)) if a != b),
                         min(len(mine), len(theirs)))
            return "track {} differs at event {}: ours {} mido {}".format(
                number, where, mine[where:where + 1], theirs[where:where + 1])
    if ours["tracks_ok"] != expected["ends"]:
        return "End of Track rule: ours {} expected {}".format(ours["tracks_ok"], expected["ends"])
    if ours["merged"] != expected["merged"]:
        return "merged order differs"
    if ours["song"] != expected["song"]:
        return "song name {!r} != {!r}".format(ours["song"], expected["song"])
    return None


def main():
    parser = argparse.ArgumentParser()
    parser.add_argument("dump")
    parser.add_argument("work", type=pathlib.Path)
    parser.add_argument("--count", type=int, default=220)
    parser.add_argument("--real", action="append", default=None)
    args = parser.parse_args()

    generated_dir = args.work / "generated"
    generated_dir.mkdir(parents=True, exist_ok=True)
    rng = random.Random(20261207)
    generated = []
    for index in range(args.count):
        path = generated_dir / "gen{:04d}.mid".format(index)
        path.write_bytes(random_file(rng, index))
        generated.append(path)
    real = []
    for folder in args.real if args.real is not None else DEFAULT_REAL:
        real += sorted(pathlib.Path(folder).glob("**/*.mid"))

    files = generated + real
    dump = subprocess.run([args.dump] + [str(f) for f in files], check=True,
                          capture_output=True, text=True).stdout
    ours = parse_dump(dump)
    failures = 0
    for path in files:
        problem = compare(path, ours[str(path)])
        if problem:
            failures += 1
            print("MISMATCH {}: {}".format(path, problem))
    print("crosscheck: {} generated and {} real files, {} agree, {} differ".format(
        len(generated), len(real), len(files) - failures, failures))
    if not real:
        print("crosscheck: no real MIDI files found (install openttd-openmsx)")
    return 0 if failures == 0 and len(files) >= 200 else 1


if __name__ == "__main__":
    sys.exit(main())
