#pragma once
// Started from the desktop's menu, a window program starts in the home folder,
// where no project is. Its menu entry passes kAskFolderFlag first: the program
// then asks for the project folder, offering the one chosen last (by any
// window program of the suite), and goes on as when started in that folder.
#include <wx/string.h>

namespace guicommon {

inline constexpr const char* kAskFolderFlag = "--carpeta";

// Takes the flag out of argv when it is the first argument; true when it was.
bool takeAskFolderFlag(int& argc, char** argv);

// Asks for the project folder and makes it the working folder, remembering
// it. False when the user cancels.
bool askProjectFolder();

}  // namespace guicommon
