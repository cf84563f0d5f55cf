#include "keyboard/KeyboardLine.h"

#include <algorithm>

namespace vantrel {

KeyboardLine::Clock::duration KeyboardLine::Carry(std::size_t bytes) const {
    if (!paced_)
        return Clock::duration::zero();
    const std::chrono::nanoseconds time{static_cast<long long>(bytes) * 1'000'000'000LL /
                                        kDinBytesPerSecond};
    return std::chrono::duration_cast<Clock::duration>(time);
}

KeyboardLine::Clock::time_point KeyboardLine::Received(Clock::time_point now, std::size_t bytes) {
    inFree_ = std::max(now, inFree_) + Carry(bytes);
    return inFree_;
}

KeyboardLine::Clock::time_point KeyboardLine::Sent(Clock::time_point ready, std::size_t bytes) {
    outFree_ = std::max(ready, outFree_) + Carry(bytes);
    return outFree_;
}

}  // namespace vantrel
