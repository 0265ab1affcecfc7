#pragma once
// Reading of one project's files in this order: .esf (its count, then its rows,
// kept for the envelope's force table), .car (only checked to be there),
// .kar, .caf, .dat, .fmc, .res. Each file is read once. The project is read
// completely into its own tables before anything of it is combined, so a
// project refused half-way leaves the envelopes and the drawn geometry as they
// were.
#include <functional>
#include <string>

#include "common/model_rules.h"
#include "envolventes/engine/envelope_state.h"
#include "envolventes/engine/message_sink.h"

namespace envelope {

enum class ReadStep { Ok, Stopped, SelectionError };

// Texts of the refusals that guard the fixed tables.
using common::kBarNodeError;                  // bar end on no node (the model reader's own text)
using common::kNodalLoadError;                // nodal-load node outside 1..99
extern const char* const kLoadBarError;       // load line naming no bar of the table
extern const char* const kTooManyLoadsError;  // more than 499 load lines
extern const char* const kCountsError;        // counts beyond the tables (bars, nodes, supports, points)
extern const char* const kForcePointsError;   // "error en cantidad de puntos para ESFUERZOS"

// Message for a project file that ends before the lines its counts promise, or
// whose line lacks values its writer always puts there: what a run that
// stopped half-way (or a full disk) leaves behind.
std::string incompleteFileText(const std::string& path);
// "error_archivo WHAT: no se puede abrir BASE.EXT (proyecto BASE)", `opening`
// the part before the file's name: a project file that cannot be opened, named
// with its project.
std::string missingFileText(const char* opening, const std::string& base, const char* extension);
// "ERROR EN SELECCION DE PROYECTOS: BASE (PATH) NO ES DE LA MISMA VIGA QUE
// FIRST": the project whose file `path` shows it is of another beam than the
// first project of the run.
std::string selectionErrorText(const std::string& path, const EnvelopeState& state);
// "ERROR: EL FICHERO BASE.EXT DEL PROYECTO BASE TIENE VALORES QUE NO SON
// NÚMEROS FINITOS ...": a value read as "nan" or "inf", which no envelope can
// take.
std::string nonFiniteValueText(const std::string& base, const char* extension);

// Reads project `base` into `project`. The first project of a run sets the
// reference counts in `state`; a later one must match them (SelectionError).
// `awaitReferences`, when given, is called before a later project first looks
// at them, which the first project may still be setting meanwhile.
ReadStep readProject(const std::string& base, bool firstOfRun, EnvelopeState& state, ProjectTables& project,
                     MessageSink& sink, const std::function<void()>& awaitReferences = {});

// Point of the grid a load abscissa falls on: the first point NearlyEqual to
// it, else the last point left of it (0 when there is none). `bar`, the bar of
// the load, tells where to look first; the point is the same whatever it is.
int pointAt(const ProjectTables& project, float x, int bar = 0);

}  // namespace envelope
