#include "calcdin/driver.h"

#include <unistd.h>

#include <algorithm>
#include <cerrno>
#include <cmath>
#include <cstdio>
#include <fstream>
#include <sstream>
#include <string>

#include "calcdin/assembly.h"
#include "common/console.h"
#include "common/file_handle.h"
#include "calcdin/jacobi.h"
#include "calcdin/modal_model.h"
#include "calcdin/results_file.h"
#include "common/run_error.h"
#include "common/safe_output.h"

namespace calcdin {

using namespace common;

namespace {

RunError cannotOpen(const char* what, const char* name) {
  return RunError(formatText("ERROR: NO SE PUEDE ABRIR EL FICHERO %s %s\n", what, name));
}

FileHandle openInput(const char* name, const char* mode, const char* what) {
  // Inputs must be plain files: a directory would read as empty, a FIFO block.
  FileHandle file = openInputFile(name, mode);
  if (!file) throw cannotOpen(what, name);
  return file;
}

// The modes file is written aside and put in place only when the run is
// complete: until then the last complete one stays. One that is an input (by
// name or through a link) is refused before anything is written.
void openResults(PendingFile& results, const std::vector<std::string>& args) {
  const SameFile same = outputThatIsAnInput({args[2]}, {args[0], args[1]});
  if (!same.output.empty()) throw RunError(sameFileText("calcdin", same, "NO SE HA ESCRITO NADA"));
  if (results.open(args[2])) return;
  if (errno == EPERM) throw RunError(notReplaceableText(args[2]) + "\n");
  throw cannotOpen("DE RESULTADOS", args[2].c_str());
}

// Results cut short (a full disk) are not a finished run.
void commitResults(PendingFile& results) {
  if (!mayTakeName(results.path()) && errno == EPERM) throw RunError(notReplaceableText(results.path()) + "\n");
  if (!results.commit())
    throw RunError(formatText("ERROR: NO SE PUDO ESCRIBIR EL FICHERO DE RESULTADOS %s\n", results.path().c_str()));
}

void reportOption(int option, const Elimination& elimination, Console& console) {
  if (option == kOptionFree) {
    console.write("Todas las direcciones sin restricci\xF3n    [1]\n");
    console.write(formatText("Cantidad de direcciones TOTAL       :  %d  \n", elimination.total));
    console.write("Cantidad de direcciones a eliminar:      0\n");
  } else if (solvesReducedSystem(option)) {
    console.write(option == kOptionSupports
                      ? "Elimina restricciones de apoyo[NO APOYOS ELASTICOS DIRECCION VERTICAL]    [0]\n"
                      : "Elimina restricciones de apoyo total[INCLUYE APOYOS ELASTICOS DIRECCION VERTICAL]    [2]\n");
    console.write(formatText("Cantidad de direcciones TOTAL       :  %d  \n", elimination.total));
    console.write(formatText("Cantidad de direcciones a eliminar:    %d  \n", elimination.ne()));
    console.write(formatText("Cantidad de direcciones libres      :  %d  \n", elimination.nf()));
  } else {
    return;
  }
  console.write("Presione una tecla para continuar\n");
  console.waitKey();
}

void checkMemory(double N, double n, bool reduced) {
  const double need = denseMemoryNeed(N, n, reduced);
  const double available = availableMemory();
  if (need > available)
    throw RunError(
        formatText("ERROR: MEMORIA INSUFICIENTE: LAS MATRICES DE %.0f DIRECCIONES NECESITAN %.0f MB "
                   "Y SOLO HAY %.0f MB DISPONIBLES\n",
                   N, need / 1048576.0, available / 1048576.0));
}

// Prints "NSW: %d\n" as each sweep starts; a failed solution ends the run.
ModalSolution solveOrStop(PairMatrix& system, Console& console) {
  ModalSolution solution =
      solveGeneralizedJacobi(system, [&console](int sweep) { console.write(formatText("NSW: %d\n", sweep)); });
  if (solution.status != JacobiStatus::kOk) throw RunError(jacobiFailureText(solution), true);
  const std::string notFinite = nonFiniteModeText(solution);
  if (!notFinite.empty()) throw RunError(notFinite, true);
  return solution;
}

// args: model file, bar record file, results file, elimination option.
int run(const std::vector<std::string>& args, Console& console) {
  if (args.size() != 4) {
    console.write("ERROR EN LINEA DE ORDENES (LLEVA CUATRO DATOS)");
    return 1;
  }
  FileHandle modelFile = openInput(args[0].c_str(), "r", "DE MODELO");
  FileHandle barFile = openInput(args[1].c_str(), "rb", "DE BARRAS");
  PendingFile resultsFile;
  openResults(resultsFile, args);
  int option = 0;  // a fourth argument that is not a number leaves option 0
  std::sscanf(args[3].c_str(), "%d", &option);

  Scanner scanner(modelFile.get(), args[0]);
  ModalModel model = readModalModel(scanner);
  const int nn = model.header.nn, nb = model.header.nb;
  // K and M alone must fit before any direction count is formed.
  checkMemory(3.0 * nn, 0.0, true);
  Elimination elimination = eliminateSupports(model.supports, nn, option);
  BarRecordFile records(barFile.get(), args[1]);
  records.checkRecordCount(nb);

  const bool reduced = solvesReducedSystem(option);
  const int n = reduced ? elimination.nf() : elimination.total;
  checkMemory(elimination.total, n, reduced);
  PairMatrix full(elimination.total);

  reportOption(option, elimination, console);
  assembleAll(full, records, model.bars, option, elimination, console);
  addVerticalSprings(full, verticalSprings(model.supports, option));
  if (option == kOptionAssembleOnly) {
    commitResults(resultsFile);  // empty, as it has always been left
    return 0;
  }

  if (n == 0) throw RunError("ERROR: NO QUEDA NINGUNA DIRECCI\xD3N LIBRE: NO HAY MODOS DE VIBRACI\xD3N QUE CALCULAR\n");
  std::vector<int> direction;
  ModalSolution solution;
  if (reduced) {
    std::vector<bool> keep = elimination.isEliminated;
    keep.flip();
    PairMatrix system = reduceSystem(full, keep, n);
    full.release();
    solution = solveOrStop(system, console);
    direction = elimination.freeDirections;
  } else {
    solution = solveOrStop(full, console);
    direction.resize(static_cast<std::size_t>(n) + 1);
    for (int i = 0; i <= n; ++i) direction[i] = i;
  }
  writeModalResults(resultsFile.file(), solution, direction);
  commitResults(resultsFile);
  return 0;
}

}  // namespace

std::string jacobiFailureText(const ModalSolution& solution) {
  switch (solution.status) {
    case JacobiStatus::kOk: return "";
    case JacobiStatus::kNotConverged: return "NO HAY CONVERGENCIA\n";
    case JacobiStatus::kNegativeDiscriminant: return "ERROR cab menor que CERO\n";
    case JacobiStatus::kZeroStiffness:
      return formatText("ERROR: RIGIDEZ NULA EN LA DIAGONAL %d AL GIRAR EL PAR (%d,%d)\n", solution.diagonal,
                        solution.k, solution.j);
    case JacobiStatus::kZeroMass:
      return formatText("ERROR: MASA NULA EN LA DIAGONAL %d: EL MODO NO SE PUEDE NORMALIZAR\n", solution.diagonal);
  }
  return "";
}

std::string nonFiniteModeText(const ModalSolution& solution) {
  for (int i = 1; i <= solution.n; ++i) {
    bool finite = std::isfinite(solution.lambda[i]);
    for (int m = 1; finite && m <= solution.n; ++m) finite = std::isfinite(solution.phi(m, i));
    if (!finite)
      return formatText("ERROR: EL MODO %d NO ES UN N\xDAMERO FINITO: REVISE E, G, A, I Y LA MASA DE LAS BARRAS\n", i);
  }
  return "";
}

double denseMemoryNeed(double N, double n, bool reduced) {
  const double full = N + 1.0;
  const double solved = n + 1.0;
  // K and M side by side, then (reduced) S and Q while K and M still exist, or
  // (full) the eigenvectors next to K and M.
  double peak = 16.0 * full * full + (reduced ? 16.0 * solved * solved : 8.0 * full * full);
  if (reduced) peak = std::max(peak, 24.0 * solved * solved);
  return peak;
}

double availableMemory() {
  std::ifstream meminfo("/proc/meminfo");
  std::string line;
  while (std::getline(meminfo, line)) {
    std::istringstream fields(line);
    std::string key;
    double kilobytes = 0;
    if (fields >> key >> kilobytes && key == "MemAvailable:") return kilobytes * 1024.0;
  }
  return static_cast<double>(sysconf(_SC_PHYS_PAGES)) * static_cast<double>(sysconf(_SC_PAGE_SIZE));
}

const ConsoleProgram kCalcdin{run, "ERROR: MEMORIA INSUFICIENTE PARA LAS MATRICES DEL MODELO\n"};

}  // namespace calcdin
