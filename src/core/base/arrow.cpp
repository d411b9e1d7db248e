#include "core/base/arrow.h"

namespace pairly::base {

std::string arrowText(Arrow arrow) {
    switch (arrow) {
        case Arrow::Up:
            return "↑";
        case Arrow::Down:
            return "↓";
        case Arrow::Same:
            break;
    }
    return "→";
}

Rgb arrowColour(Arrow arrow) {
    switch (arrow) {
        case Arrow::Up:
            return {255, 192, 192};
        case Arrow::Down:
            return {192, 255, 192};
        case Arrow::Same:
            break;
    }
    return {255, 255, 192};
}

}  // namespace pairly::base
