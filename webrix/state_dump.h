#pragma once
// A small observation hook for tests and support: when the environment
// variable VIGAS_WEBRIX_STATE names a file, Webrix rewrites that file after
// every browser event with what a person would see (caption, address box and
// its list) and what the browser holds (current and last requested address).
// Format: one "key=value" line per item, then one "entry=" line per list entry.
#include <string>
#include <vector>

namespace webrix {

inline constexpr const char* kStateVariable = "VIGAS_WEBRIX_STATE";

struct BrowserState {
  std::string event;                 // what caused this snapshot
  std::string caption;               // the main window's title
  std::string address;               // text of the address box
  std::string url;                   // address of the page in the browser
  std::string requested;             // the last address the program asked for
  std::vector<std::string> entries;  // the address box's drop-down list
  int box[4] = {0, 0, 0, 0};         // address box on screen: x, y, width, height
};

std::string formatState(const BrowserState& state);

// Replaces the file in one step (write aside, then rename), so a reader never
// sees half a snapshot.
void writeStateFile(const std::string& path, const BrowserState& state);

}  // namespace webrix
