#include "patterns.h"

#include "run_error.h"
#include "support_code.h"

namespace alternancias {

bool holdsDeflection(int code) { return SupportCode(code).holdsBeamUp(); }

std::vector<Span> spansOf(const informe::Model& model, const std::string& datPath) {
  const int nb = model.header.nb;
  std::vector<bool> held(static_cast<size_t>(nb) + 2, false);  // per node index
  for (size_t k = 1; k < model.supports.size(); ++k)
    if (holdsDeflection(model.supports[k].code)) held[model.supports[k].index] = true;
  std::vector<int> supported;
  for (int node = 1; node <= nb + 1; ++node)
    if (held[node]) supported.push_back(node);
  if (supported.size() < 2)
    throw RunError(formatText("ERROR EN EL FICHERO %s: LA VIGA TIENE %d APOYO%s QUE LA SOSTENGA%s; LAS "
                              "ALTERNANCIAS PIDEN AL MENOS DOS\n",
                              datPath.c_str(), static_cast<int>(supported.size()),
                              supported.size() == 1 ? "" : "S", supported.size() == 1 ? "" : "N"));
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

std::vector<Pattern> loadPatterns(const std::vector<bool>& carries) {
  const size_t n = carries.size();
  std::vector<Pattern> patterns;
  // `kind` names the arrangement only when every span it means carries variable load.
  auto add = [&](auto meant, const std::string& kind) {
    std::vector<bool> loaded(n);
    bool asMeant = true;
    std::string list;
    int count = 0;
    for (size_t s = 0; s < n; ++s) {
      loaded[s] = carries[s] && meant(s + 1);
      if (meant(s + 1) && !carries[s]) asMeant = false;
      if (loaded[s]) list += (count++ ? ", " : "") + std::to_string(s + 1);
    }
    for (const Pattern& p : patterns)
      if (p.loaded == loaded) return;
    // When the spans meant carry no variable load, the permanent load alone is
    // what the arrangement leaves: kept, it may govern where loading other spans relieves.
    const std::string spans = count == 0 ? "ning\xFAn tramo" : (count == 1 ? "tramo " : "tramos ") + list;
    patterns.push_back({loaded, spans + (asMeant ? " (" + kind + ")" : "")});
  };
  add([](size_t) { return true; }, "todos");
  add([](size_t s) { return s % 2 == 1; }, "impares");
  add([](size_t s) { return s % 2 == 0; }, "pares");
  // The largest moment over a support comes from the two spans beside it and
  // every second span beyond them; beams of up to three spans load the pair alone.
  for (size_t s = 1; s < n; ++s)
    add(
        [s](size_t t) {
          if (t == s || t == s + 1) return true;
          return (t < s ? s - t : t - (s + 1)) % 2 == 0;
        },
        n > 3 ? "contiguos y alternos" : "contiguos");
  for (size_t s = 1; s <= n; ++s) add([s](size_t t) { return t == s; }, "solo");
  return patterns;
}

}  // namespace alternancias
