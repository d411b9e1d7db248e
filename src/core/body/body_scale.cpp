#include "core/body/body_scale.h"

#include <cmath>

namespace pairly::body {

BodyScale bodyScale(float heightCm) {
    BodyScale s;
    s.height = heightCm / 100.0f;
    s.heightSquared = s.height * s.height;
    s.standardWeight = 22.0f * s.heightSquared;
    s.usable = heightCm > 0 && std::isfinite(s.heightSquared) && s.heightSquared > 0 &&
               s.standardWeight > 0;
    return s;
}

}  // namespace pairly::body
