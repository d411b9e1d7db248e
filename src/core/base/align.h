#pragma once
// How a column's data sits in its cells (headers are always centred).

namespace pairly::base {

enum class Align { Left, Centre, Right };

}  // namespace pairly::base
