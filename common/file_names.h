#pragma once
// The names of the files the programs share, and of those a run leaves beside
// them. A program that reads, protects, moves or removes a project's or an
// envelope's files takes their names from here, so that a file one program
// starts writing is known to all the others.
#include <cstddef>
#include <initializer_list>
#include <string>
#include <vector>

namespace common {

// ---- A project: the files of one beam analysis, STEM + extension, side by side.

// Inputs.
inline constexpr char kModelExt[] = ".dat";  // the beam model (an envelope's project list has it too)
inline constexpr char kLoadsExt[] = ".caf";  // the loads on its bars
// calcest's results, named on its command line.
inline constexpr char kResultsExt[] = ".res";     // node, bar and support results (an envelope's report too)
inline constexpr char kDiagramExt[] = ".fmc";     // moment, shear and deflection at 20 points per bar and the first
inline constexpr char kBarRecordsExt[] = ".bar";  // binary bar records, which calcdin reads
// calcest's side files, named after the model file (see calcestSideStem).
inline constexpr char kSelfWeightExt[] = ".kar";    // the bars' self-weight as load lines
inline constexpr char kRotationsExt[] = ".gan";     // rotations at the diagram's points
inline constexpr char kDeflectionsExt[] = ".def";   // deflections at the diagram's points
inline constexpr char kElementTraceExt[] = ".kra";  // trace: every bar's global element matrix
inline constexpr char kPivotTraceExt[] = ".tst";    // trace: the pivots of the elimination
// calcdin's modes (eigenvalues, frequencies and shapes), named on its command line.
inline constexpr char kModesExt[] = ".din";
// Beside them, for the envelopes: written by alternancias --tabla or by hand.
inline constexpr char kForceTableExt[] = ".esf";   // force table at every point
inline constexpr char kDescriptionExt[] = ".car";  // one line describing the project's loads

// calcest's side files other programs read, then its traces, in the order it opens them.
inline constexpr const char* kCalcestSideExtensions[] = {kSelfWeightExt, kRotationsExt, kDeflectionsExt};
inline constexpr const char* kCalcestTraceExtensions[] = {kElementTraceExt, kPivotTraceExt};

// calcest's traces in the directory it runs in, fixed names rewritten by every run.
inline constexpr char kLoadVectorTrace[] = "esfuerzos.txt";        // the load vector
inline constexpr char kCondensedMatrixTrace[] = "fp_pruebak.txt";  // element matrices against their closed forms
inline constexpr char kAssemblyTrace[] = "rigidez.txt";            // the assembly
inline constexpr char kAssemblyTrace1[] = "rigidez1.txt";          // the assembly, continued
inline constexpr char kEliminationTrace[] = "caldef.txt";          // the elimination
inline constexpr char kBackSubstitutionTrace[] = "caldef1.txt";    // the back substitution
inline constexpr char kEndDisplacementTrace[] = "artcorte.txt";    // every bar's end displacements and deflections
inline constexpr const char* kCalcestTraceFiles[] = {
    kLoadVectorTrace,  kCondensedMatrixTrace,  kAssemblyTrace,       kAssemblyTrace1,
    kEliminationTrace, kBackSubstitutionTrace, kEndDisplacementTrace};
// The environment variable that sends those traces to another folder (when
// set and not empty): runs in one folder then keep each other's traces out.
inline constexpr char kTraceFolderVariable[] = "VIGAS_TRACES";

// Every file of a project, whoever writes it: what a program that writes
// projects must not overwrite unasked, and moves or removes as a whole.
inline constexpr const char* kProjectExtensions[] = {kModelExt,      kLoadsExt,      kDescriptionExt, kResultsExt,
                                                     kDiagramExt,    kBarRecordsExt, kSelfWeightExt,  kElementTraceExt,
                                                     kPivotTraceExt, kRotationsExt,  kDeflectionsExt, kForceTableExt};
// The files of a project the envelope reads.
inline constexpr const char* kEnvelopeInputExtensions[] = {kModelExt,   kLoadsExt,   kDescriptionExt, kSelfWeightExt,
                                                           kResultsExt, kDiagramExt, kForceTableExt};

// calcest's outputs named on its command line (see calcestCommandLine).
inline constexpr const char* kCalcestResultExtensions[] = {kResultsExt, kDiagramExt, kBarRecordsExt};

namespace detail {
constexpr bool sameName(const char* a, const char* b) {
  while (*a && *a == *b) ++a, ++b;
  return *a == *b;
}
template <std::size_t N>
constexpr bool listed(const char* name, const char* const (&names)[N]) {
  for (const char* each : names)
    if (sameName(name, each)) return true;
  return false;
}
template <std::size_t N, std::size_t M>
constexpr bool allListed(const char* const (&some)[N], const char* const (&all)[M]) {
  for (const char* each : some)
    if (!listed(each, all)) return false;
  return true;
}
}  // namespace detail

// A file calcest starts writing beside a project is one of the project's files,
// so that whoever protects, moves or removes those knows it too.
static_assert(detail::allListed(kCalcestResultExtensions, kProjectExtensions) &&
                  detail::allListed(kCalcestSideExtensions, kProjectExtensions) &&
                  detail::allListed(kCalcestTraceExtensions, kProjectExtensions) &&
                  detail::allListed(kEnvelopeInputExtensions, kProjectExtensions),
              "every file written or read beside a project is in kProjectExtensions");

// ---- An envelope NAME: its report and force table, and per diagram (1
// deflections, 2 moments, 3 shear) a CAD script and a picture. The viewer and
// alternancias --casos keep its project list in NAME + kModelExt.
inline constexpr const char* kEnvelopeScriptSuffixes[] = {"d.scr", "m.scr", "c.scr"};
inline constexpr const char* kEnvelopePictureSuffixes[] = {"d.svg", "m.svg", "c.svg"};
inline constexpr const char* kEnvelopeFileSuffixes[] = {kResultsExt,
                                                        kForceTableExt,
                                                        kEnvelopeScriptSuffixes[0],
                                                        kEnvelopeScriptSuffixes[1],
                                                        kEnvelopeScriptSuffixes[2],
                                                        kEnvelopePictureSuffixes[0],
                                                        kEnvelopePictureSuffixes[1],
                                                        kEnvelopePictureSuffixes[2]};

// Held by the run that writes the files of a name, so that a second one waits its turn.
inline constexpr char kLockExt[] = ".lock";

// ---- armado's design of a beam NAME: the table at every station, the bar
// schedule, and the drawing as a picture and a CAD script.
inline constexpr char kDesignTableExt[] = ".arm";
inline constexpr char kBarScheduleExt[] = ".des";
inline constexpr char kDesignPictureSuffix[] = "a.svg";
inline constexpr char kDesignScriptSuffix[] = "a.scr";
inline constexpr const char* kDesignFileSuffixes[] = {kDesignTableExt, kBarScheduleExt, kDesignPictureSuffix,
                                                      kDesignScriptSuffix};

// ---- informe's report of a project: a page and its pictures.
inline constexpr char kPageExt[] = ".html";
// Its pictures, PROJECT-NAME.svg (see reportPictureName).
inline constexpr char kModelPicture[] = "modelo";       // bars, supports and loads
inline constexpr char kDeflectionPicture[] = "flecha";  // the deflected shape
inline constexpr char kMomentPicture[] = "momento";     // bending moments
inline constexpr char kShearPicture[] = "corte";        // shear forces
inline constexpr char kModePicture[] = "modo";          // followed by the mode's number

// ---- Names from a stem.

inline std::string fileOf(const std::string& stem, const char* suffix) { return stem + suffix; }

template <typename Suffixes>
std::vector<std::string> filesOf(const std::string& stem, const Suffixes& suffixes) {
  std::vector<std::string> names;
  for (const char* suffix : suffixes) names.push_back(stem + suffix);
  return names;
}
inline std::vector<std::string> filesOf(const std::string& stem, std::initializer_list<const char*> suffixes) {
  return filesOf<std::initializer_list<const char*>>(stem, suffixes);
}

// True when `name` ends in `suffix` (or is it).
inline bool endsWith(const std::string& name, const char* suffix) {
  const std::string end(suffix);
  return name.size() >= end.size() && name.compare(name.size() - end.size(), end.size(), end) == 0;
}

// A project named on a command line, with or without its model's extension.
inline std::string projectStem(const std::string& named) {
  const size_t length = sizeof kModelExt - 1;
  return named.size() > length && endsWith(named, kModelExt) ? named.substr(0, named.size() - length) : named;
}

// Where calcest's side files go: the model file's name up to the first dot of
// its own name, beside it. A dot in a directory name ("./viga.dat",
// "obra.v2/viga.dat") is not the extension's: cutting there would put them
// elsewhere, hidden.
inline std::string calcestSideStem(const std::string& modelFile) {
  const size_t slash = modelFile.rfind('/');
  const size_t nameStart = slash == std::string::npos ? 0 : slash + 1;
  return modelFile.substr(0, modelFile.find('.', nameStart));
}

// calcest's command line that analyses the project STEM: model, results,
// loads, diagram, bar records and the reserved sixth word.
inline std::vector<std::string> calcestCommandLine(const std::string& stem) {
  const auto& [results, diagram, barRecords] = kCalcestResultExtensions;
  return {stem + kModelExt, stem + results, stem + kLoadsExt, stem + diagram, stem + barRecords, "0"};
}

// calcdin's command line for the project STEM that calcest has analysed:
// model, calcest's bar records, the modes file and the elimination option.
inline std::vector<std::string> calcdinCommandLine(const std::string& stem, int option) {
  return {stem + kModelExt, stem + kBarRecordsExt, stem + kModesExt, std::to_string(option)};
}

// The script and the picture of diagram `kind` (1..3) of envelope `name`.
inline std::string envelopeScriptName(const std::string& name, int kind) {
  return name + kEnvelopeScriptSuffixes[kind - 1];
}
inline std::string envelopePictureName(const std::string& name, int kind) {
  return name + kEnvelopePictureSuffixes[kind - 1];
}

// informe's picture `picture` of `project`, and that of mode `mode`.
inline std::string reportPictureName(const std::string& project, const std::string& picture) {
  return project + "-" + picture + ".svg";
}
inline std::string reportModeName(const std::string& project, int mode) {
  return reportPictureName(project, kModePicture + std::to_string(mode));
}

}  // namespace common
