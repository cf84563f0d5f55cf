#!/usr/bin/python3
"""Grooves that Debian's mma writes over known chord progressions, fitted with
`vantrel-cli fit --source-chord`: how many measures get the chord mma was given, and whether the
fitted bass and chord parts lie on the source chord. Prints the figures; fails below 95%.

usage: mma_corpus.py VANTREL_CLI WORK_DIR
"""
import json
import pathlib
import shutil
import subprocess
import sys

import mido

PROGRESSIONS = {
    "G": "G G D Em C Am D7 G",
    "C": "C Am F G7 C F G C",
    "Em": "Em C G D Em Am B7 Em",
    "Bb": "Bb Gm Eb F7 Bb Eb F Bb",
    "A": "A D E7 A F#m D E A",
    "F": "F Dm Bb C7 F Bb C F",
}
GROOVES = ["8Beat", "Ballad", "Folk", "BasicRock", "SwingWalk", "JazzCombo"]
SOURCE_CHORD_TONES = {0, 2, 4, 7, 9, 11}  # C major 7 with its 9th and 13th
C_MAJOR_SCALE = {0, 2, 4, 5, 7, 9, 11}
MEASURE = 768  # ticks of a 4/4 measure at 192 ticks per quarter note


def write_groove(folder, groove, key, chords):
    source = folder / f"{groove}-{key}.mma"
    lines = ["RndSeed 22", "Tempo 110", f"Groove {groove}"]  # mma varies its grooves at random
    lines += [f"{i + 1} {chord}" for i, chord in enumerate(chords.split())]
    source.write_text("\n".join(lines) + "\n")
    subprocess.run(["mma", str(source)], check=True, capture_output=True)
    return source.with_suffix(".mid")


def channels_of(path):
    """Every channel that plays a note, with the name of its track."""
    song = mido.MidiFile(str(path))
    channels = {}
    for track in song.tracks:
        for message in track:
            if message.type == "note_on" and message.velocity > 0:
                channels.setdefault(message.channel + 1, track.name)
    return channels


def notes_by_measure(path):
    """(channel, key, start tick) of every sounding note of a fitted file."""
    song = mido.MidiFile(str(path))
    notes = []
    for track in song.tracks:
        tick = 0
        for message in track:
            tick += message.time
            if message.type == "note_on" and message.velocity > 0:
                notes.append((message.channel + 1, message.note, tick))
    return notes


def main():
    cli, work = sys.argv[1], pathlib.Path(sys.argv[2])
    shutil.rmtree(work, ignore_errors=True)
    work.mkdir(parents=True)
    measures = detected_right = 0
    chord_notes = chord_notes_on = 0
    bass_notes = bass_notes_in_scale = 0
    downbeats = downbeats_on_c = 0
    worst_chord_measure = 1.0
    missed = []
    for groove in GROOVES:
        for key, chords in PROGRESSIONS.items():
            song = write_groove(work, groove, key, chords)
            # mma names the bass track Bass-... or Walk (a walking bass) and puts it on a high
            # channel beside its chord parts; it goes to 12, the keyboard's bass channel.
            channels = {c: name for c, name in channels_of(song).items() if c != 10}
            named = [c for c, name in channels.items() if name.startswith(("Bass", "Walk"))]
            bass = named[0] if named else max(channels)
            mapping = f"{bass}=12"
            run = subprocess.run([cli, "fit", "--source-chord", "--map", mapping, "--json",
                                  "-o", str(work / "fitted"), "--force", str(song)],
                                 capture_output=True, text=True)
            report = json.loads(run.stdout)[0]
            # A groove too long for one block is still written; only its budget line says so.
            if not report.get("output"):
                print(f"{song.name}: not fitted: {report.get('reason')}")
                measures += len(chords.split())
                continue
            found = {}
            for change in report["changes"]:
                if change["kind"] == "chord" and change["detail"].startswith("measure "):
                    number, rest = change["detail"][len("measure "):].split(": ", 1)
                    found[int(number)] = rest.split(" (")[0]
            for index, chord in enumerate(chords.split()):
                measures += 1
                detected_right += found.get(index + 1) == chord
                if found.get(index + 1) != chord:
                    missed.append(f"{song.stem} measure {index + 1}: {chord} found as "
                                  f"{found.get(index + 1, 'unclear')}")
            by_measure = {}
            for channel, note, tick in notes_by_measure(report["output"]):
                measure = tick // MEASURE
                if channel == 12:
                    bass_notes += 1
                    bass_notes_in_scale += note % 12 in C_MAJOR_SCALE
                    if tick % MEASURE == 0:
                        downbeats += 1
                        downbeats_on_c += note % 12 == 0
                elif channel >= 13:
                    counts = by_measure.setdefault(measure, [0, 0])
                    counts[0] += 1
                    counts[1] += note % 12 in SOURCE_CHORD_TONES
            for total, on in by_measure.values():
                chord_notes += total
                chord_notes_on += on
                worst_chord_measure = min(worst_chord_measure, on / total)

    def share(part, whole):
        return 100.0 * part / whole if whole else 0.0

    figures = [
        ("measures whose detected chord is the one given to mma", detected_right, measures),
        ("chord-part notes on C D E G A B", chord_notes_on, chord_notes),
        ("bass notes in the C major scale", bass_notes_in_scale, bass_notes),
        ("bass notes on a downbeat that are C", downbeats_on_c, downbeats),
    ]
    print(f"{len(GROOVES)} grooves x {len(PROGRESSIONS)} progressions")
    for line in missed:
        print("  missed: " + line)
    failed = False
    for text, part, whole in figures:
        print(f"  {text}: {part} of {whole} ({share(part, whole):.1f}%)")
        failed |= share(part, whole) < 95.0
    print(f"  worst measure, chord-part notes on the source chord: "
          f"{100.0 * worst_chord_measure:.1f}%")
    return 1 if failed else 0


if __name__ == "__main__":
    sys.exit(main())
