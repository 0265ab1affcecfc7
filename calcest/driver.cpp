// The run of calcest: command line, files, computation, result files, exit status.
#include <cstdlib>
#include <new>
#include <stdexcept>

#include "capacities.h"
#include "console.h"
#include "loads.h"
#include "phases.h"
#include "run_error.h"

namespace calcest {

namespace {
const char* const kOutOfMemory = "ERROR: MEMORIA INSUFICIENTE PARA LAS TABLAS DEL MODELO\n";

void checkCommandLine(const std::vector<std::string>& args) {
  if (args.size() != 6) throw RunError("ERROR EN LINEA DE ORDENES (LLEVA SEIS DATOS )", true);
  if (args[0].size() > kMaxModelNameLength)
    throw RunError(formatText("ERROR: EL NOMBRE DEL FICHERO DE DATOS TIENE M\xC1S DE %zu CARACTERES\n",
                              kMaxModelNameLength),
                   true);
}

// The files named on the command line and the traces esfuerzos.txt and
// fp_pruebak.txt. Both inputs are opened first: a run that cannot start must
// leave every result of the last run as it was (calcdin reads its bar record
// file with its model).
void openMainFiles(AnalysisContext& ctx) {
  const CommandLine& a = ctx.args;
  ctx.modelFile = openFile(a.model, "r");
  ctx.loadsFile = openFile(a.loads, "r");
  ctx.results.open(a.results);
  ctx.diagram.open(a.diagram);
  ctx.barRecordFile = openFile(a.barRecords, "wb+");
  ctx.esfuerzos.open("esfuerzos.txt");
  ctx.fpPrueba.open("fp_pruebak.txt");
  ctx.model = std::make_unique<Scanner>(ctx.modelFile.get(), a.model);
  ctx.loads = std::make_unique<Scanner>(ctx.loadsFile.get(), a.loads);
}

// The side files named after the model file: .kar, .kra, .tst, .gan, .def.
void openSideFiles(AnalysisContext& ctx) {
  ctx.stem = sideFileStem(ctx.args.model);
  ctx.kar.open(ctx.stem + ".kar");
  ctx.kra.open(ctx.stem + ".kra");
  if (!ctx.tst.tryOpen(ctx.stem + ".tst")) throw RunError("NO PUDO ABRIR EL FICHERO .tst", true);
  ctx.gan.open(ctx.stem + ".gan");
  ctx.def.open(ctx.stem + ".def");
}

}  // namespace

void openFiles(AnalysisContext& ctx) {
  openMainFiles(ctx);
  openSideFiles(ctx);
}

void readAndAssemble(AnalysisContext& ctx) {
  readHeaderAndEcho(ctx);
  readModelTables(ctx);
  computeAllElementMatrices(ctx);  // the loads need T
  readAndApplyBarLoads(*ctx.loads, ctx.bars);
  writeSelfWeight(ctx);
  readSupportsTiesAndNodalLoads(ctx);
  allocateBand(ctx);
  buildLoadVector(ctx);
  assembleStiffness(ctx);
}

void compute(AnalysisContext& ctx) {
  readAndAssemble(ctx);
  applySupportsAndTies(ctx);
  solveBand(ctx);
  computeBarResults(ctx);
  computeReactions(ctx);
}

std::string sideFileStem(const std::string& modelFileName) {
  // A dot in a directory name ("./viga.dat", "obra.v2/viga.dat") is not the
  // extension's: cutting there would put the side files elsewhere, hidden.
  const size_t slash = modelFileName.rfind('/');
  const size_t nameStart = slash == std::string::npos ? 0 : slash + 1;
  return modelFileName.substr(0, modelFileName.find('.', nameStart));
}

int runCalcest(const std::vector<std::string>& args) {
  TerminalConsole console;
  int status = 0;
  try {
    checkCommandLine(args);
    AnalysisContext ctx;
    ctx.args = {args[0], args[1], args[2], args[3], args[4], args[5]};
    openFiles(ctx);
    consoleWrite("  Presione una tecla para continuar\n");
    waitKey();
    compute(ctx);
    writeResults(ctx);
  } catch (const RunError& error) {
    status = reportRunError(error, console);
  } catch (const std::bad_alloc&) {
    status = reportRunError(RunError(kOutOfMemory), console);
  } catch (const std::length_error&) {
    status = reportRunError(RunError(kOutOfMemory), console);
  }
  std::fflush(stdout);
  return status;
}

}  // namespace calcest
