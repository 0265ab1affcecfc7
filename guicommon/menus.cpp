#include "guicommon/menus.h"

#include <wx/menu.h>

namespace guicommon {

wxMenuBar* menuBarOf(std::initializer_list<std::pair<wxMenu*, const char*>> menus) {
  auto* bar = new wxMenuBar;
  for (const auto& [menu, title] : menus) bar->Append(menu, title);
  return bar;
}

const char* sharedKey(SharedCommand command) {
  switch (command) {
    case SharedCommand::open: return "Ctrl+O";
    case SharedCommand::save: return "Ctrl+S";
    case SharedCommand::print: return "Ctrl+P";
    default: return "Ctrl+Q";
  }
}

std::string sharedItem(const std::string& label, SharedCommand command) { return label + "\t" + sharedKey(command); }

}  // namespace guicommon
