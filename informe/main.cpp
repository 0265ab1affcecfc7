// informe: the report of one analysed beam (model, diagrams, modes) as a page.
#include <string>
#include <vector>

#include "informe/run.h"

int main(int argc, char** argv) { return informe::runInforme(std::vector<std::string>(argv + 1, argv + argc)); }
