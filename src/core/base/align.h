#pragma once
// How a column's data sits in its cells (headers are always centred).

namespace pairly {

enum class Align { Left, Centre, Right };

}  // namespace pairly
