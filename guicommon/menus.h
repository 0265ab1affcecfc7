#pragma once
// The menu bar of a window program, built from its menus in order, and the
// keys the programs give the actions they share.
#include <initializer_list>
#include <string>
#include <utility>

class wxMenu;
class wxMenuBar;

namespace guicommon {

// A menu bar holding each menu under its title ("&File").
wxMenuBar* menuBarOf(std::initializer_list<std::pair<wxMenu*, const char*>> menus);

// The actions every window program that has them reaches by the same key,
// the desktop's (the guide's F1 is kGuideMenuText's).
enum class SharedCommand { open, save, print, quit };

// The command's key as a menu writes it ("Ctrl+O").
const char* sharedKey(SharedCommand command);
// A menu item's text: `label`, a tab, the command's key.
std::string sharedItem(const std::string& label, SharedCommand command);

}  // namespace guicommon
