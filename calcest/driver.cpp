// The run of calcest: command line, files, computation, traces, result files.
#include "common/capacities.h"
#include "common/console.h"
#include "calcest/loads.h"
#include "calcest/phases.h"
#include "calcest/trace_files.h"
#include "common/run_error.h"

namespace calcest {

using namespace common;

namespace {
void checkCommandLine(const std::vector<std::string>& args) {
  if (args.size() != 6) throw RunError("ERROR EN LINEA DE ORDENES (LLEVA SEIS DATOS )", true);
  if (args[0].size() > kMaxModelNameLength)
    throw RunError(formatText("ERROR: EL NOMBRE DEL FICHERO DE DATOS TIENE M\xC1S DE %zu CARACTERES\n",
                              kMaxModelNameLength),
                   true);
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
  const std::string& stem = ctx.stem;
  return {{a.results, &ctx.results, false},        {a.diagram, &ctx.diagram, false},
          {a.barRecords, &ctx.barRecords, false},  {stem + ".kar", &ctx.kar, false},
          {stem + ".gan", &ctx.gan, false},        {stem + ".def", &ctx.def, false},
          {stem + ".kra", &ctx.kra, true},         {stem + ".tst", &ctx.tst, true},
          {"esfuerzos.txt", &ctx.esfuerzos, true}, {"fp_pruebak.txt", &ctx.fpPrueba, true},
          {"rigidez.txt", &ctx.rigidez, true},     {"rigidez1.txt", &ctx.rigidez1, true},
          {"caldef.txt", &ctx.caldef, true},       {"caldef1.txt", &ctx.caldef1, true},
          {"artcorte.txt", &ctx.artcorte, true}};
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
  for (const Output& output : outputs) {
    if (output.file->tryOpen(output.name)) continue;
    // The pivot trace's message has always named its extension only.
    if (output.file == &ctx.tst) throw RunError("NO PUDO ABRIR EL FICHERO .tst", true);
    throw RunError("NO PUDO ABRIR EL FICHERO " + output.name, true);
  }
}

[[noreturn]] void writeFailed(const Output& output) {
  throw RunError(formatText("ERROR: NO SE PUDO ESCRIBIR EL FICHERO %s\n", output.name.c_str()));
}

// Puts the outputs in place only when every byte of each, traces included, has
// reached its file, the results file last: a failure leaves the last complete
// results as they were.
void commit(const std::vector<Output>& outputs) {
  for (const Output& output : outputs) output.file->finish();
  for (const Output& output : outputs)
    if (output.file->writeFailed()) writeFailed(output);
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
  ctx.stem = sideFileStem(a.model);
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

std::string zeroPivotText(const BandOutcome& outcome) {
  return formatText("MODELO CON PROBLEMAS(VERIFICAR)\ns[%d,1]= %lf  \n"
                    " PRESIONE UNA TECLA PARA TERMINAR EL PROGRAMA ANORMALMENTE",
                    outcome.row, outcome.pivot);
}

std::string sideFileStem(const std::string& modelFileName) {
  // A dot in a directory name ("./viga.dat", "obra.v2/viga.dat") is not the
  // extension's: cutting there would put the side files elsewhere, hidden.
  const size_t slash = modelFileName.rfind('/');
  const size_t nameStart = slash == std::string::npos ? 0 : slash + 1;
  return modelFileName.substr(0, modelFileName.find('.', nameStart));
}

namespace {
int run(const std::vector<std::string>& args, Console& console) {
  checkCommandLine(args);
  AnalysisContext ctx;
  ctx.args = {args[0], args[1], args[2], args[3], args[4], args[5]};
  openFiles(ctx);
  console.write("  Presione una tecla para continuar\n");
  console.waitKey();
  TraceFiles traces(ctx, console);
  readAndAssemble(ctx, &traces);
  applySupportsAndTies(ctx);
  const BandOutcome solution = solveBand(ctx, &traces);
  if (solution.status != BandStatus::kSolved) {
    commitTracesSoFar(ctx);
    throw RunError(zeroPivotText(solution), true);
  }
  computeBarResults(ctx);
  computeReactions(ctx);
  writeResults(ctx);
  commit(outputsOf(ctx));
  return 0;
}
}  // namespace

const ConsoleProgram kCalcest{run, "ERROR: MEMORIA INSUFICIENTE PARA LAS TABLAS DEL MODELO\n"};

}  // namespace calcest
