#include "core/entry/situation_order.h"

namespace pairly::entry {

bool moveSituationByDrag(std::vector<std::string>& items, int pressIndex, int releaseIndex) {
    const int count = static_cast<int>(items.size());
    if (pressIndex < 0 || pressIndex >= count || releaseIndex < 0 || releaseIndex >= count)
        return false;
    // Before itself or before its own successor: already there.
    if (releaseIndex == pressIndex || releaseIndex == pressIndex + 1) return false;
    std::string moved = std::move(items[static_cast<std::size_t>(pressIndex)]);
    items.erase(items.begin() + pressIndex);
    // After the removal the release target moved up by one when it lay below the entry.
    const int target = pressIndex < releaseIndex ? releaseIndex - 1 : releaseIndex;
    items.insert(items.begin() + target, std::move(moved));
    return true;
}

}  // namespace pairly::entry
