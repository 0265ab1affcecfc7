#pragma once
// Sizes the programs agree on through their files.

// Bars of one beam: the diagram file's point grid holds 20 points per bar plus
// the first, and the envelope viewer sizes its tables from the same count.
constexpr int kMaxBars = 250;
