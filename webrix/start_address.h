#pragma once
// What Webrix works out before any window exists: its command line
// ("%s %s %d": document, start address or "NULO", a number that is not used),
// the start address file "servidor.txt", and the texts that go with failures.
// Kept free of the GUI toolkit so it can be tested on its own.
#include <functional>
#include <string>
#include <vector>

namespace webrix {

inline constexpr const char* kServerFile = "servidor.txt";
inline constexpr const char* kBlankPage = "about:blank";

struct CommandLine {
  int words = 0;         // how many of the three fields were found
  std::string document;  // token 1: opened as the document
  std::string address;   // token 2: start address or "NULO"
  int number = 0;        // token 3: read, not used
};

// The program's arguments (after its name) as the three fields, each taken as
// given: a document or an address may hold blanks ("mi viga.html"). A third
// argument that is no number is not counted, as with %d.
CommandLine commandLineOf(const std::vector<std::string>& arguments);

// Splits a command-line text the way "%s %s %d" reads it, but without a
// length limit on the words (a long address is never cut or overflowed).
CommandLine parseCommandLine(const std::string& text);

// The program's arguments joined with blanks, as one command-line text.
std::string joinArguments(int argc, const char* const* argv);

struct ServerFile {
  bool opened = false;
  int words = 0;        // whitespace-separated words found, up to three
  std::string address;  // the third word
};

// Reads the first three words of the start address file ("%s %s %s").
ServerFile readServerFile(const std::string& path);

struct StartAddress {
  std::string address;  // what the view navigates to first
  std::string problem;  // non-empty: tell the user (the page is left blank)
};

// Token 2 is the address unless it is exactly "NULO"; then the third word of
// servidor.txt is. Anything missing gives a blank page and a message.
StartAddress chooseStartAddress(const CommandLine& line, const std::function<ServerFile()>& readServer);

// What a browser's address box makes of typed text: an address with a scheme
// ("http://...", "about:blank") is kept; a local path that exists (relative to
// `base`, the current directory) becomes a file address; any other text gets
// "http://" in front.
std::string browserAddress(const std::string& text, const std::string& base);

// The framework-style text for a document that does not exist.
std::string missingFileMessage(const std::string& name);

// The file dialog filter of the Open command ("desc|patterns|...||") in the
// toolkit's wildcard syntax: no closing "||", and "*.*" as "*" so that files
// without an extension are listed too.
std::string fileDialogWildcard(const std::string& filter);

inline constexpr const char* kOpenFilter =
    "HTML Files|*.htm;*.html|Text Files|*.txt|GIF Files|*.gif|JPEG Files|*.jpg;*.jpeg|AU Files|*.au|"
    "AIFF Files|*.aif;*.aiff|XBM Files|*.xbm|All Files|*.*||";

}  // namespace webrix
