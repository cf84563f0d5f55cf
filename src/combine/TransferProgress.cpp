#include "combine/TransferProgress.h"

namespace vantrel {

void TransferProgress::Step() {
    if (position_ < range_)
        ++position_;
    if (Percent() >= 99)
        position_ = static_cast<int>(range_ * 0.98);
}

int TransferProgress::Percent() const {
    return static_cast<int>(static_cast<double>(position_) * 100.0 / range_);
}

}  // namespace vantrel
