#pragma once
// A section by its dimensions: a b × h rectangle, or a T (a flange bf wide
// and hf deep on a web b wide, h deep overall), whose area and inertia follow
// from them; any other shape keeps the area and inertia typed. The model file
// holds A, I, b and h only: the shape is read back from them.
#include <string>

#include "common/model.h"

namespace vigas {

struct SectionShape {
  enum class Kind { rectangle, tee, other };
  Kind kind = Kind::other;
  double flangeWidth = 0, flangeDepth = 0;  // a T's
};

// What the values make: a rectangle or a T when A and I are theirs (to a
// part in 1e9), else another shape.
SectionShape shapeOf(const common::Section& section);

// A and I of the b × h rectangle, of the T, with b and h (and every value
// in the few digits a person writes).
void makeRectangle(common::Section& section, double b, double h);
void makeTee(common::Section& section, double b, double h, double flangeWidth, double flangeDepth);

// When b and h are given and A or I differs from the rectangle's by more
// than 1 % (a section of another shape, or a value typed over): the reason,
// naming the values typed and those of b × h; "" otherwise.
std::string shapeNotice(const common::Section& section);

}  // namespace vigas
