// The run of calcest: command line, files, computation, traces, result files.
#include <cerrno>
#include <cstdlib>
#include <iterator>

#include "common/console.h"
#include "common/file_names.h"
#include "common/model_rules.h"
#include "calcest/loads.h"
#include "calcest/phases.h"
#include "calcest/trace_files.h"
#include "common/run_error.h"
#include "common/whole_file.h"

namespace calcest {

using namespace common;

namespace {
void checkCommandLine(const std::vector<std::string>& args) {
  if (args.size() != 6) throw RunError("ERROR EN LINEA DE ORDENES (LLEVA SEIS DATOS )", true);
  if (const Fault fault = modelFileNameFault(args[0])) throw RunError(fault.message, true);
}

// One output of a run. A trace is for checking a doubtful model: nothing reads
// it, and a singular model still puts it in place to show where it failed.
struct Output {
  std::string name;
  TextOut* file;
  bool trace;
};

// Every output, in the order they are opened and checked: the command line's
// files, the side files named after the model, then the traces.
std::vector<Output> outputsOf(AnalysisContext& ctx) {
  const CommandLine& a = ctx.args;
  std::vector<Output> outputs = {
      {a.results, &ctx.results, false}, {a.diagram, &ctx.diagram, false}, {a.barRecords, &ctx.barRecords, false}};
  TextOut* const side[] = {&ctx.kar, &ctx.gan, &ctx.def};
  TextOut* const sideTraces[] = {&ctx.kra, &ctx.tst};
  TextOut* const traces[] = {&ctx.esfuerzos, &ctx.fpPrueba, &ctx.rigidez, &ctx.rigidez1,
                             &ctx.caldef,    &ctx.caldef1,  &ctx.artcorte};
  static_assert(std::size(side) == std::size(kCalcestSideExtensions), "one file per side file name");
  static_assert(std::size(sideTraces) == std::size(kCalcestTraceExtensions), "one file per trace name");
  static_assert(std::size(traces) == std::size(kCalcestTraceFiles), "one file per trace name");
  for (size_t k = 0; k < std::size(side); ++k)
    outputs.push_back({fileOf(ctx.stem, kCalcestSideExtensions[k]), side[k], false});
  for (size_t k = 0; k < std::size(sideTraces); ++k)
    outputs.push_back({fileOf(ctx.stem, kCalcestTraceExtensions[k]), sideTraces[k], true});
  const std::string traceFolder = ctx.traceFolder.empty() ? "" : ctx.traceFolder + "/";
  for (size_t k = 0; k < std::size(traces); ++k)
    outputs.push_back({traceFolder + kCalcestTraceFiles[k], traces[k], true});
  return outputs;
}

// An output that is one of the inputs (by name or through a link) would
// overwrite the model or the loads: refused before anything is written.
void refuseOutputsThatAreInputs(const std::vector<Output>& outputs, const CommandLine& a) {
  std::vector<std::string> names;
  for (const Output& output : outputs) names.push_back(output.name);
  const SameFile same = outputThatIsAnInput(names, {a.model, a.loads});
  if (!same.output.empty()) throw RunError(sameFileText("calcest", same, "NO SE HA ESCRITO NADA"));
}

void openOutputs(AnalysisContext& ctx, const std::vector<Output>& outputs) {
  OutputFolders folders;
  for (const Output& output : outputs) {
    if (output.file->tryOpen(output.name, &folders)) continue;
    if (errno == EPERM) throw RunError(notReplaceableText(output.name) + "\n", true);
    // The pivot trace's message has always named its extension only.
    if (output.file == &ctx.tst) throw RunError(std::string("NO PUDO ABRIR EL FICHERO ") + kPivotTraceExt, true);
    throw RunError("NO PUDO ABRIR EL FICHERO " + output.name, true);
  }
}

[[noreturn]] void writeFailed(const Output& output) { throw RunError(cannotWriteText(output.name) + "\n"); }

// Puts the outputs in place only when every byte of each, traces included, has
// reached its file and every name may be taken (the folder may have changed
// during the run), the results file last: a failure leaves the last complete
// results as they were.
void commit(const std::vector<Output>& outputs) {
  for (const Output& output : outputs) output.file->finish();
  for (const Output& output : outputs)
    if (output.file->writeFailed()) writeFailed(output);
  for (const Output& output : outputs) {
    if (mayTakeName(output.name)) continue;
    if (errno == EPERM) throw RunError(notReplaceableText(output.name) + "\n");
    writeFailed(output);
  }
  for (auto output = outputs.rbegin(); output != outputs.rend(); ++output)
    if (!output->file->commit()) writeFailed(*output);
}

// A singular model leaves the traces written up to the vanishing pivot, for the
// user to see where it vanished, and no result. Traces that cannot be written
// are let go: the message that matters is the singular model's.
void commitTracesSoFar(AnalysisContext& ctx) {
  std::vector<Output> traces;
  for (const Output& output : outputsOf(ctx))
    if (output.trace && output.file->written()) traces.push_back(output);
  try {
    commit(traces);
  } catch (const RunError&) {
  }
}

}  // namespace

void openFiles(AnalysisContext& ctx) {
  const CommandLine& a = ctx.args;
  ctx.modelFile = openInput(a.model);
  ctx.loadsFile = openInput(a.loads);
  ctx.stem = calcestSideStem(a.model);
  const std::vector<Output> outputs = outputsOf(ctx);
  refuseOutputsThatAreInputs(outputs, a);
  openOutputs(ctx, outputs);
  ctx.model = std::make_unique<Scanner>(ctx.modelFile.get(), a.model);
  ctx.loads = std::make_unique<Scanner>(ctx.loadsFile.get(), a.loads);
}

void readAndAssemble(AnalysisContext& ctx, AssemblyTrace* trace) {
  readHeaderAndEcho(ctx);
  readModelTables(ctx);
  computeAllElementMatrices(ctx);  // the loads need T
  readAndApplyBarLoads(*ctx.loads, ctx.bars);
  writeSelfWeight(ctx);
  readSupportsTiesAndNodalLoads(ctx);
  allocateBand(ctx);
  buildLoadVector(ctx);
  assembleStiffness(ctx, trace);
}

std::string solutionFailureText(const AnalysisContext& ctx, const BandOutcome& outcome) {
  if (outcome.status != BandStatus::kNotFinite) return zeroPivotText(outcome);
  return formatText(
      "ERROR: EL DESPLAZAMIENTO DEL NODO %d NO ES UN N\xDAMERO FINITO: REVISE E, G, A E I DE SUS "
      "BARRAS Y LA RIGIDEZ DE SUS APOYOS\n",
      ctx.nodes[(outcome.row + 2) / 3].label);
}

std::string zeroPivotText(const BandOutcome& outcome) {
  return formatText(
      "MODELO CON PROBLEMAS(VERIFICAR)\ns[%d,1]= %lf  \n"
      " PRESIONE UNA TECLA PARA TERMINAR EL PROGRAMA ANORMALMENTE",
      outcome.row, outcome.pivot);
}

namespace {
int run(const std::vector<std::string>& args, Console& console) {
  checkCommandLine(args);
  AnalysisContext ctx;
  ctx.args = {args[0], args[1], args[2], args[3], args[4], args[5]};
  if (const char* folder = std::getenv(kTraceFolderVariable)) ctx.traceFolder = folder;
  openFiles(ctx);
  console.write("  Presione una tecla para continuar\n");
  console.waitKey();
  TraceFiles traces(ctx, console);
  readAndAssemble(ctx, &traces);
  applySupportsAndTies(ctx);
  const BandOutcome solution = solveBand(ctx, &traces);
  if (solution.status != BandStatus::kSolved) {
    // The traces show where a pivot vanished; a solution of no finite numbers
    // is refused with nothing put in place.
    if (solution.status == BandStatus::kZeroPivot) commitTracesSoFar(ctx);
    throw RunError(solutionFailureText(ctx, solution), true);
  }
  computeBarResults(ctx);
  computeReactions(ctx);
  refuseNonFiniteResults(ctx);
  writeResults(ctx);
  commit(outputsOf(ctx));
  return 0;
}
}  // namespace

const ConsoleProgram kCalcest{run, "ERROR: MEMORIA INSUFICIENTE PARA LAS TABLAS DEL MODELO\n"};

}  // namespace calcest
