#include "fit/MeasureMap.h"

#include <algorithm>

namespace vantrel {

namespace {

constexpr std::uint64_t kLatestTick = 0x0FFFFFFF;

}  // namespace

MeasureMap::MeasureMap(const Song& song) {
    const std::uint32_t quarter = song.division;
    signatures_.push_back({0, 1, quarter * 4, 4, 2});
    if (song.tracks.empty())
        return;
    for (const SongEvent& event : song.tracks[0].events) {
        if (!event.IsMeta(0x58) || event.data.size() != 5)
            continue;
        const std::uint8_t numerator = event.data[1];
        const std::uint8_t power = event.data[2];
        const std::uint32_t ticks =
            std::max<std::uint32_t>((quarter * 4 * numerator) >> std::min(power & 0x0F, 15), 1);
        Signature& last = signatures_.back();
        if (numerator == last.numerator && power == last.denominatorPower)
            continue;
        if (event.time == last.tick) {
            last.measureTicks = ticks;
            last.numerator = numerator;
            last.denominatorPower = power;
            continue;
        }
        const std::uint32_t passed = event.time - last.tick;
        // A change in the middle of a measure ends that measure early.
        const std::uint32_t measures = (passed + last.measureTicks - 1) / last.measureTicks;
        signatures_.push_back({event.time, last.firstMeasure + measures, ticks, numerator, power});
    }
}

std::uint32_t MeasureMap::StartOf(std::uint32_t measure) const {
    const auto in = std::find_if(signatures_.rbegin(), signatures_.rend(),
                                 [&](const auto& s) { return s.firstMeasure <= measure; });
    const Signature& signature = in == signatures_.rend() ? signatures_.front() : *in;
    const std::uint64_t tick =
        signature.tick +
        std::uint64_t{measure - std::min(measure, signature.firstMeasure)} * signature.measureTicks;
    return static_cast<std::uint32_t>(std::min(tick, kLatestTick));
}

const MeasureMap::Signature& MeasureMap::SignatureAt(std::uint32_t tick) const {
    const auto in = std::find_if(signatures_.rbegin(), signatures_.rend(),
                                 [&](const auto& s) { return s.tick <= tick; });
    return in == signatures_.rend() ? signatures_.front() : *in;
}

std::uint32_t MeasureMap::MeasureAt(std::uint32_t tick) const {
    const Signature& signature = SignatureAt(tick);
    return signature.firstMeasure + (tick - signature.tick) / signature.measureTicks;
}

std::optional<std::uint32_t> MeasureMap::ChangeInside(std::uint32_t from, std::uint32_t to) const {
    for (const Signature& signature : signatures_) {
        if (signature.firstMeasure > from && signature.firstMeasure <= to)
            return signature.firstMeasure;
    }
    return std::nullopt;
}

}  // namespace vantrel
