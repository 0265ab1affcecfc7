#include "project_reader.h"

#include <cstdio>
#include <vector>

#include "envelope_run.h"
#include "line_reader.h"

namespace envelope {

const char* const kBarNodeError = "ERROR EN NODOS/ELEMENTO";
const char* const kNodalLoadError = "ERROR EN NODOS/CARGAS EN NODOS";
const char* const kLoadBarError = "ERROR EN BARRA DE CARGA";
const char* const kTooManyLoadsError = "ERROR DEMASIADAS CARGAS";
const char* const kCountsError = "ERROR EN CANTIDADES DEL PROYECTO";
const char* const kForcePointsError = "error en cantidad de puntos para ESFUERZOS";

namespace {

struct ProjectFiles {
  FilePtr car, kar, caf, dat, fmc, res;
};

// A string target as long as the line, so %s can never overflow it.
std::vector<char> wordBuffer(const std::string& line) { return std::vector<char>(line.size() + 1, '\0'); }

bool readForceTableHeader(const std::string& base, ProjectTables& project, MessageSink& sink) {
  FilePtr esf = openForReading(base + ".esf");
  if (!esf) {
    sink.showMessage("error_archivo esfuerzos");
    return false;
  }
  LineReader reader(esf.get());
  std::sscanf(reader.nextOrLast(kShortLine).c_str(), "%d", &project.forceTableLastIndex);
  if (project.forceTableLastIndex < 0 || project.forceTableLastIndex >= kMaxPoints) {
    sink.showMessage(kForcePointsError);
    return false;
  }
  return true;
}

bool openProjectFiles(const std::string& base, ProjectFiles& files, MessageSink& sink) {
  struct Step {
    FilePtr* file;
    const char* extension;
    const char* message;
  } steps[] = {{&files.car, ".car", "error_archivo cargas"}, {&files.kar, ".kar", "error_archivo cargas"},
               {&files.caf, ".caf", "error_archivo cargas"}, {&files.dat, ".dat", "error_archivo datos"},
               {&files.fmc, ".fmc", "error_archivo fmc"},    {&files.res, ".res", "error_archivo resultado"}};
  for (auto& step : steps) {
    *step.file = openForReading(base + step.extension);
    if (!*step.file) {
      sink.showMessage(step.message);
      return false;
    }
  }
  return true;
}

ReadStep readBeamHeader(LineReader& dat, bool firstOfRun, EnvelopeState& state, ProjectTables& p,
                        MessageSink& sink) {
  const std::string& title = dat.nextOrLast(kShortLine);
  std::vector<char> word = wordBuffer(title);
  std::sscanf(title.c_str(), "%s %d  %d", word.data(), &p.captionSet, &p.unitSystem);
  p.nodalLoads.assign(kNodalLoadSlots + 1, NodalLoadRecord{});
  std::sscanf(dat.nextOrLast(kShortLine).c_str(), "%d  %d  %d %d %d  %d %d %d %d %d", &p.barCount, &p.nodeCount,
              &p.supportCount, &p.nodalLoadCount, &p.materialCount, &p.sectionCount, &p.unusedCount, &p.tieCount,
              &p.selfWeight, &p.tenthValue);
  if (firstOfRun) {
    state.referenceNodeCount = p.nodeCount;
    state.referenceBarCount = p.barCount;
    state.referenceSupportCount = p.supportCount;
  } else if (p.nodeCount != state.referenceNodeCount || p.barCount != state.referenceBarCount ||
             p.supportCount != state.referenceSupportCount) {
    sink.showMessage(kSelectionErrorText);
    return ReadStep::SelectionError;
  }
  if (p.barCount < 0 || p.barCount > kMaxBars || p.nodeCount < 0 || p.nodeCount > kMaxNodes ||
      p.supportCount < 0 || p.supportCount > kMaxSupports || p.nodalLoadCount < 0 || p.nodalLoadCount > kMaxNodes || p.materialCount < 0 ||
      p.sectionCount < 0 || p.tieCount < 0) {
    sink.showMessage(kCountsError);
    return ReadStep::Stopped;
  }
  return ReadStep::Ok;
}

bool readBeamTables(LineReader& dat, ProjectTables& p, MessageSink& sink) {
  p.nodes.assign(p.nodeCount + 1, NodeRecord{});
  for (int i = 1; i <= p.nodeCount; ++i) {
    NodeRecord& n = p.nodes[i];
    std::sscanf(dat.nextOrLast(kShortLine).c_str(), "%d %f %f", &n.label, &n.x, &n.y);
    p.beamLength = n.x;
  }
  p.bars.assign(p.barCount + 1, BarRecord{});
  for (int i = 1; i <= p.barCount; ++i) {
    BarRecord& b = p.bars[i];
    std::sscanf(dat.nextOrLast(kShortLine).c_str(), "%d %d %d", &b.label, &b.nodeI, &b.nodeJ);
    // Bar ends index the node table.
    if (b.nodeI < 1 || b.nodeI > p.nodeCount || b.nodeJ < 1 || b.nodeJ > p.nodeCount) {
      sink.showMessage(kBarNodeError);
      return false;
    }
  }
  std::string skipped;
  for (long i = 0; i < static_cast<long>(p.sectionCount) + p.materialCount; ++i)
    if (!dat.next(skipped, kShortLine)) break;
  p.supports.assign(p.supportCount + 1, SupportRecord{});
  for (int i = 1; i <= p.supportCount; ++i) {
    SupportRecord& s = p.supports[i];
    const std::string& line = dat.nextOrLast(kShortLine);
    std::sscanf(line.c_str(), "%d %d %f %f", &s.node, &s.code, &s.values[0], &s.values[1]);
    if (s.code == 111) std::sscanf(line.c_str(), "%d %d %f %f %f", &s.node, &s.code, &s.values[0], &s.values[1], &s.values[2]);
  }
  // Ties are not used here; one line each keeps the nodal loads in step.
  for (int i = 0; i < p.tieCount; ++i)
    if (!dat.next(skipped, kShortLine)) break;
  int label = 0, code = 0;
  float value = 0;
  for (int i = 0; i < p.nodalLoadCount; ++i) {
    std::sscanf(dat.nextOrLast(kShortLine).c_str(), "%d", &label);
    if (label < 1 || label > kNodalLoadSlots) {
      sink.showMessage(kNodalLoadError);
      return false;
    }
    NodalLoadRecord& record = p.nodalLoads[label];
    record.node = label;
    for (int k = 0; k < 3; ++k) {
      std::sscanf(dat.nextOrLast(kShortLine).c_str(), "%d %f", &code, &value);
      record.code[k] = code;
      record.value[k] = value;
    }
  }
  return true;
}

ReadStep readPointCount(LineReader& fmc, bool firstOfRun, EnvelopeState& state, ProjectTables& p,
                        MessageSink& sink) {
  const std::string& header = fmc.nextOrLast(kShortLine);
  std::vector<char> word = wordBuffer(header);
  int count = 0;
  std::sscanf(header.c_str(), "%s %d  %d  %d", word.data(), &p.captionSet, &p.unitSystem, &count);
  p.lastPoint = count - 1;
  if (firstOfRun) {
    state.referenceLastPoint = p.lastPoint;
  } else if (p.lastPoint != state.referenceLastPoint) {
    sink.showMessage(kSelectionErrorText);
    return ReadStep::SelectionError;
  }
  // Points index the point tables, and point P lies on bar P/20 + 1.
  if (p.lastPoint < 0 || p.lastPoint >= kMaxPoints || p.lastPoint > 20 * p.barCount) {
    sink.showMessage(kCountsError);
    return ReadStep::Stopped;
  }
  return ReadStep::Ok;
}

void readResults(LineReader& res, ProjectTables& p) {
  p.nodeDeflections.assign(p.nodeCount + 1, NodeDeflection{});
  for (int i = 1; i <= p.nodeCount; ++i) {
    NodeDeflection& n = p.nodeDeflections[i];
    std::sscanf(res.nextOrLast(kShortLine).c_str(), "%d %f", &n.node, &n.value);
  }
  p.barForces.assign(p.barCount + 1, BarEndForces{});
  for (int i = 1; i <= p.barCount; ++i) {
    BarEndForces& b = p.barForces[i];
    std::sscanf(res.nextOrLast(kShortLine).c_str(), "%d %d %d %f %f %f %f", &b.bar, &b.nodeI, &b.nodeJ, &b.Mi,
                &b.Mj, &b.Qi, &b.Qj);
  }
  p.reactions.assign(p.supportCount + 1, ReactionRecord{});
  for (int i = 1; i <= p.supportCount; ++i) {
    ReactionRecord& r = p.reactions[i];
    const std::string& line = res.nextOrLast(kShortLine);
    if (p.supports[i].code == 111)
      std::sscanf(line.c_str(), "%d %f %f", &r.node, &r.R, &r.M);
    else
      std::sscanf(line.c_str(), "%d %f", &r.node, &r.R);
  }
}

void readPoints(LineReader& fmc, ProjectTables& p) {
  p.points.assign(p.lastPoint + 1, PointResult{});
  for (int i = 0; i <= p.lastPoint; ++i) {
    PointResult& r = p.points[i];
    std::sscanf(fmc.nextOrLast(kShortLine).c_str(), "%f %f %f %f", &r.x, &r.deflection, &r.moment, &r.shear);
  }
}

bool readLoadLines(FILE* file, ProjectTables& p, MessageSink& sink) {
  LineReader reader(file);
  std::string line;
  while (reader.next(line, kLoadLine)) {
    int bar = 0, type = 0;
    float a = 0, len = 0, c = 0, value = 0;
    std::vector<char> direction = wordBuffer(line);
    int got = std::sscanf(line.c_str(), "%d %d %f %f %f %f %s", &bar, &type, &a, &len, &c, &value, direction.data());
    if (got <= 0) continue;  // a blank line is no load
    if (static_cast<int>(p.loads.size()) - 1 >= kMaxLoadLines) {
      sink.showMessage(kTooManyLoadsError);
      return false;
    }
    LoadRecord record;
    if (type >= 1 && type <= 5) {
      if (bar < 1 || bar > p.barCount) {
        sink.showMessage(kLoadBarError);
        return false;
      }
      const BarRecord& b = p.bars[bar];
      record.type = type;
      record.value = type == 2 ? -value : value;
      record.xStart = p.nodes[b.nodeI].x + a;
      record.xEnd = IsZero(c) ? p.nodes[b.nodeJ].x : record.xStart + len;
      record.startPoint = pointAt(p, record.xStart);
      record.endPoint = type >= 3 ? pointAt(p, record.xEnd) : record.startPoint;
    }
    p.loads.push_back(record);
  }
  return true;
}

}  // namespace

int pointAt(const ProjectTables& project, float x) {
  int found = 0;
  for (int P = 0; P <= project.lastPoint; ++P) {
    float px = project.points[P].x;
    if (NearlyEqual(px, x)) return P;
    if (px < x) found = P;
  }
  return found;
}

ReadStep readProject(const std::string& base, bool firstOfRun, EnvelopeState& state, ProjectTables& p,
                     MessageSink& sink) {
  p = ProjectTables{};
  if (!readForceTableHeader(base, p, sink)) return ReadStep::Stopped;
  ProjectFiles files;
  if (!openProjectFiles(base, files, sink)) return ReadStep::Stopped;

  LineReader dat(files.dat.get());
  ReadStep step = readBeamHeader(dat, firstOfRun, state, p, sink);
  if (step != ReadStep::Ok) return step;
  if (!readBeamTables(dat, p, sink)) return ReadStep::Stopped;

  LineReader res(files.res.get()), fmc(files.fmc.get());
  std::string ignored;
  res.next(ignored, kShortLine);
  step = readPointCount(fmc, firstOfRun, state, p, sink);
  if (step != ReadStep::Ok) return step;
  readResults(res, p);
  files.res.reset();
  files.dat.reset();
  readPoints(fmc, p);
  files.fmc.reset();

  p.loads.assign(1, LoadRecord{});  // slot 0 unused
  if (!readLoadLines(files.caf.get(), p, sink)) return ReadStep::Stopped;
  if (p.selfWeight == 1 && !readLoadLines(files.kar.get(), p, sink)) return ReadStep::Stopped;
  return ReadStep::Ok;
}

}  // namespace envelope
