#include "alternancias/summary.h"

#include <algorithm>
#include <cmath>

#include "alternancias/force_table.h"
#include "common/run_error.h"

namespace alternancias {

using namespace common;

namespace {

constexpr size_t kColumns = 100;  // a terminal's width the summary keeps to

// As printed with four decimals, without "-0.0000".
double shown(double v) { return std::fabs(v) < 0.00005 ? 0.0 : v; }

double pointX(const projectfiles::Model& model, size_t p) {
  const size_t bar = std::max<size_t>(1, (p + kGridIntervals - 1) / kGridIntervals);
  return model.nodes[bar].x + model.bars[bar].xs[p - kGridIntervals * (bar - 1)];
}

struct PointSide {
  int quantity;
  size_t point;
};

// The extreme over some points and sides; the first found on a tie.
Governing extremeOver(const ExactEnvelope& env, const std::vector<PointSide>& where, bool largest, size_t& at) {
  Governing best;
  bool found = false;
  for (const PointSide& w : where) {
    const Governing g = largest ? env.largest(w.quantity, w.point) : env.smallest(w.quantity, w.point);
    if (!found || (largest ? g.value > best.value : g.value < best.value)) {
      best = g;
      at = w.point;
      found = true;
    }
  }
  return best;
}

// The value of larger size of the two extremes, and what gives it.
Governing largerSize(const ExactEnvelope& env, int quantity, size_t i) {
  const Governing hi = env.largest(quantity, i), lo = env.smallest(quantity, i);
  return std::fabs(lo.value) > std::fabs(hi.value) ? lo : hi;
}

class SummaryWriter {
 public:
  SummaryWriter(const projectfiles::Model& model, const ExactEnvelope& env, Summary& out)
      : model_(model),
        env_(env),
        out_(out),
        units_(projectfiles::unitLabels(model.header.unitCode)),
        last_(static_cast<size_t>(kGridIntervals) * model.header.nb) {}

  void heading(const std::string& name, size_t spanCount);
  void supports();
  void spans(const std::vector<Span>& spans);

 private:
  void columns(bool withX) {
    out_.text += formatText("    %-24s %11s %-11s %-6s %-14s %s\n", "", "valor", withX ? "x" : "", "perm.",
                            withX ? "L/flecha" : "", "tramos con variable");
  }
  void row(const char* label, const Governing& g, bool characteristic, const std::string& where,
           const std::string& note);
  void span(size_t number, const Span& span);

  const projectfiles::Model& model_;
  const ExactEnvelope& env_;
  Summary& out_;
  projectfiles::UnitLabels units_;
  size_t last_;
};

void SummaryWriter::heading(const std::string& name, size_t spanCount) {
  const Factors& f = env_.factors();
  out_.text += formatText(
      "Envolvente exacta %s: %d tramos, %d an\xE1lisis (las permanentes, y la variable de cada "
      "tramo sola)\n",
      name.c_str(), static_cast<int>(spanCount), static_cast<int>(spanCount) + 1);
  const std::string permanent =
      f.gGinf == f.gG ? formatText("x%g", f.gG) : formatText("x%g o x%g (la peor)", f.gG, f.gGinf);
  out_.text += formatText("Esfuerzos: permanentes %s en toda la viga, variables x%g en los tramos cargados\n",
                          permanent.c_str(), f.gQ);
  out_.text +=
      "Flechas: combinaci\xF3n caracter\xEDstica, permanentes y variables x1; flecha el\xE1stica, secci\xF3n "
      "bruta\n  (sin fluencia ni fisuraci\xF3n: en hormig\xF3n armado la flecha a largo plazo es mayor)\n";
}

void SummaryWriter::row(const char* label, const Governing& g, bool characteristic, const std::string& where,
                        const std::string& note) {
  const Arrangement arrangement{g.spans, g.permanentFactor, characteristic ? 1.0 : env_.factors().gQ};
  if (std::find(out_.arrangements.begin(), out_.arrangements.end(), arrangement) == out_.arrangements.end())
    out_.arrangements.push_back(arrangement);
  std::string line = formatText("    %-24s %11.4f %-11s %-6s %-14s ", label, shown(g.value), where.c_str(),
                                formatText("x%g", g.permanentFactor).c_str(), note.c_str());
  // A long list of spans goes on under its column.
  const size_t indent = line.size();
  std::string list = spanList(g.spans), pending;
  size_t column = indent;
  for (size_t start = 0; start < list.size();) {
    size_t end = list.find(", ", start);
    end = end == std::string::npos ? list.size() : end + 2;
    const std::string word = list.substr(start, end - start);
    const size_t printed = word.size() - (word.back() == ' ' ? 1 : 0);  // a line ends without its space
    if (column + printed > kColumns && column > indent) {
      line += "\n" + std::string(indent, ' ');
      column = indent;
    }
    line += word;
    column += word.size();
    start = end;
  }
  while (!line.empty() && line.back() == ' ') line.pop_back();
  out_.text += line + "\n";
}

void SummaryWriter::supports() {
  out_.text += formatText("\nApoyos que sostienen la viga: momentos en %s, reacciones y cortantes en %s, x en %s\n",
                          units_.moment.c_str(), units_.force.c_str(), units_.length.c_str());
  columns(false);
  for (size_t k = 1; k < model_.supports.size(); ++k) {
    const Support& support = model_.supports[k];
    if (!holdsDeflection(support.code)) continue;
    const size_t p = static_cast<size_t>(kGridIntervals) * (support.index - 1);
    out_.text += formatText("  Apoyo %d: nodo %d, x = %.4f\n", static_cast<int>(k), model_.nodes[support.index].label,
                            model_.nodes[support.index].x);
    std::vector<PointSide> sides;
    if (p > 0) sides.push_back({kMomentLeft, p});
    if (p < last_) sides.push_back({kMomentRight, p});
    size_t at = 0;
    row("momento m\xE1s negativo", extremeOver(env_, sides, false, at), false, "", "");
    row("momento m\xE1s positivo", extremeOver(env_, sides, true, at), false, "", "");
    row("reacci\xF3n m\xE1xima", env_.largest(kReaction, k), false, "", "");
    const Governing least = env_.smallest(kReaction, k);
    row("reacci\xF3n m\xEDnima", least, false, "", shown(least.value) < 0 ? "LEVANTAMIENTO" : "");
    if (p > 0) row("cortante a la izquierda", largerSize(env_, kShearLeft, p), false, "", "");
    if (p < last_) row("cortante a la derecha", largerSize(env_, kShearRight, p), false, "", "");
  }
}

void SummaryWriter::span(size_t number, const Span& span) {
  const size_t first = static_cast<size_t>(kGridIntervals) * (span.firstBar - 1);
  const size_t last = static_cast<size_t>(kGridIntervals) * span.lastBar;
  const double length = pointX(model_, last) - pointX(model_, first);
  const std::string bars = span.firstBar == span.lastBar ? formatText("barra %d", model_.bars[span.firstBar].label)
                                                         : formatText("barras %d-%d", model_.bars[span.firstBar].label,
                                                                      model_.bars[span.lastBar].label);
  out_.text += formatText("  Tramo %d: %s, x = %.4f a %.4f, luz %.4f%s\n", static_cast<int>(number), bars.c_str(),
                          pointX(model_, first), pointX(model_, last), length, span.overhang ? " (voladizo)" : "");
  // The true extremes of the span's curves, both sides of its end points inside.
  using Curve = ExactEnvelope::Curve;
  auto where = [](const ExactEnvelope::Peak& p) { return formatText("x %.4f", p.x); };
  ExactEnvelope::Peak p = env_.peak(Curve::moment, span, true);
  row("momento m\xE1ximo", p.governing, false, where(p), "");
  p = env_.peak(Curve::moment, span, false);
  row("momento m\xEDnimo", p.governing, false, where(p), "");
  // The ratio span / deflection, rounded down; none for no deflection that way.
  const double scale = unitConstantsFor(model_.header.unitCode).scale;
  auto ratio = [&](double deflection, bool downward) {
    const bool thatWay = downward ? shown(deflection) < 0 : shown(deflection) > 0;
    return thatWay ? formatText("L/%.0f", std::floor(length * scale / std::fabs(deflection))) : std::string("-");
  };
  // The bending (from the chord between the supports) with its ratio, then
  // the move from the unloaded beam.
  for (const bool downward : {true, false}) {
    p = env_.peak(Curve::relativeDeflection, span, !downward);
    row(downward ? "flecha hacia abajo" : "flecha hacia arriba", p.governing, true, where(p),
        ratio(p.governing.value, downward));
    p = env_.peak(Curve::deflection, span, !downward);
    row(downward ? "absoluta hacia abajo" : "absoluta hacia arriba", p.governing, true, where(p), "");
  }
}

void SummaryWriter::spans(const std::vector<Span>& spans) {
  out_.text += formatText("\nTramos: momentos en %s, flechas en %s (combinaci\xF3n caracter\xEDstica), x en %s\n",
                          units_.moment.c_str(), units_.deflection.c_str(), units_.length.c_str());
  out_.text +=
      "  flecha: desde la recta entre los apoyos del tramo (voladizo: desde la tangente en su apoyo);\n"
      "  absoluta: desde la viga sin cargar\n";
  columns(true);
  for (size_t s = 0; s < spans.size(); ++s) span(s + 1, spans[s]);
}

}  // namespace

std::string spanList(const std::vector<int>& spans) {
  if (spans.empty()) return "ninguno";
  std::string text;
  for (size_t k = 0; k < spans.size(); ++k) text += (k ? ", " : "") + std::to_string(spans[k] + 1);
  return text;
}

Summary summarize(const std::string& name, const projectfiles::Model& model, const std::vector<Span>& spans,
                  const ExactEnvelope& envelope) {
  Summary summary;
  SummaryWriter writer(model, envelope, summary);
  writer.heading(name, spans.size());
  writer.supports();
  writer.spans(spans);
  return summary;
}

}  // namespace alternancias
