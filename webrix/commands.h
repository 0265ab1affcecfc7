#pragma once
// Command ids and texts of Webrix's own commands.
#include <wx/defs.h>

namespace webrix {

// (The toolkit takes menu ids below 0x7fff only.)
enum Command {
  kStop = wxID_HIGHEST + 1,
  kRefresh,
  kBack,
  kForward,
  kStartPage,
  kViewToolbar,
  kViewStatusBar,
  kGoTypedAddress,   // Enter in the address box (the text is in the event)
  kGoListedAddress,  // an entry chosen from the address box's list
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
