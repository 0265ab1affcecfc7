#pragma once
// The console summary of an exact envelope: per support and per span the
// design extremes, each with the spans whose variable load gives it and the
// permanent factor, and the distinct arrangements it names.
#include <string>
#include <vector>

#include "alternancias/exact_envelope.h"

namespace alternancias {

// Spans loaded (0-based) with the factors of the permanent and variable loads.
struct Arrangement {
  std::vector<int> spans;
  double permanentFactor = 1, variableFactor = 1;
  bool operator==(const Arrangement& o) const {
    return spans == o.spans && permanentFactor == o.permanentFactor && variableFactor == o.variableFactor;
  }
};

struct Summary {
  std::string text;                       // Windows-1252
  std::vector<Arrangement> arrangements;  // every one the text names, in order of first mention
};

// "1, 3, 6" (1-based) or "ninguno".
std::string spanList(const std::vector<int>& spans);

Summary summarize(const std::string& name, const projectfiles::Model& model, const std::vector<Span>& spans,
                  const ExactEnvelope& envelope);

}  // namespace alternancias
