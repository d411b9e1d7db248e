#pragma once
// Reordering the situation list by dragging one entry within lstKoumoku.
#include <string>
#include <vector>

namespace pairly::entry {

// moveSituationByDrag: the entry pressed at `pressIndex` is placed directly before the
// entry on which the button was released (`releaseIndex`). Releasing on the entry itself
// or on the one right after it changes nothing; so do indices outside the list.
// Returns true when the order changed (cmdSort then turns light orange).
// A, B, C, D: drag A onto C -> B, A, C, D; D onto B -> A, D, B, C; A onto B -> unchanged.
bool moveSituationByDrag(std::vector<std::string>& items, int pressIndex, int releaseIndex);

}  // namespace pairly::entry
