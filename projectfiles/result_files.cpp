#include "projectfiles/result_files.h"

#include "common/run_error.h"

namespace projectfiles {

using namespace common;

namespace {
// Title line of both files: title, echoed integer, unit code.
void readTitle(TokenFile& in, const std::string& title, int unitCode, std::string& titleOut, int& unitOut) {
  titleOut = in.word("el t\xEDtulo").text;
  in.integer("la cabecera");
  unitOut = in.integer(
      "el c\xF3"
      "digo de unidades");
  if (titleOut != title || unitOut != unitCode)
    throw RunError(in.errorText("es de otro modelo (t\xEDtulo " + titleOut + ", se esperaba " + title + ")"));
}

// The fields of a record in turn, each the next word.
void take(TokenFile& in, const std::string& item, SourceValue& value) { value = in.real(item); }

void expectIndex(TokenFile& in, int got, int expected, const char* what) {
  if (got != expected)
    throw RunError(
        in.errorText(formatText("no corresponde al modelo: %s %d donde se esperaba %d", what, got, expected)));
}

// An integer that must be the model's: a node or bar index, or an end node.
struct Expected {
  int value;
  const char* what;
};
void take(TokenFile& in, const std::string& item, int& value, const Expected* check) {
  value = in.integer(item);
  if (check) expectIndex(in, value, check->value, check->what);
}
void take(TokenFile& in, const std::string& item, SourceValue& value, const Expected*) { take(in, item, value); }

// The fields of a record in turn, each the next word; the first integers
// checked against `checks` as they are read.
template <class... T>
void readFields(TokenFile& in, const std::string& item, std::tuple<T&...> fields,
                std::initializer_list<Expected> checks = {}) {
  size_t k = 0;
  auto next = [&]() { return k < checks.size() ? checks.begin() + k++ : nullptr; };
  std::apply([&](T&... field) { (take(in, item, field, next()), ...); }, fields);
}
}  // namespace

ResultsFile readResultsFile(TokenFile& in, const ResultsShape& shape) {
  ResultsFile out;
  readTitle(in, shape.title, shape.unitCode, out.title, out.unitCode);
  out.nodes.resize(static_cast<size_t>(shape.nn) + 1);
  for (int k = 1; k <= shape.nn; ++k) {
    readFields(in, formatText("el nodo %d", k), out.nodes[k].fields(), {{k, "nodo"}});
  }
  const int nb = static_cast<int>(shape.bars.size()) - 1;
  out.bars.resize(static_cast<size_t>(nb) + 1);
  for (int i = 1; i <= nb; ++i) {
    readFields(in, formatText("la barra %d", i), out.bars[i].fields(),
               {{i, "barra"}, {shape.bars[i].left, "nodo izquierdo"}, {shape.bars[i].right, "nodo derecho"}});
  }
  const int nsup = static_cast<int>(shape.supportNodes.size()) - 1;
  out.supports.resize(static_cast<size_t>(nsup) + 1);
  for (int s = 1; s <= nsup; ++s) {
    readFields(in, formatText("el apoyo %d", s), out.supports[s].fields(), {{shape.supportNodes[s], "nodo de apoyo"}});
  }
  for (int t = 1; t <= 2 * shape.ntie; ++t) {
    std::string item = formatText("el corrimiento %d", (t + 1) / 2);
    ResTieEnd end;
    end.label = in.integer(item);
    end.node = in.integer(item);
    in.expect("****", item);
    end.dof = in.integer(item);
    end.dir = in.integer(item);
    end.letter = in.word(item).text;
    end.force = in.real(item);
    out.tieEnds.push_back(end);
  }
  if (!in.atEnd()) throw RunError(in.errorText(formatText("sobran datos desde la l\xEDnea %d", in.peek()->line)));
  return out;
}

DiagramFile readDiagramFile(TokenFile& in, const std::string& title, int unitCode, int nb) {
  DiagramFile out;
  readTitle(in, title, unitCode, out.title, out.unitCode);
  const int count = in.integer("la cantidad de puntos");
  expectIndex(in, count, 20 * nb + 1, "cantidad de puntos");
  out.points.resize(static_cast<size_t>(count));
  for (int p = 0; p < count; ++p) {
    std::string item = formatText("el punto %d", p);
    readFields(in, item, out.points[p].fields());
  }
  if (!in.atEnd()) throw RunError(in.errorText(formatText("sobran datos desde la l\xEDnea %d", in.peek()->line)));
  return out;
}

}  // namespace projectfiles
