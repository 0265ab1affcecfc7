#include "modal_console.h"

#include "console.h"

namespace calcdin {

void TerminalConsole::write(std::string_view cp1252Text) { consoleWrite(cp1252Text); }
void TerminalConsole::waitKey() { ::waitKey(); }

}  // namespace calcdin
