#include "guicommon/menus.h"

#include <wx/menu.h>

namespace guicommon {

wxMenuBar* menuBarOf(std::initializer_list<std::pair<wxMenu*, const char*>> menus) {
  auto* bar = new wxMenuBar;
  for (const auto& [menu, title] : menus) bar->Append(menu, title);
  return bar;
}

}  // namespace guicommon
