#include "webrix/state_dump.h"

#include <cstdio>

namespace webrix {

std::string formatState(const BrowserState& state) {
  std::string text = "event=" + state.event + "\ncaption=" + state.caption + "\naddress=" + state.address +
                     "\nurl=" + state.url + "\nrequested=" + state.requested + "\nbox=" + std::to_string(state.box[0]) +
                     "," + std::to_string(state.box[1]) + "," + std::to_string(state.box[2]) + "," +
                     std::to_string(state.box[3]) + "\nentries=" + std::to_string(state.entries.size()) + "\n";
  for (const std::string& entry : state.entries) text += "entry=" + entry + "\n";
  return text;
}

void writeStateFile(const std::string& path, const BrowserState& state) {
  std::string aside = path + ".new";
  FILE* file = std::fopen(aside.c_str(), "w");
  if (!file) return;
  std::string text = formatState(state);
  std::fwrite(text.data(), 1, text.size(), file);
  std::fclose(file);
  std::rename(aside.c_str(), path.c_str());
}

}  // namespace webrix
