#include "play/Performance.h"

#include <algorithm>

#include "music/ChordFollow.h"

namespace vantrel::play {

namespace {

// At one tick: channel settings first, then releases, then other messages, then new notes, so
// a note struck where another of its key ends is not cut by that release.
enum Rank : int { kSetting = 0, kRelease = 1, kOther = 2, kStrike = 3 };

struct RankedMessage {
    TimedMessage message;
    int rank = kOther;
};

TimedMessage Message(std::uint32_t tick, std::uint8_t status, std::uint8_t data1,
                     std::uint8_t data2, std::uint8_t size = 3) {
    TimedMessage message;
    message.tick = tick;
    message.bytes = {status, data1, data2};
    message.size = size;
    return message;
}

// Bank, program, volume, pan and reverb of every channel that plays, as the control list sets
// them up on the keyboard.
void AddChannelSettings(const PlayPart& part, std::uint32_t tick, std::vector<RankedMessage>& out) {
    for (const PatternChannel& channel : part.pattern.channels) {
        const int slot = PatternSlotOfChannel(channel.channel);
        if (slot < 0)
            continue;
        const ChannelBlock& block = part.entry.header.blocks[static_cast<std::size_t>(slot)];
        const auto cc = static_cast<std::uint8_t>(0xB0 | (channel.channel - 1));
        const auto pc = static_cast<std::uint8_t>(0xC0 | (channel.channel - 1));
        out.push_back({Message(tick, cc, 0, block.bankMsb & 0x7F), kSetting});
        out.push_back({Message(tick, cc, 32, block.bankLsb & 0x7F), kSetting});
        out.push_back({Message(tick, pc, block.program & 0x7F, 0, 2), kSetting});
        out.push_back({Message(tick, cc, 7, block.volume & 0x7F), kSetting});
        out.push_back({Message(tick, cc, 10, PanControllerValue(block.pan)), kSetting});
        out.push_back({Message(tick, cc, 91, block.reverb & 0x7F), kSetting});
    }
}

// Where a written note sounds in one measure of the performance.
struct MeasureMove {
    const music::Chord* chord;
    bool wholeKey;  // Intro and Ending: moved as a whole into the first chord's key
};

int MovedKey(int key, int channel, const MeasureMove& move) {
    const music::ChannelRole role = music::RoleOfChannel(channel);
    const int moved = move.wholeKey ? music::MoveWithKey(key, role, *move.chord)
                                    : music::FollowChord(key, role, *move.chord);
    return std::clamp(moved, 0, 127);
}

// One pattern measure's events placed at `at`, moved onto the measure's chord. Notes take their
// length from the pattern data's note length field (the recorded releases are left out), so each
// release finds the key its note was moved to; a note is cut at `segmentEnd`.
void AddPatternMeasure(const PlayPart& part, std::uint32_t patternStart,
                       std::uint32_t measureLength, std::uint32_t at, std::uint32_t segmentEnd,
                       const MeasureMove& move, std::vector<RankedMessage>& out) {
    const std::uint32_t patternEnd = patternStart + measureLength;
    for (const PatternChannel& channel : part.pattern.channels) {
        for (const PatternEvent& event : channel.events) {
            if (event.time < patternStart || event.time >= patternEnd || event.status >= 0xF0)
                continue;
            const std::uint32_t tick = at + (event.time - patternStart);
            const std::uint8_t kind = event.status & 0xF0;
            if (kind == 0x80 || (kind == 0x90 && event.data2 == 0))
                continue;
            if (kind == 0x90) {
                const auto key =
                    static_cast<std::uint8_t>(MovedKey(event.data1, channel.channel, move));
                const std::uint32_t off = std::min<std::uint64_t>(
                    static_cast<std::uint64_t>(tick) + event.noteLength, segmentEnd);
                out.push_back({Message(tick, event.status, key, event.data2), kStrike});
                out.push_back({Message(off, static_cast<std::uint8_t>(0x80 | (event.status & 0x0F)),
                                       key, 0x40),
                               kRelease});
            } else if (kind == 0xC0 || kind == 0xD0) {
                out.push_back({Message(tick, event.status, event.data1, 0, 2), kOther});
            } else {
                out.push_back({Message(tick, event.status, event.data1, event.data2), kOther});
            }
        }
    }
}

music::ChordChart ChartOrSourceChord(const music::ChordChart& chart) {
    if (!chart.measures.empty())
        return chart;
    return music::ChordChart{{music::kSourceChord}};
}

class Builder {
  public:
    Builder(const music::ChordChart& chart, const PerformanceOptions& options)
        : chart_(ChartOrSourceChord(chart)), options_(options) {
        performance_.chart = chart_;
    }

    void AddPart(const PlayPart& part) {
        const PatternHeader& header = part.entry.header;
        const std::uint32_t measureLength = MeasureTicks(header.timeSignature);
        const std::uint32_t patternMeasures = std::max<std::uint32_t>(header.measures, 1);
        const double bpm = options_.bpm.value_or(header.tempo != 0 ? header.tempo : 120.0);
        const bool once = part.kind != PartKind::Fill;
        const std::size_t chartLength = chart_.measures.size();
        const std::uint32_t perLoop =
            once
                ? patternMeasures
                : std::max<std::uint32_t>(patternMeasures, static_cast<std::uint32_t>(chartLength));
        const std::uint32_t total =
            once ? perLoop : perLoop * static_cast<std::uint32_t>(std::max(options_.loops, 1));
        const std::uint32_t segmentStart = tick_;
        const std::uint32_t segmentEnd = segmentStart + total * measureLength;
        AddChannelSettings(part, segmentStart, messages_);
        for (std::uint32_t k = 0; k < total; ++k) {
            const std::uint32_t inLoop = k % perLoop;
            const std::size_t chartIndex = once ? 0 : inLoop % chartLength;
            const std::uint32_t patternMeasure = inLoop % patternMeasures;
            const music::Chord& chord = chart_.measures[chartIndex];
            AddPatternMeasure(part, patternMeasure * measureLength, measureLength, tick_,
                              segmentEnd, {&chord, once}, messages_);
            PlayedMeasure measure;
            measure.startTick = tick_;
            measure.lengthTicks = measureLength;
            measure.chord = chord;
            measure.chartIndex = chartIndex;
            measure.part = part.name;
            measure.partMeasure = patternMeasure;
            measure.timeSignature = header.timeSignature;
            measure.bpm = bpm;
            measure.startSeconds = seconds_;
            performance_.measures.push_back(std::move(measure));
            seconds_ += measureLength * 60.0 / (bpm * kPerformanceTicksPerQuarter);
            tick_ += measureLength;
        }
    }

    Performance Finish() {
        std::stable_sort(
            messages_.begin(), messages_.end(), [](const RankedMessage& a, const RankedMessage& b) {
                return a.message.tick != b.message.tick ? a.message.tick < b.message.tick
                                                        : a.rank < b.rank;
            });
        KeepNotesWhole();
        performance_.endTick = tick_;
        return std::move(performance_);
    }

  private:
    // Two written notes can land on one key (a seventh over a plain triad goes to a chord tone
    // already played). The key is struck for each, but released only when the last of them
    // ends, so the longer note is not cut short.
    void KeepNotesWhole() {
        std::array<std::array<int, 128>, 16> held{};
        performance_.events.reserve(messages_.size());
        for (const RankedMessage& ranked : messages_) {
            const TimedMessage& message = ranked.message;
            if (message.IsNoteOn() || message.IsNoteOff()) {
                int& count = held[message.bytes[0] & 0x0F][message.bytes[1] & 0x7F];
                if (message.IsNoteOn()) {
                    ++count;
                } else if (--count > 0) {
                    continue;
                }
            }
            performance_.events.push_back(message);
        }
    }

    music::ChordChart chart_;
    PerformanceOptions options_;
    Performance performance_;
    std::vector<RankedMessage> messages_;
    std::uint32_t tick_ = 0;
    double seconds_ = 0.0;
};

}  // namespace

std::uint32_t MeasureTicks(std::uint8_t timeSignature) {
    const std::uint32_t numerator = std::max(timeSignature & 0x0F, 1);
    const std::uint32_t denominatorPower = std::min(timeSignature >> 4, 6);
    return numerator * kPerformanceTicksPerQuarter * 4 / (1u << denominatorPower);
}

std::uint8_t PanControllerValue(std::uint8_t level) {
    return level >= 16 ? 127 : static_cast<std::uint8_t>(level * 8);
}

std::size_t Performance::MeasureAt(std::uint32_t tick) const {
    const auto after = std::upper_bound(measures.begin(), measures.end(), tick,
                                        [](std::uint32_t value, const PlayedMeasure& measure) {
                                            return value < measure.startTick;
                                        });
    if (after == measures.begin() || tick >= endTick)
        return measures.size();
    return static_cast<std::size_t>(after - measures.begin()) - 1;
}

double Performance::SecondsAt(std::uint32_t tick) const {
    if (measures.empty())
        return tick * 60.0 / (120.0 * kPerformanceTicksPerQuarter);
    auto after = std::upper_bound(measures.begin(), measures.end(), tick,
                                  [](std::uint32_t value, const PlayedMeasure& measure) {
                                      return value < measure.startTick;
                                  });
    const PlayedMeasure& measure = after == measures.begin() ? measures.front() : *(after - 1);
    const double ticks = static_cast<double>(tick) - measure.startTick;
    return measure.startSeconds + ticks * 60.0 / (measure.bpm * kPerformanceTicksPerQuarter);
}

Performance BuildPerformance(std::span<const PlayPart> parts, const music::ChordChart& chart,
                             const PerformanceOptions& options) {
    Builder builder(chart, options);
    for (const PlayPart& part : parts)
        builder.AddPart(part);
    return builder.Finish();
}

const char* PartKindName(PartKind kind) {
    switch (kind) {
        case PartKind::Intro:
            return "intro";
        case PartKind::Ending:
            return "ending";
        case PartKind::Fill:
            break;
    }
    return "fill";
}

}  // namespace vantrel::play
