// The one handler of the console programs, through a recording console: how a
// run that ends early is told, and each program's own words for it.
#include "common/console_program.h"

#include <gtest/gtest.h>

#include <new>
#include <stdexcept>
#include <string>
#include <vector>

#include "alternancias/run.h"
#include "calcdin/driver.h"
#include "calcest/phases.h"
#include "envolventes/cli/batch.h"
#include "informe/run.h"

using namespace common;

namespace {

using Args = std::vector<std::string>;

struct Ending {
  std::string text;
  int keyWaits = 0;
  int status = -1;
};

Ending runRecorded(const ConsoleProgram& program, const Args& args) {
  RecordingConsole console;
  const int status = runConsoleProgram(args, console, program);
  return {console.text, console.keyWaits, status};
}

int runOutOfMemory(const Args&, Console&) { throw std::bad_alloc(); }

TEST(ConsoleProgram, TellsHowTheRunEnded) {
  struct Case {
    const char* what;
    int (*run)(const Args&, Console&);
    std::string text;
    int keyWaits, status;
  };
  const Case cases[] = {
      {"a run that ends itself",
       [](const Args&, Console& c) {
         c.write("hecho\n");
         return 0;
       },
       "hecho\n", 0, 0},
      {"its own status", [](const Args&, Console&) { return 2; }, "", 0, 2},
      {"an error", [](const Args&, Console&) -> int { throw RunError("ERROR: UNO\n"); }, "ERROR: UNO\n", 0, 1},
      {"an error that waits and has a status",
       [](const Args&, Console& c) -> int {
         c.write("  Presione una tecla para continuar\n");
         throw RunError("ERROR: DOS", true, 3);
       },
       "  Presione una tecla para continuar\nERROR: DOS", 1, 3},
      {"no memory", runOutOfMemory, "SIN MEMORIA\n", 0, 1},
      {"a table too long", [](const Args&, Console&) -> int { throw std::length_error("vector"); }, "SIN MEMORIA\n", 0,
       1},
  };
  for (const Case& c : cases) {
    const Ending ending = runRecorded({c.run, "SIN MEMORIA\n"}, {});
    EXPECT_EQ(ending.text, c.text) << c.what;
    EXPECT_EQ(ending.keyWaits, c.keyWaits) << c.what;
    EXPECT_EQ(ending.status, c.status) << c.what;
  }
}

TEST(ConsoleProgram, WithoutWordsForMemoryTheExceptionGoesOn) {
  RecordingConsole console;
  EXPECT_THROW(runConsoleProgram({}, console, {runOutOfMemory, nullptr}), std::bad_alloc);
  EXPECT_EQ(console.text, "");
}

// Each program refusing an empty command line, and what it says when memory
// runs out: the texts and statuses users and scripts know.
TEST(ConsoleProgram, EachProgramKeepsItsWords) {
  struct Case {
    const char* name;
    const ConsoleProgram& program;
    Args args;
    std::string usage;
    int keyWaits;
    const char* outOfMemory;
  };
  const Case cases[] = {
      {"calcest",
       calcest::kCalcest,
       {},
       "ERROR EN LINEA DE ORDENES (LLEVA SEIS DATOS )",
       1,
       "ERROR: MEMORIA INSUFICIENTE PARA LAS TABLAS DEL MODELO\n"},
      {"calcdin",
       calcdin::kCalcdin,
       {},
       "ERROR EN LINEA DE ORDENES (LLEVA CUATRO DATOS)",
       0,
       "ERROR: MEMORIA INSUFICIENTE PARA LAS MATRICES DEL MODELO\n"},
      {"informe",
       informe::kInforme,
       {},
       "USO: informe PROYECTO [FICHERO_DE_MODOS]\n"
       "Lee PROYECTO.dat, PROYECTO.caf, PROYECTO.res y PROYECTO.fmc y escribe PROYECTO.html\n",
       0,
       "ERROR: NO HAY MEMORIA PARA EL INFORME\n"},
      {"alternancias",
       alternancias::kAlternancias,
       {"--tabla"},
       "uso: alternancias NOMBRE MODELO.dat PERMANENTES.caf VARIABLES.caf [--gG 1.35] [--gGinf 1.0] [--gQ 1.5]\n"
       "                  [--ancho 3000] [--alto 400] [--casos]\n"
       "     alternancias --tabla PROYECTO...\n",
       0,
       "ERROR: NO HAY MEMORIA PARA LAS ALTERNANCIAS\n"},
      {"envolventes-batch",
       envelope::kBatch,
       {},
       "uso: envolventes-batch NOMBRE ANCHO ALTO [PROYECTO...]\n"
       "  ANCHO 300..20000 y ALTO 200..2000 p\xEDxeles; hasta 50 proyectos (nombres sin extensi\xF3n)\n",
       0,
       nullptr},
  };
  for (const Case& c : cases) {
    const Ending usage = runRecorded(c.program, c.args);
    EXPECT_EQ(usage.text, c.usage) << c.name;
    EXPECT_EQ(usage.keyWaits, c.keyWaits) << c.name;
    EXPECT_EQ(usage.status, 1) << c.name;

    const ConsoleProgram withoutMemory{runOutOfMemory, c.program.outOfMemory};
    if (!c.outOfMemory) {
      RecordingConsole console;
      EXPECT_THROW(runConsoleProgram({}, console, withoutMemory), std::bad_alloc) << c.name;
      continue;
    }
    const Ending memory = runRecorded(withoutMemory, {});
    EXPECT_EQ(memory.text, c.outOfMemory) << c.name;
    EXPECT_EQ(memory.status, 1) << c.name;
  }
}

}  // namespace
