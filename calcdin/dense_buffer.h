#pragma once
// Zero-filled storage of doubles for the dense working matrices.
#include <vector>

namespace calcdin {

using DenseBuffer = std::vector<double>;

}  // namespace calcdin
