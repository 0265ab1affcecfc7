#pragma once
// Sizes the programs agree on through their files.
#include <cstddef>

namespace common {

// Bars of one beam: the diagram file's point grid holds 20 points per bar plus
// the first, and the envelope viewer sizes its tables from the same count.
constexpr int kMaxBars = 250;

// Characters of a model file name calcest takes: its side files' names are
// built from it.
constexpr size_t kMaxModelNameLength = 51;

}  // namespace common
