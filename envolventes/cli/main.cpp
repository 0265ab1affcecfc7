#include <string>
#include <vector>

#include "envolventes/cli/batch.h"

int main(int argc, char** argv) { return envelope::runBatch(std::vector<std::string>(argv + 1, argv + argc)); }
