#pragma once
// The envelope's result files: the force table NAME.esf (envelope of the
// projects' own force tables) and the report NAME.res.
#include <cstdio>
#include <string>
#include <vector>

#include "envolventes/engine/envelope_state.h"
#include "envolventes/engine/line_reader.h"
#include "envolventes/engine/message_sink.h"

namespace envelope {

enum class ForceTableStep { Written, Stopped };

// The rows after the first line of a project's force table whose first line
// gave `n`: rows 0..n, blank lines skipped. Fewer rows, or a row without its
// eight values, is a table cut short; a row beyond n, too many.
void readForceTableRows(TextLines& esf, int n, ProjectForceTable& out);

// The envelope of the force tables of a run's projects, combined project by
// project as they are read, and written once the last one is read with `n`,
// its point count. Combining stops at the first table whose count differs from
// n or that holds more rows than it says (the rows combined so far are
// written), or that is cut short (the operation ends: Stopped, nothing written).
class ForceTableEnvelope {
 public:
  // The table of the next project of the run; `path` names its .esf.
  void add(const ProjectTables& project, const std::string& path);
  ForceTableStep write(int n, FILE* out, MessageSink& sink) const;

 private:
  enum class Stop { None, OtherCount, CutShort };
  bool any_ = false;
  int count_ = 0;  // the first table's count: the only n for which rows combine
  std::vector<ForceTableRow> table_;
  Stop stop_ = Stop::None;
  std::string cutPath_;
};

// Writes the envelope force table of `table` (rows 0..n): the shear half, then
// the moment half.
void writeForceTableRows(const std::vector<ForceTableRow>& table, int n, FILE* out);

// The report of every envelope and the overall extremes.
void writeReport(const EnvelopeState& state, FILE* out);

}  // namespace envelope
