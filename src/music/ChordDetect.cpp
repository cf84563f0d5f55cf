#include "music/ChordDetect.h"

#include <algorithm>
#include <array>
#include <cmath>

namespace vantrel::music {
namespace {

using Histogram = std::array<double, 12>;

int PitchClassOf(int value) {
    return ((value % 12) + 12) % 12;
}

// A window of the measure (the whole of it, or one half) and what sounds in it.
struct Window {
    std::uint32_t start = 0;
    std::uint32_t length = 0;
    std::uint32_t beat = 1;
};

// Onsets count more on the window's downbeat than on its other beats, and more on a beat than
// between beats; a note that began before the window counts by its length alone. A bass note
// after the downbeat is most often a walking or passing note: it counts half.
double OnsetWeight(const TimedNote& note, const Window& window) {
    double weight = 1.0;
    if (note.start >= window.start) {
        const std::uint32_t position = note.start - window.start;
        const std::uint32_t slack = std::max<std::uint32_t>(window.beat / 8, 1);
        if (position < slack)
            weight = 2.0;
        else if (position % window.beat < slack || window.beat - position % window.beat < slack)
            weight = 1.5;
        if (note.role == ChannelRole::Bass && position >= slack)
            weight *= 0.5;
    } else if (note.role == ChannelRole::Bass) {
        weight = 0.5;
    }
    return weight;
}

// What sounds in the window, weighted. `evidence` leaves out the bass after its downbeat, and
// all of a walking bass: a walking or passing note may be explained by a chord but is no proof
// of one. Those bass notes are also kept apart in `passing`, which a chord explains by its
// scale: a walking line steps through the scale, so its non-chord tones say nothing for a
// richer chord (the bass's A under G7 is no ninth) and nothing against a plain one.
struct Weights {
    Histogram all{};
    Histogram evidence{};
    Histogram passing{};
    double total = 0.0;
    double evidenceTotal = 0.0;
};

Weights Weigh(std::span<const TimedNote> notes, const Window& window, bool walking) {
    Weights weights;
    const std::uint32_t slack = std::max<std::uint32_t>(window.beat / 8, 1);
    const std::uint64_t windowEnd = std::uint64_t{window.start} + window.length;
    for (const TimedNote& note : notes) {
        if (note.role == ChannelRole::Drums)
            continue;
        const std::uint64_t end = std::uint64_t{note.start} + note.length;
        const std::uint64_t from = std::max<std::uint64_t>(note.start, window.start);
        const std::uint64_t to = std::min(end, windowEnd);
        if (to <= from)
            continue;
        const double weight =
            static_cast<double>(to - from) / window.beat * OnsetWeight(note, window);
        const auto pc = static_cast<std::size_t>(PitchClassOf(note.key));
        weights.all[pc] += weight;
        weights.total += weight;
        const bool passing =
            note.role == ChannelRole::Bass &&
            (walking || note.start < window.start || note.start - window.start >= slack);
        if (passing) {
            weights.passing[pc] += weight;
        } else {
            weights.evidence[pc] += weight;
            weights.evidenceTotal += weight;
        }
    }
    return weights;
}

// The lowest note of the bass sounding at the window's downbeat (any part's lowest when the
// measure has no bass), and whether it holds for half the window or more.
struct DownbeatBass {
    std::optional<PitchClass> pitchClass;
    bool held = false;
    bool walking = false;  // a walking bass starts a measure on any tone of its chord
};

DownbeatBass FindDownbeatBass(std::span<const TimedNote> notes, const Window& window,
                              bool walking) {
    const std::uint32_t slack = std::max<std::uint32_t>(window.beat / 8, 1);
    const bool hasBass = std::any_of(notes.begin(), notes.end(), [&](const TimedNote& note) {
        return note.role == ChannelRole::Bass;
    });
    const TimedNote* lowest = nullptr;
    for (const TimedNote& note : notes) {
        if (note.role == ChannelRole::Drums || (hasBass && note.role != ChannelRole::Bass))
            continue;
        const std::uint64_t end = std::uint64_t{note.start} + note.length;
        const bool sounds = note.start < std::uint64_t{window.start} + slack && end > window.start;
        if (sounds && (!lowest || note.key < lowest->key))
            lowest = &note;
    }
    if (!lowest)
        return {};
    const std::uint64_t end = std::uint64_t{lowest->start} + lowest->length;
    return {PitchClassOf(lowest->key), end >= std::uint64_t{window.start} + window.length / 2,
            walking};
}

std::array<bool, 12> TonesOf(const Chord& chord) {
    std::array<bool, 12> tones{};
    for (int interval : ChordIntervals(chord.quality))
        tones[static_cast<std::size_t>(PitchClassOf(chord.root + interval))] = true;
    return tones;
}

struct Candidate {
    Chord chord;
    double score = 0.0;
    double confidence = 0.0;
    bool clear = false;
};

std::array<bool, 12> ScaleOf(const Chord& chord) {
    std::array<bool, 12> scale{};
    for (int degree : ChordScale(chord.quality))
        scale[static_cast<std::size_t>(PitchClassOf(chord.root + degree))] = true;
    return scale;
}

Candidate Judge(const Chord& chord, const Weights& weights, const DownbeatBass& bass) {
    const std::array<bool, 12> tones = TonesOf(chord);
    const std::array<bool, 12> scale = ScaleOf(chord);
    const double total = weights.total;
    double explained = 0.0;
    int count = 0;
    for (std::size_t pc = 0; pc < 12; ++pc) {
        if (tones[pc]) {
            explained += weights.all[pc];
            ++count;
        } else if (scale[pc]) {
            explained += weights.passing[pc];
        }
    }
    // A tone that is a small share of what the chord parts and the downbeat bass play is a
    // touch, not a chord tone.
    auto present = [&](int interval) {
        const auto pc = static_cast<std::size_t>(PitchClassOf(chord.root + interval));
        return weights.evidence[pc] > 0.0 && weights.evidence[pc] >= 0.05 * weights.evidenceTotal;
    };
    int missing = 0;
    for (int interval : ChordIntervals(chord.quality))
        missing += present(interval) ? 0 : 1;
    // Fewer tones win a tie; so does a minor seventh over the sixth chord with the same tones
    // (Am7 and C6), and a half-diminished over the minor sixth (Am7b5 and Cm6), unless the bass
    // names the sixth chord's root.
    double simplicity = (count - 3) * 0.02;
    if (chord.quality == ChordQuality::Sixth || chord.quality == ChordQuality::Minor6)
        simplicity += 0.01;
    double score = explained - (total - explained) - missing * total / 4.0 - simplicity * total;
    if (bass.pitchClass == chord.root)
        score += (bass.walking ? 0.1 : 0.25) * total;
    else if (bass.pitchClass && tones[static_cast<std::size_t>(*bass.pitchClass)])
        score += 0.05 * total;

    Candidate candidate{chord, score, explained / total, false};
    // A chord is clear when its root and third (or suspension) sound, and the fifth too where it
    // is what tells the chord apart (diminished, augmented).
    const int third = *RoleInterval(chord.quality, ChordRole::Third);
    const int fifth = *RoleInterval(chord.quality, ChordRole::Fifth);
    candidate.clear = present(0) && present(third) && (fifth == 7 || present(fifth)) &&
                      candidate.confidence >= 0.6;
    if (candidate.clear && bass.held && bass.pitchClass && *bass.pitchClass != chord.root &&
        tones[static_cast<std::size_t>(*bass.pitchClass)]) {
        candidate.chord.bass = bass.pitchClass;
    }
    return candidate;
}

// How many of the neighbouring chords this root moves to or from by a falling fifth (G7 to C,
// Am7 to Dm7), the commonest step of a chord progression.
int FallingFifths(PitchClass root, const NeighbourChords& neighbours) {
    int count = 0;
    if (neighbours.previous && PitchClassOf(root - neighbours.previous->root) == 5)
        ++count;
    if (neighbours.next && PitchClassOf(neighbours.next->root - root) == 5)
        ++count;
    return count;
}

// The best chord of a window, or nothing when the window is silent. Chords with the same tones
// (Am7 and C6, Cm6 and Am7b5, F6 and Dm7) whose scores are close are the same sound named from
// two roots; where only a root on the bass's downbeat tells them apart, and a walking bass
// makes that weak, the reading that moves by a falling fifth to or from its neighbours wins.
std::optional<Candidate> BestChord(std::span<const TimedNote> notes, const Window& window,
                                   bool walking, const NeighbourChords& neighbours) {
    const Weights weights = Weigh(notes, window, walking);
    if (weights.total <= 0.0)
        return std::nullopt;
    const DownbeatBass bass = FindDownbeatBass(notes, window, walking);
    std::vector<Candidate> candidates;
    std::optional<Candidate> best;
    for (PitchClass root = 0; root < 12; ++root) {
        for (ChordQuality quality : kAllChordQualities) {
            candidates.push_back(Judge({root, quality, std::nullopt}, weights, bass));
            if (!best || candidates.back().score > best->score + 1e-9)
                best = candidates.back();
        }
    }
    // Closer than the weight of a held bass on the root, which names its chord outright.
    const double closeScore = 0.1 * weights.total;
    const std::array<bool, 12> bestTones = TonesOf(best->chord);
    int bestFifths = FallingFifths(best->chord.root, neighbours);
    for (const Candidate& candidate : candidates) {
        if (candidate.score < best->score - closeScore || !candidate.clear ||
            TonesOf(candidate.chord) != bestTones)
            continue;
        const int fifths = FallingFifths(candidate.chord.root, neighbours);
        if (fifths > bestFifths) {
            best = candidate;
            bestFifths = fifths;
        }
    }
    return best;
}

// One chord with a tone added (C, C7), or the same tones named from two roots (C6, Am7): halves
// of a measure that sound so are not two chords.
bool SameHarmony(const Chord& a, const Chord& b) {
    const std::array<bool, 12> first = TonesOf(a);
    const std::array<bool, 12> second = TonesOf(b);
    if (first == second)
        return true;
    if (a.root != b.root)
        return false;
    bool firstInSecond = true;
    bool secondInFirst = true;
    for (std::size_t pc = 0; pc < 12; ++pc) {
        firstInSecond = firstInSecond && (!first[pc] || second[pc]);
        secondInFirst = secondInFirst && (!second[pc] || first[pc]);
    }
    return firstInSecond || secondInFirst;
}

// Krumhansl and Kessler's probe-tone ratings of the twelve degrees in major and minor keys.
constexpr std::array<double, 12> kMajorProfile{6.35, 2.23, 3.48, 2.33, 4.38, 4.09,
                                               2.52, 5.19, 2.39, 3.66, 2.29, 2.88};
constexpr std::array<double, 12> kMinorProfile{6.33, 2.68, 3.52, 5.38, 2.60, 3.53,
                                               2.54, 4.75, 3.98, 2.69, 3.34, 3.17};

double Correlation(const Histogram& weights, const std::array<double, 12>& profile, int tonic) {
    double meanWeight = 0.0;
    double meanProfile = 0.0;
    for (std::size_t i = 0; i < 12; ++i) {
        meanWeight += weights[i] / 12.0;
        meanProfile += profile[i] / 12.0;
    }
    double products = 0.0;
    double weightSquares = 0.0;
    double profileSquares = 0.0;
    for (int pc = 0; pc < 12; ++pc) {
        const double w = weights[static_cast<std::size_t>(pc)] - meanWeight;
        const double p = profile[static_cast<std::size_t>(PitchClassOf(pc - tonic))] - meanProfile;
        products += w * p;
        weightSquares += w * w;
        profileSquares += p * p;
    }
    if (weightSquares <= 0.0 || profileSquares <= 0.0)
        return 0.0;
    return products / std::sqrt(weightSquares * profileSquares);
}

}  // namespace

int BassPitchClasses(std::span<const TimedNote> notes, const MeasureSpan& measure) {
    std::array<bool, 12> started{};
    int count = 0;
    for (const TimedNote& note : notes) {
        if (note.role != ChannelRole::Bass || note.start < measure.start ||
            note.start - measure.start >= measure.length)
            continue;
        auto& seen = started[static_cast<std::size_t>(PitchClassOf(note.key))];
        count += seen ? 0 : 1;
        seen = true;
    }
    return count;
}

MeasureChord DetectMeasureChord(std::span<const TimedNote> notes, const MeasureSpan& measure,
                                const NeighbourChords& neighbours) {
    MeasureChord result;
    if (measure.length == 0)
        return result;
    const std::uint32_t beat = measure.beatLength > 0 ? measure.beatLength : measure.length;
    const Window whole{measure.start, measure.length, beat};
    // A bass that starts three or more different pitch classes in the measure walks.
    const bool walking = BassPitchClasses(notes, measure) >= 3;
    const std::optional<Candidate> best = BestChord(notes, whole, walking, neighbours);
    if (!best)
        return result;
    result.confidence = best->confidence;
    if (best->clear)
        result.chord = best->chord;

    // Two chords: each half of a measure of two beats or more holds a clear chord of its own.
    const std::uint32_t beats = measure.length / beat;
    if (beats >= 2) {
        const std::uint32_t firstLength = (beats + 1) / 2 * beat;
        const Window first{measure.start, firstLength, beat};
        const Window second{measure.start + firstLength, measure.length - firstLength, beat};
        const std::optional<Candidate> a = BestChord(notes, first, walking, {});
        const std::optional<Candidate> b = BestChord(notes, second, walking, {});
        if (a && b && a->clear && b->clear && !SameHarmony(a->chord, b->chord) &&
            std::min(a->confidence, b->confidence) > best->confidence) {
            result.chord = a->chord;
            result.secondChord = b->chord;
            result.twoChords = true;
            result.confidence = std::min(a->confidence, b->confidence);
        }
    }
    return result;
}

std::vector<MeasureChord> DetectMeasureChords(std::span<const TimedNote> notes,
                                              std::span<const MeasureSpan> measures) {
    // Each measure is read twice, so each gets only the notes that sound in it, found once:
    // a long song is read in time proportional to its notes, not to notes times measures.
    std::vector<std::vector<TimedNote>> sounding(measures.size());
    for (const TimedNote& note : notes) {
        const std::uint64_t end = std::uint64_t{note.start} + note.length;
        auto first = std::upper_bound(
            measures.begin(), measures.end(), note.start,
            [](std::uint32_t start, const MeasureSpan& measure) { return start < measure.start; });
        if (first != measures.begin())
            --first;
        for (auto m = first; m != measures.end() && m->start < end; ++m) {
            if (end > m->start && note.start < std::uint64_t{m->start} + m->length)
                sounding[static_cast<std::size_t>(m - measures.begin())].push_back(note);
        }
    }
    std::vector<MeasureChord> alone;
    alone.reserve(measures.size());
    for (std::size_t m = 0; m < measures.size(); ++m)
        alone.push_back(DetectMeasureChord(sounding[m], measures[m]));
    std::vector<MeasureChord> chords;
    chords.reserve(measures.size());
    for (std::size_t m = 0; m < measures.size(); ++m) {
        NeighbourChords neighbours;
        if (m > 0)
            neighbours.previous =
                alone[m - 1].twoChords ? alone[m - 1].secondChord : alone[m - 1].chord;
        if (m + 1 < measures.size())
            neighbours.next = alone[m + 1].chord;
        chords.push_back(neighbours.previous || neighbours.next
                             ? DetectMeasureChord(sounding[m], measures[m], neighbours)
                             : alone[m]);
    }
    return chords;
}

KeyEstimate DetectKey(std::span<const TimedNote> notes) {
    Histogram weights{};
    for (const TimedNote& note : notes) {
        if (note.role != ChannelRole::Drums)
            weights[static_cast<std::size_t>(PitchClassOf(note.key))] += note.length;
    }
    KeyEstimate best;
    double bestCorrelation = -2.0;
    for (int tonic = 0; tonic < 12; ++tonic) {
        for (bool minor : {false, true}) {
            const double r = Correlation(weights, minor ? kMinorProfile : kMajorProfile, tonic);
            if (r > bestCorrelation + 1e-12) {
                bestCorrelation = r;
                best = {tonic, minor, std::clamp(r, 0.0, 1.0)};
            }
        }
    }
    return best;
}

}  // namespace vantrel::music
