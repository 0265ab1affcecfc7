// Fuzz target: the start address file "servidor.txt" of Webrix, read when the
// command line gives "NULO"; the same bytes are also taken as a command line.
#include <cstdlib>
#include <string>

#include "fuzz/fuzz_input.h"
#include "webrix/start_address.h"

extern "C" int LLVMFuzzerTestOneInput(const uint8_t* data, size_t size) {
  FuzzFile input(data, size);
  if (!input.get()) return 0;
  const std::string path = "/proc/self/fd/" + std::to_string(fileno(input.get()));
  webrix::CommandLine line = webrix::parseCommandLine("documento.htm NULO 0");
  webrix::StartAddress start = webrix::chooseStartAddress(line, [&] { return webrix::readServerFile(path); });
  if (start.address.empty()) std::abort();  // an address or the blank page, always
  webrix::CommandLine typed = webrix::parseCommandLine(std::string(reinterpret_cast<const char*>(data), size));
  if (typed.words < 0 || typed.words > 3) std::abort();
  webrix::chooseStartAddress(typed, [&] { return webrix::readServerFile(path); });
  return 0;
}
