#pragma once
// The menu bar of a window program, built from its menus in order.
#include <initializer_list>
#include <utility>

class wxMenu;
class wxMenuBar;

namespace guicommon {

// A menu bar holding each menu under its title ("&File").
wxMenuBar* menuBarOf(std::initializer_list<std::pair<wxMenu*, const char*>> menus);

}  // namespace guicommon
