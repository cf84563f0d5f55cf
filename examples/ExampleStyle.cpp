#include "ExampleStyle.h"

#include <cstdint>
#include <functional>
#include <initializer_list>
#include <string>
#include <vector>

namespace vantrel::examples {

namespace {

constexpr std::uint32_t kQuarter = 192;  // ticks per quarter note, as the keyboard requires
constexpr std::uint32_t kEighth = kQuarter / 2;
constexpr std::uint32_t kSixteenth = kQuarter / 4;
constexpr std::uint32_t kBar = 4 * kQuarter;
constexpr std::uint32_t kMicrosecondsPerQuarter = 500000;  // 120 BPM

constexpr std::uint8_t kDrums = 10;
constexpr std::uint8_t kPercussion = 11;
constexpr std::uint8_t kBass = 12;
constexpr std::uint8_t kPiano = 13;
constexpr std::uint8_t kPad = 14;

// General MIDI drum keys.
constexpr std::uint8_t kKick = 36;
constexpr std::uint8_t kSnare = 38;
constexpr std::uint8_t kClosedHat = 42;
constexpr std::uint8_t kCrash = 49;
constexpr std::uint8_t kTambourine = 54;
constexpr std::uint8_t kHighTom = 50;
constexpr std::uint8_t kMidTom = 47;
constexpr std::uint8_t kLowTom = 45;
constexpr std::uint8_t kFloorTom = 43;

struct Chord {
    std::uint8_t root;  // in the bass octave
    bool minor;
};
constexpr Chord kC{36, false};
constexpr Chord kAm{45, true};
constexpr Chord kF{41, false};
constexpr Chord kG{43, false};

// A chord held from start for length ticks; a sustained chord is played once and held (the
// last chord of the Ending), the others are played in the running accompaniment rhythm.
struct ChordSpan {
    Chord chord;
    std::uint32_t start;
    std::uint32_t length;
    bool sustained = false;
};

void Setup(SmfTrack& track, std::uint8_t channel, std::uint8_t program, std::uint8_t volume,
           std::uint8_t pan, std::uint8_t reverb) {
    track.Channel(0, 0xB0, channel, 0, 0);
    track.Channel(0, 0xC0, channel, program);
    track.Channel(0, 0xB0, channel, 7, volume);
    track.Channel(0, 0xB0, channel, 10, pan);
    track.Channel(0, 0xB0, channel, 91, reverb);
}

std::uint8_t Key(int key) {
    return static_cast<std::uint8_t>(key);
}

void Triad(SmfTrack& track, std::uint8_t channel, int root, bool minor, std::uint32_t tick,
           std::uint8_t velocity, std::uint32_t length) {
    track.Note(tick, channel, Key(root), velocity, length);
    track.Note(tick, channel, Key(root + (minor ? 3 : 4)), velocity, length);
    track.Note(tick, channel, Key(root + 7), velocity, length);
}

// Kick on 1, the "and" of 2 and 3, snare on 2 and 4, closed hi-hat eighths accented on the beat;
// beats counts the quarter notes played from start.
void Groove(SmfTrack& drums, std::uint32_t start, std::uint32_t beats) {
    for (std::uint32_t eighth = 0; eighth < beats * 2; ++eighth) {
        const std::uint32_t tick = start + eighth * kEighth;
        const std::uint32_t inBar = eighth % 8;
        if (inBar == 0 || inBar == 4)
            drums.Note(tick, kDrums, kKick, 112, kSixteenth);
        if (inBar == 3)
            drums.Note(tick, kDrums, kKick, 84, kSixteenth);
        if (inBar == 2 || inBar == 6)
            drums.Note(tick, kDrums, kSnare, 104, kSixteenth);
        drums.Note(tick, kDrums, kClosedHat, eighth % 2 == 0 ? 92 : 64, kSixteenth);
    }
}

void Sixteenths(SmfTrack& drums, std::uint32_t start, const std::vector<std::uint8_t>& keys,
                std::uint8_t firstVelocity, std::uint8_t velocityStep) {
    for (std::size_t i = 0; i < keys.size(); ++i) {
        const auto velocity = static_cast<std::uint8_t>(firstVelocity + i * velocityStep);
        drums.Note(start + static_cast<std::uint32_t>(i) * kSixteenth, kDrums, keys[i], velocity,
                   kSixteenth / 2);
    }
}

void Tambourine(SmfTrack& percussion, std::uint32_t start, std::uint32_t bars) {
    for (std::uint32_t bar = 0; bar < bars; ++bar) {
        percussion.Note(start + bar * kBar + kQuarter, kPercussion, kTambourine, 80, kEighth);
        percussion.Note(start + bar * kBar + 3 * kQuarter, kPercussion, kTambourine, 88, kEighth);
    }
}

// Root, fifth, octave, fifth on the quarter notes of each chord.
void Bass(SmfTrack& bass, const std::vector<ChordSpan>& spans) {
    static constexpr int kSteps[] = {0, 7, 12, 7};
    for (const ChordSpan& span : spans) {
        if (span.sustained) {
            bass.Note(span.start, kBass, span.chord.root, 108, span.length - kEighth);
            continue;
        }
        for (std::uint32_t beat = 0; beat * kQuarter < span.length; ++beat) {
            bass.Note(span.start + beat * kQuarter, kBass, Key(span.chord.root + kSteps[beat % 4]),
                      beat % 2 == 0 ? 104 : 88, kQuarter - 22);
        }
    }
}

// Triads on 1, the "and" of 2, 3 and the "and" of 4 of every bar.
void Piano(SmfTrack& piano, const std::vector<ChordSpan>& spans) {
    struct Hit {
        std::uint32_t offset, length;
        std::uint8_t velocity;
    };
    static constexpr Hit kHits[] = {
        {0, 180, 96}, {3 * kEighth, 90, 76}, {4 * kEighth, 180, 90}, {7 * kEighth, 90, 72}};
    for (const ChordSpan& span : spans) {
        const int root = span.chord.root + 24;
        if (span.sustained) {
            Triad(piano, kPiano, root, span.chord.minor, span.start, 100, span.length - kEighth);
            continue;
        }
        for (const Hit& hit : kHits) {
            if (hit.offset < span.length) {
                Triad(piano, kPiano, root, span.chord.minor, span.start + hit.offset, hit.velocity,
                      hit.length);
            }
        }
    }
}

void Pad(SmfTrack& pad, const std::vector<ChordSpan>& spans) {
    for (const ChordSpan& span : spans) {
        Triad(pad, kPad, span.chord.root + 12, span.chord.minor, span.start, 68,
              span.length - kSixteenth);
    }
}

// What one part plays: its drum track, and the chords that bass, piano and pad follow.
struct PartScore {
    std::string fileName;
    std::string title;
    std::uint32_t bars;
    std::function<void(SmfTrack&)> drums;
    std::uint32_t tambourineBars;
    std::vector<ChordSpan> chords;
};

SmfTrack& ChannelTrack(SmfWriter& midi, const std::string& name, std::uint8_t channel,
                       std::uint8_t program, std::uint8_t volume, std::uint8_t pan,
                       std::uint8_t reverb) {
    SmfTrack& track = midi.AddTrack();
    track.Text(0, 0x03, name);
    Setup(track, channel, program, volume, pan, reverb);
    return track;
}

// Track 0 holds the title, time signature and tempo; every other track plays one channel.
// All tracks end at the end of the last bar, so the part lasts exactly that many measures.
// Each track is finished before the next is added (AddTrack may move the earlier ones).
SmfWriter Render(const PartScore& score) {
    SmfWriter midi(1, kQuarter);
    const std::uint32_t end = score.bars * kBar;
    SmfTrack& conductor = midi.AddTrack();
    conductor.Text(0, 0x03, score.title);
    conductor.TimeSignature(0, 4, 2);
    conductor.Tempo(0, kMicrosecondsPerQuarter);
    conductor.EndOfTrack(end);

    SmfTrack& drums = ChannelTrack(midi, "Drums", kDrums, 0, 110, 64, 40);
    score.drums(drums);
    drums.EndOfTrack(end);
    SmfTrack& percussion = ChannelTrack(midi, "Percussion", kPercussion, 0, 80, 88, 40);
    Tambourine(percussion, 0, score.tambourineBars);
    percussion.EndOfTrack(end);
    SmfTrack& bass = ChannelTrack(midi, "Bass", kBass, 33, 105, 60, 20);
    Bass(bass, score.chords);
    bass.EndOfTrack(end);
    SmfTrack& piano = ChannelTrack(midi, "Piano", kPiano, 0, 92, 48, 50);
    Piano(piano, score.chords);
    piano.EndOfTrack(end);
    SmfTrack& pad = ChannelTrack(midi, "Strings", kPad, 48, 70, 80, 70);
    Pad(pad, score.chords);
    pad.EndOfTrack(end);
    return midi;
}

std::vector<ChordSpan> OneChordPerBar(std::initializer_list<Chord> chords) {
    std::vector<ChordSpan> spans;
    std::uint32_t start = 0;
    for (const Chord& chord : chords) {
        spans.push_back({chord, start, kBar});
        start += kBar;
    }
    return spans;
}

std::vector<PartScore> Scores() {
    return {
        {"intro.mid", "Vantrel Pop Intro", 4,
         [](SmfTrack& d) {
             Groove(d, 0, 15);
             Sixteenths(d, 15 * kQuarter, {kSnare, kSnare, kSnare, kSnare}, 70, 12);
         },
         4, OneChordPerBar({kC, kAm, kF, kG})},
        {"fill1.mid", "Vantrel Pop Fill 1", 1,
         [](SmfTrack& d) {
             Groove(d, 0, 3);
             Sixteenths(d, 3 * kQuarter, {kSnare, kSnare, kSnare, kSnare}, 72, 10);
         },
         1, OneChordPerBar({kC})},
        {"fill2.mid", "Vantrel Pop Fill 2", 1,
         [](SmfTrack& d) {
             Groove(d, 0, 2);
             Sixteenths(
                 d, 2 * kQuarter,
                 {kHighTom, kHighTom, kMidTom, kMidTom, kLowTom, kLowTom, kFloorTom, kFloorTom}, 84,
                 4);
         },
         1, OneChordPerBar({kC})},
        {"fill3.mid", "Vantrel Pop Fill 3", 1,
         [](SmfTrack& d) {
             d.Note(0, kDrums, kKick, 110, kSixteenth);
             for (std::uint32_t i = 0; i < 8; ++i) {
                 d.Note(i * kEighth, kDrums, kSnare, static_cast<std::uint8_t>(60 + 7 * i),
                        kSixteenth);
             }
         },
         1, OneChordPerBar({kC})},
        {"ending.mid",
         "Vantrel Pop Ending",
         2,
         [](SmfTrack& d) {
             Groove(d, 0, 4);
             d.Note(kBar, kDrums, kKick, 116, kEighth);
             d.Note(kBar, kDrums, kCrash, 110, 2 * kQuarter);
         },
         1,
         {{kF, 0, kBar / 2}, {kG, kBar / 2, kBar / 2}, {kC, kBar, kBar, true}}},
    };
}

}  // namespace

std::vector<ExamplePart> MakeExampleStyle() {
    std::vector<ExamplePart> parts;
    for (const PartScore& score : Scores()) {
        parts.push_back({score.fileName, Render(score)});
    }
    return parts;
}

}  // namespace vantrel::examples
