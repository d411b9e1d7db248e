#pragma once
// A colour as the program's RGB triple; the widgets turn it into their own kind.

namespace pairly::base {

struct Rgb {
    int r = 0;
    int g = 0;
    int b = 0;
    bool operator==(const Rgb&) const = default;
};

}  // namespace pairly::base
