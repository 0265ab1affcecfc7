#pragma once
// How the suite's window programs show a page (a report, the user guide): in
// the suite's browser Webrix when it is installed (found as the suite's
// programs find each other, common/fellow_program.h), else in the desktop's
// browser (xdg-open, from PATH). Nothing waits for the browser.
#include <string>
#include <vector>

namespace common {

struct PageViewer {
  std::string name;               // "Webrix" or "xdg-open"; "" when there is neither
  std::vector<std::string> argv;  // the whole command line, argv[0] the program's path
  std::string folder;             // where it runs
};

// Webrix's arguments for a page: FILE ADDRESS NUMBER, the page being both the
// document and the start address.
std::vector<std::string> webrixCommandLine(const std::string& page);

// The command that shows the page at `page` (a path), without starting it.
PageViewer pageViewerFor(const std::string& page);

// Starts it: "" when it started, else why not (Windows-1252). `viewer`, when
// given, gets the viewer's name.
std::string showPage(const std::string& page, std::string* viewer = nullptr);

// The user guide beside the installed programs (PREFIX/share/vigas/guide.html
// for a program in PREFIX/bin): its path, or "" when it is not there.
std::string installedGuide();

}  // namespace common
