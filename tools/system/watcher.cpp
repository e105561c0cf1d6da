#include "tools/system/watcher.h"

#include <algorithm>

void ChangeBurst::noteChange(FileChange change, Clock::time_point now) {
    if (change == FileChange::None) return;
    if (!pending_) first_ = now;
    pending_ = true;
    settled_ = now + (change == FileChange::Whole ? kQuietAfterWhole : kQuietAfterPartial);
}

ChangeBurst::Clock::duration ChangeBurst::untilSettled(Clock::time_point now) const {
    const Clock::time_point settled = std::max(std::min(settled_, first_ + kLongest), actedOn_ + kLongest);
    return std::max(Clock::duration::zero(), settled - now);
}

void ChangeBurst::clear() {
    pending_ = false;
    actedOn_ = Clock::now();
}
