#include "envolventes/engine/project_reader.h"

#include <algorithm>
#include <cmath>
#include <cstdio>
#include <vector>

#include "envolventes/engine/envelope_run.h"
#include "envolventes/engine/line_reader.h"
#include "envolventes/engine/result_files.h"
#include "common/bar_load.h"
#include "common/file_names.h"
#include "common/model.h"
#include "common/run_error.h"

namespace envelope {

using namespace common;

const char* const kLoadBarError = "ERROR EN BARRA DE CARGA";
const char* const kTooManyLoadsError = "ERROR DEMASIADAS CARGAS";
const char* const kCountsError = "ERROR EN CANTIDADES DEL PROYECTO";
const char* const kForcePointsError = "error en cantidad de puntos para ESFUERZOS";

std::string incompleteFileText(const std::string& path) { return "ERROR: EL FICHERO " + path + " EST\xC1 INCOMPLETO"; }

std::string missingFileText(const char* opening, const std::string& base, const char* extension) {
  return opening + fileOf(base, extension) + " (proyecto " + base + ")";
}

std::string selectionErrorText(const std::string& path, const EnvelopeState& state) {
  const std::string base = path.substr(0, path.rfind('.'));
  // kSelectionErrorText, then who and where.
  return "ERROR EN SELECCION DE PROYECTOS: " + base + " (" + path + ") NO ES DE LA MISMA VIGA QUE " +
         state.referenceProject;
}

namespace {

// Reads the lines a file's counts promise. A line that is not there, or one
// with fewer values than its writer always puts on it, marks the file as cut
// short, so that garbage is never taken for a result.
class CountedLines {
 public:
  CountedLines(FILE* file, std::string& buffer, std::string path) : reader_(file, buffer), path_(std::move(path)) {}

  // The next line; at end of file the last one again, and the file is short.
  std::string_view line() {
    if (!reader_.next(last_)) short_ = true;
    return last_;
  }
  // Scans the next line for `fields`; fewer than `needed` values make the file short.
  template <class... T>
  void scan(int needed, std::tuple<T&...> fields) {
    expect(scanFields(line(), fields), needed);
  }
  void expect(int got, int needed) {
    if (got < needed) short_ = true;
  }
  bool isShort() const { return short_; }
  // Shows the message when the file is short; true when it is.
  bool reportShort(MessageSink& sink) const {
    if (short_) sink.showMessage(incompleteFileText(path_));
    return short_;
  }

 private:
  TextLines reader_;
  std::string path_;
  std::string_view last_;
  bool short_ = false;
};

struct ProjectFiles {
  FileHandle kar, caf, dat, fmc, res;
};

// Room for the text of the files, kept from one project to the next, one
// piece for each file that is read while another is.
struct ReadBuffers {
  std::string forceTable, results, diagram, loads;
};
ReadBuffers& readBuffers() {
  thread_local ReadBuffers buffers;
  return buffers;
}

// The project's force table, read whole here: its count now, its rows for the
// envelope's table written after the last project.
bool readForceTable(const std::string& base, ProjectTables& project, MessageSink& sink) {
  FileHandle esf = openForReading(fileOf(base, kForceTableExt));
  if (!esf) {
    sink.showMessage(missingFileText("error_archivo esfuerzos: no se puede abrir ", base, kForceTableExt));
    return false;
  }
  TextLines reader(esf.get(), readBuffers().forceTable);
  std::string_view first;
  if (!reader.next(first) || std::sscanf(std::string(first).c_str(), "%d", &project.forceTableLastIndex) != 1) {
    sink.showMessage(incompleteFileText(fileOf(base, kForceTableExt)));
    return false;
  }
  if (project.forceTableLastIndex < 0 || project.forceTableLastIndex >= kMaxDiagramPoints) {
    sink.showMessage(kForcePointsError);
    return false;
  }
  readForceTableRows(reader, project.forceTableLastIndex, project.forceTable);
  return true;
}

bool openProjectFiles(const std::string& base, ProjectFiles& files, MessageSink& sink) {
  struct Step {
    FileHandle* file;  // none for the load description, which must be there but is not read
    const char* extension;
    const char* opening;  // of the message, before the file's name
  } steps[] = {{nullptr, kDescriptionExt, "error_archivo cargas: no se puede abrir "},
               {&files.kar, kSelfWeightExt, "error_archivo cargas: no se puede abrir "},
               {&files.caf, kLoadsExt, "error_archivo cargas: no se puede abrir "},
               {&files.dat, kModelExt, "error_archivo datos: no se puede abrir "},
               {&files.fmc, kDiagramExt, "error_archivo fmc: no se puede abrir "},
               {&files.res, kResultsExt, "error_archivo resultado: no se puede abrir "}};
  for (auto& step : steps) {
    const std::string path = fileOf(base, step.extension);
    const bool opened = step.file ? static_cast<bool>(*step.file = openForReading(path)) : canOpenForReading(path);
    if (!opened) {
      sink.showMessage(missingFileText(step.opening, base, step.extension));
      return false;
    }
  }
  return true;
}

// Reference counts of the run, then the capacities of the tables.
ReadStep checkCounts(const std::string& path, bool firstOfRun, EnvelopeState& state, const ProjectTables& p,
                     MessageSink& sink) {
  if (firstOfRun) {
    state.referenceNodeCount = p.nodeCount;
    state.referenceBarCount = p.barCount;
    state.referenceSupportCount = p.supportCount;
  } else if (p.nodeCount != state.referenceNodeCount || p.barCount != state.referenceBarCount ||
             p.supportCount != state.referenceSupportCount) {
    sink.showMessage(selectionErrorText(path, state));
    return ReadStep::SelectionError;
  }
  if (p.barCount > kMaxBars || p.nodeCount > kMaxEnvelopeNodes || p.supportCount > kMaxEnvelopeSupports ||
      p.nodalLoadCount > kMaxEnvelopeNodes) {
    sink.showMessage(kCountsError);
    return ReadStep::Stopped;
  }
  return ReadStep::Ok;
}

// Equal counts are not enough for one beam: the nodes must lie at the same
// abscissae and the units be the same as in the first project.
bool sameBeam(const std::vector<Node>& nodes, int unitSystem, bool firstOfRun, EnvelopeState& state) {
  std::vector<double> xs;
  for (size_t k = 1; k < nodes.size(); ++k) xs.push_back(nodes[k].x);
  if (firstOfRun) {
    state.referenceNodeX = xs;
    state.referenceUnitSystem = unitSystem;
    return true;
  }
  if (unitSystem != state.referenceUnitSystem || xs.size() != state.referenceNodeX.size()) return false;
  for (size_t k = 0; k < xs.size(); ++k)
    if (std::fabs(xs[k] - state.referenceNodeX[k]) >
        1e-6 * std::max(std::fabs(xs[k]), std::fabs(state.referenceNodeX[k])))
      return false;
  return true;
}

// The nodal loads of a model read whole, in the envelope's table indexed by
// node label; false for a label outside the table.
bool takeNodalLoads(const ModelData& model, ProjectTables& p) {
  for (size_t k = 1; k < model.nodalLoads.size(); ++k) {
    const NodalLoad& load = model.nodalLoads[k];
    const int label = model.nodes[load.index].label;
    if (label < 1 || label > kEnvelopeNodalLoadSlots) return false;
    NodalLoadRecord& record = p.nodalLoads[label];
    record.node = label;
    for (int d = 0; d < 3; ++d) {
      record.code[d] = load.code[d];
      record.value[d] = static_cast<float>(load.value[d]);
    }
  }
  return true;
}

// The tables of the envelope from the model as read. Bar ends are node
// indices, which are the labels of a beam numbered 1, 2, 3, ...
void takeBeamTables(const ModelData& model, ProjectTables& p) {
  const ModelHeader& h = model.header;
  p.supports.assign(h.nsup + 1, SupportRecord{});
  for (int k = 1; k <= h.nsup; ++k) p.supports[k] = {model.supports[k].label, model.supports[k].code};
  p.nodes.assign(h.nn + 1, NodeRecord{});
  for (int k = 1; k <= h.nn; ++k)
    p.nodes[k] = {model.nodes[k].label, static_cast<float>(model.nodes[k].x), static_cast<float>(model.nodes[k].y)};
  p.beamLength = h.nn > 0 ? p.nodes[h.nn].x : 0.0f;
  p.bars.assign(h.nb + 1, BarRecord{});
  for (int i = 1; i <= h.nb; ++i) p.bars[i] = {model.bars[i].label, model.bars[i].nodeI, model.bars[i].nodeJ};
}

void takeCounts(const ModelHeader& h, ProjectTables& p) {
  p.captionSet = h.echoed;
  p.unitSystem = h.unitCode;
  p.barCount = h.nb, p.nodeCount = h.nn, p.supportCount = h.nsup, p.nodalLoadCount = h.nload;
  p.materialCount = h.nmat, p.sectionCount = h.nsec, p.unusedCount = h.unusedCount, p.tieCount = h.ntie;
  p.selfWeight = h.selfWeight;
  p.nodalLoads.assign(kEnvelopeNodalLoadSlots + 1, NodalLoadRecord{});
}

// The beam data is the model file of the static run, read whole by the common
// reader between the envelope's own checks of its counts and of one beam: what
// calcest refuses is refused with its message. A file that ends before its
// counts are met is reported as cut short.
ReadStep readBeamData(FILE* file, const std::string& path, bool firstOfRun, EnvelopeState& state, ProjectTables& p,
                      MessageSink& sink, const std::function<void()>& awaitReferences) {
  Scanner in(file, path);
  ModelReader reader(in);
  ModelData model;
  try {
    model.header = reader.readHeader();
    takeCounts(model.header, p);
    if (!firstOfRun && awaitReferences) awaitReferences();
    ReadStep step = checkCounts(path, firstOfRun, state, p, sink);
    if (step != ReadStep::Ok) return step;
    model.nodes = reader.readNodes(model.header.nn);
    if (!sameBeam(model.nodes, p.unitSystem, firstOfRun, state)) {
      sink.showMessage(selectionErrorText(path, state));
      return ReadStep::SelectionError;
    }
    int bandWidth = 0;
    reader.readBarTables(model, bandWidth);
    reader.readSupportsTiesAndNodalLoads(model);
  } catch (const RunError& error) {
    std::string text = error.text;
    while (!text.empty() && text.back() == '\n') text.pop_back();
    sink.showMessage(in.reachedEnd() ? incompleteFileText(path) : text);
    return ReadStep::Stopped;
  }
  if (!takeNodalLoads(model, p)) {
    sink.showMessage(kNodalLoadError);
    return ReadStep::Stopped;
  }
  takeBeamTables(model, p);
  return ReadStep::Ok;
}

// The diagram file comes from calcest, which stops without its point count when
// the run ends in an error: no count is no result, not another beam.
ReadStep readPointCount(CountedLines& fmc, const std::string& path, bool firstOfRun, EnvelopeState& state,
                        ProjectTables& p, MessageSink& sink) {
  const std::string_view header = fmc.line();
  int count = 0;
  char title = 0;  // the first letter of the title's first word, not used
  fmc.expect(scanFields(header, std::tie(title, p.captionSet, p.unitSystem, count)), 4);
  if (fmc.reportShort(sink)) return ReadStep::Stopped;
  p.lastPoint = count - 1;
  if (firstOfRun) {
    state.referenceLastPoint = p.lastPoint;
  } else if (p.lastPoint != state.referenceLastPoint) {
    sink.showMessage(selectionErrorText(path, state));
    return ReadStep::SelectionError;
  }
  // Points index the point tables, and point P lies on bar P/20 + 1.
  if (p.lastPoint < 0 || p.lastPoint >= kMaxDiagramPoints || p.lastPoint > 20 * p.barCount) {
    sink.showMessage(kCountsError);
    return ReadStep::Stopped;
  }
  return ReadStep::Ok;
}

// calcest writes every value of these lines, so one that lacks any was cut.
bool readResults(CountedLines& res, ProjectTables& p, MessageSink& sink) {
  p.nodeDeflections.assign(p.nodeCount + 1, NodeDeflection{});
  for (int i = 1; i <= p.nodeCount; ++i) res.scan(2, p.nodeDeflections[i].fields());
  p.barForces.assign(p.barCount + 1, BarEndForces{});
  for (int i = 1; i <= p.barCount; ++i) res.scan(7, p.barForces[i].fields());
  p.reactions.assign(p.supportCount + 1, ReactionRecord{});
  for (int i = 1; i <= p.supportCount; ++i) {
    ReactionRecord& r = p.reactions[i];
    if (p.supports[i].reactsWithMoment())
      res.scan(3, r.fields());
    else
      res.scan(2, std::tie(r.node, r.R));  // the moment only where the support takes one
  }
  return !res.reportShort(sink);
}

// Up to this size an abscissa in hundred-thousandths is a whole number a double
// holds exactly, so that the truncated values compare as integers.
constexpr float kModerateAbscissa = 1e9f;
bool isModerate(float x) { return std::fabs(x) < kModerateAbscissa; }  // false for NaN too

bool pointsInOrder(const std::vector<PointResult>& points) {
  for (size_t P = 0; P < points.size(); ++P)
    if (!isModerate(points[P].x) || (P > 0 && points[P].x < points[P - 1].x)) return false;
  return true;
}

bool readPoints(CountedLines& fmc, ProjectTables& p, MessageSink& sink) {
  p.points.assign(p.lastPoint + 1, PointResult{});
  for (int i = 0; i <= p.lastPoint && !fmc.isShort(); ++i) fmc.scan(4, p.points[i].fields());
  if (fmc.reportShort(sink)) return false;
  p.pointsInOrder = pointsInOrder(p.points);
  return true;
}

// Load lines until the end of the file. `selfWeightPath` names the .kar file
// when that is what is read: calcest writes one full line per bar there, so
// fewer lines, or a line without all its values, is a file cut short.
bool readLoadLines(FILE* file, ProjectTables& p, MessageSink& sink, const std::string* selfWeightPath = nullptr) {
  TextLines reader(file, readBuffers().loads);
  std::string_view line;
  int lines = 0;
  bool cut = false;
  while (reader.next(line)) {
    LoadLine<float> load;
    const int got = scanFields(line, load.fields());
    if (got <= 0) continue;  // a blank line is no load
    ++lines;
    if (selfWeightPath && got < 7) {
      cut = true;
      break;
    }
    if (static_cast<int>(p.loads.size()) - 1 >= kMaxEnvelopeLoadLines) {
      sink.showMessage(kTooManyLoadsError);
      return false;
    }
    LoadRecord record;
    if (load.ltype >= 1 && load.ltype <= 5) {
      if (load.barLabel < 1 || load.barLabel > p.barCount) {
        sink.showMessage(kLoadBarError);
        return false;
      }
      const BarRecord& b = p.bars[load.barLabel];
      record.type = load.ltype;
      record.value = load.ltype == 2 ? -load.q : load.q;
      record.xStart = p.nodes[b.nodeI].x + load.a;
      record.xEnd = IsZero(load.b) ? p.nodes[b.nodeJ].x : record.xStart + load.c;
      record.startPoint = pointAt(p, record.xStart, load.barLabel);
      record.endPoint = load.ltype >= 3 ? pointAt(p, record.xEnd, load.barLabel) : record.startPoint;
    }
    p.loads.push_back(record);
  }
  if (selfWeightPath && (cut || lines < p.barCount)) {
    sink.showMessage(incompleteFileText(*selfWeightPath));
    return false;
  }
  return true;
}

}  // namespace

namespace {
// The truncated hundred-thousandths NearlyEqual compares: never increasing as
// the abscissa grows.
double truncatedTenthsOfMicro(float x) { return std::trunc(static_cast<double>(x * -100000.0f)); }

// Within one unit of the fifth decimal, truncated as IsZero does.
bool NearlyEqual(float a, float b) { return std::fabs(truncatedTenthsOfMicro(b) - truncatedTenthsOfMicro(a)) < 2.0; }
}  // namespace

// std::partition_point over `count` points for a predicate that holds up to
// some point and not after it: halving that moves without branching on it.
// When it holds before point `from` and not at point `to` (a bar's points),
// only those between are looked at.
template <class Holds>
const PointResult* firstNotHolding(const PointResult* first, size_t count, size_t from, size_t to, Holds holds) {
  if (from < to && to < count && (from == 0 || holds(first[from - 1])) && !holds(first[to])) {
    first += from;
    count = to - from;
  }
  if (count == 0) return first;
  for (; count > 1; count -= count / 2)
    if (holds(first[count / 2])) first += count / 2;
  return first + holds(*first);
}

// Over ascending abscissae the points NearlyEqual to x are one run of indices,
// and those left of x a first run; both are found by halving.
int pointAt(const ProjectTables& project, float x, int bar) {
  const int count = project.lastPoint + 1;
  // Point P lies on bar P/20 + 1: the points of the bar and the first of the next.
  const size_t from = bar >= 1 ? 20 * static_cast<size_t>(bar - 1) : 0, to = bar >= 1 ? from + 21 : 0;
  if (project.pointsInOrder && isModerate(x) && count == static_cast<int>(project.points.size())) {
    const PointResult* const first = project.points.data();
    const PointResult* const last = first + count;
    const double tx = truncatedTenthsOfMicro(x);
    const PointResult* near = firstNotHolding(
        first, count, from, to, [tx](const PointResult& p) { return truncatedTenthsOfMicro(p.x) > tx + 1.0; });
    if (near != last && NearlyEqual(near->x, x)) return static_cast<int>(near - first);
    const PointResult* right = firstNotHolding(first, count, from, to, [x](const PointResult& p) { return p.x < x; });
    return right == first ? 0 : static_cast<int>(right - first) - 1;
  }
  int found = 0;
  for (int P = 0; P <= project.lastPoint; ++P) {
    float px = project.points[P].x;
    if (NearlyEqual(px, x)) return P;
    if (px < x) found = P;
  }
  return found;
}

namespace {
bool finite(std::initializer_list<float> values) {
  for (float v : values)
    if (!std::isfinite(v)) return false;
  return true;
}

// The file of the project that holds a value that is no finite number ("nan",
// "inf", which the reading takes): it would slip past every comparison of the
// envelope, and the project would be left out unseen. nullptr when none does.
const char* fileWithNonFiniteValue(const ProjectTables& p) {
  for (const NodeDeflection& n : p.nodeDeflections)
    if (!finite({n.value})) return kResultsExt;
  for (const BarEndForces& b : p.barForces)
    if (!finite({b.Mi, b.Mj, b.Qi, b.Qj})) return kResultsExt;
  for (const ReactionRecord& r : p.reactions)
    if (!finite({r.R, r.M})) return kResultsExt;
  for (const PointResult& point : p.points)
    if (!finite({point.x, point.deflection, point.moment, point.shear})) return kDiagramExt;
  for (const ForceTableRow& row : p.forceTable.table)
    if (!finite({row.x, row.Qi.max, row.Qd.max, row.Mfi.max, row.Mfd.max, row.CC.max, row.Mf.max}))
      return kForceTableExt;
  return nullptr;
}
}  // namespace

std::string nonFiniteValueText(const std::string& base, const char* extension) {
  return "ERROR: EL FICHERO " + fileOf(base, extension) + " DEL PROYECTO " + base +
         " TIENE VALORES QUE NO SON N\xDAMEROS FINITOS: VUELVA A CALCULAR EL PROYECTO";
}

ReadStep readProject(const std::string& base, bool firstOfRun, EnvelopeState& state, ProjectTables& p,
                     MessageSink& sink, const std::function<void()>& awaitReferences) {
  p = ProjectTables{};
  if (firstOfRun) state.referenceProject = base;
  if (!readForceTable(base, p, sink)) return ReadStep::Stopped;
  ProjectFiles files;
  if (!openProjectFiles(base, files, sink)) return ReadStep::Stopped;

  ReadStep step = readBeamData(files.dat.get(), fileOf(base, kModelExt), firstOfRun, state, p, sink, awaitReferences);
  if (step != ReadStep::Ok) return step;

  CountedLines res(files.res.get(), readBuffers().results, fileOf(base, kResultsExt));
  CountedLines fmc(files.fmc.get(), readBuffers().diagram, fileOf(base, kDiagramExt));
  res.line();  // the header line, not used
  step = readPointCount(fmc, fileOf(base, kDiagramExt), firstOfRun, state, p, sink);
  if (step != ReadStep::Ok) return step;
  if (!readResults(res, p, sink)) return ReadStep::Stopped;
  files.res.reset();
  files.dat.reset();
  if (!readPoints(fmc, p, sink)) return ReadStep::Stopped;
  files.fmc.reset();

  p.loads.assign(1, LoadRecord{});  // slot 0 unused
  if (!readLoadLines(files.caf.get(), p, sink)) return ReadStep::Stopped;
  const std::string karPath = fileOf(base, kSelfWeightExt);
  if (p.selfWeight == 1 && !readLoadLines(files.kar.get(), p, sink, &karPath)) return ReadStep::Stopped;
  if (const char* file = fileWithNonFiniteValue(p)) {
    sink.showMessage(nonFiniteValueText(base, file));
    return ReadStep::Stopped;
  }
  return ReadStep::Ok;
}

}  // namespace envelope
