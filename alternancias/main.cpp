#include "alternancias/run.h"
#include "common/process_start.h"

int main(int argc, char** argv) {
  common::hardenProcess();
  return common::runConsoleProgram(argc, argv, alternancias::kAlternancias);
}
