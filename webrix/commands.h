#pragma once
// Command ids and texts of Webrix's own commands.
#include <wx/defs.h>

namespace webrix {

enum Command {
  kStop = 32771,
  kRefresh = 32772,
  kBack = 32773,
  kForward = 32774,
  kStartPage = 32775,
  kViewToolbar = 32800,
  kViewStatusBar = 32801,
};

// Status-bar prompt and short name ("prompt\nname") of each command.
inline constexpr const char* kStopPrompt = "Stops opening a file.\nStop";
inline constexpr const char* kRefreshPrompt = "Refreshes the contents of the current page.\nRefresh";
inline constexpr const char* kBackPrompt = "Goes back one step.\nBack";
inline constexpr const char* kForwardPrompt = "Goes forward one step.\nForward";
inline constexpr const char* kStartPagePrompt = "Opens your start page.\nStart Page";

inline constexpr const char* kProgramName = "Webrix";
inline constexpr const char* kIdleMessage = "Ready";

}  // namespace webrix
