#include "alternancias/patterns.h"

#include "common/run_error.h"
#include "common/support_code.h"

namespace alternancias {

using namespace common;

bool holdsDeflection(int code) { return SupportCode(code).holdsBeamUp(); }

std::vector<Span> spansOf(const projectfiles::Model& model, const std::string& datPath) {
  const int nb = model.header.nb;
  std::vector<bool> held(static_cast<size_t>(nb) + 2, false);  // per node index
  for (size_t k = 1; k < model.supports.size(); ++k)
    if (holdsDeflection(model.supports[k].code)) held[model.supports[k].index] = true;
  std::vector<int> supported;
  for (int node = 1; node <= nb + 1; ++node)
    if (held[node]) supported.push_back(node);
  if (supported.size() < 2)
    throw RunError(
        formatText("ERROR EN EL FICHERO %s: LA VIGA TIENE %d APOYO%s QUE LA SOSTENGA%s; LAS "
                   "ALTERNANCIAS PIDEN AL MENOS DOS\n",
                   datPath.c_str(), static_cast<int>(supported.size()), supported.size() == 1 ? "" : "S",
                   supported.size() == 1 ? "" : "N"));
  // Bar k joins nodes k and k + 1.
  std::vector<Span> spans;
  if (supported.front() > 1) spans.push_back({1, supported.front() - 1, true});
  for (size_t s = 0; s + 1 < supported.size(); ++s) spans.push_back({supported[s], supported[s + 1] - 1, false});
  if (supported.back() <= nb) spans.push_back({supported.back(), nb, true});
  return spans;
}

std::vector<int> spanOfBars(const std::vector<Span>& spans) {
  std::vector<int> span(static_cast<size_t>(spans.empty() ? 1 : spans.back().lastBar + 1), 0);
  for (size_t s = 0; s < spans.size(); ++s)
    for (int bar = spans[s].firstBar; bar <= spans[s].lastBar; ++bar) span[bar] = static_cast<int>(s);
  return span;
}

int spanOfLoad(const std::vector<Span>& spans, const std::vector<int>& spanOfBar, const calcest::LoadOnBar& load) {
  const int span = spanOfBar[load.bar];
  const bool pointAction = load.load.ltype == calcest::kPointForce || load.load.ltype == calcest::kPointMoment;
  const bool atSpanStart = load.bar == spans[span].firstBar && load.load.a < calcest::kSameAbscissa;
  return pointAction && atSpanStart && span > 0 ? span - 1 : span;
}

}  // namespace alternancias
