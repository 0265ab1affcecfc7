#pragma once
// The window's commands: menu items and the keys that act whatever has the focus.
#include <wx/defs.h>

namespace vigas::app {

enum Command {
  kNewBeam = wxID_HIGHEST + 1,
  kInsertRow,
  kAppendRow,
  kDeleteRow,
  kAddCase,
  kRenameCase,
  kRemoveCase,
  kAnalyse,
  kReport,
  kEnvelope,
  kDesign,
  kSpansView,
  kBarsView,
  kNoModes,
  kModesOption,  // kModesOption + k runs calcdin with option kModesOptions[k]
  kNextTable = kModesOption + 8,
  kPreviousTable,
  kFirstTable,                // kFirstTable + k goes to page k (Ctrl+1 ... Ctrl+9)
  kRecent = kFirstTable + 20  // kRecent + k opens recent file k
};

}  // namespace vigas::app
