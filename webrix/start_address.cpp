#include "start_address.h"

#include <cstdio>
#include <cstdlib>
#include <sstream>

namespace webrix {

CommandLine parseCommandLine(const std::string& text) {
  CommandLine line;
  std::istringstream in(text);
  if (!(in >> line.document)) return line;
  line.words = 1;
  if (!(in >> line.address)) return line;
  line.words = 2;
  std::string number;
  if (in >> number) {
    char* end = nullptr;
    long value = std::strtol(number.c_str(), &end, 10);
    if (end != number.c_str()) {
      line.number = static_cast<int>(value);
      line.words = 3;
    }
  }
  return line;
}

std::string joinArguments(int argc, const char* const* argv) {
  std::string text;
  for (int i = 1; i < argc; ++i) {
    if (i > 1) text += ' ';
    text += argv[i];
  }
  return text;
}

ServerFile readServerFile(const std::string& path) {
  ServerFile result;
  FILE* file = std::fopen(path.c_str(), "r");
  if (!file) return result;
  result.opened = true;
  std::string words;
  int c;
  while ((c = std::fgetc(file)) != EOF) words += static_cast<char>(c);
  std::fclose(file);
  std::istringstream in(words);
  std::string word;
  while (result.words < 3 && in >> word) {
    ++result.words;
    if (result.words == 3) result.address = word;
  }
  return result;
}

StartAddress chooseStartAddress(const CommandLine& line, const std::function<ServerFile()>& readServer) {
  if (line.words < 2)
    return {kBlankPage,
            "The command line gives no start address.\n"
            "Start Webrix as: Webrix FILE ADDRESS NUMBER (ADDRESS may be NULO to use servidor.txt).\n"
            "A blank page is shown."};
  if (line.address != "NULO") return {line.address, ""};
  ServerFile server = readServer();
  if (!server.opened)
    return {kBlankPage, std::string("Cannot open ") + kServerFile + ", which holds the start address.\nA blank page is shown."};
  if (server.words < 3)
    return {kBlankPage, std::string(kServerFile) +
                            " holds no start address: its third word is missing.\nA blank page is shown."};
  return {server.address, ""};
}

std::string missingFileMessage(const std::string& name) {
  return name + "\nCannot find this file.\nPlease verify that the correct path and file name are given.";
}

std::string fileDialogWildcard(const std::string& filter) {
  std::string result = filter;
  while (result.size() >= 2 && result.compare(result.size() - 2, 2, "||") == 0) result.erase(result.size() - 1);
  if (!result.empty() && result.back() == '|') result.pop_back();
  // Only whole "*.*" patterns: between '|' or ';' separators.
  std::string out;
  size_t start = 0;
  while (start <= result.size()) {
    size_t end = result.find_first_of("|;", start);
    std::string piece = result.substr(start, end == std::string::npos ? std::string::npos : end - start);
    out += piece == "*.*" ? "*" : piece;
    if (end == std::string::npos) break;
    out += result[end];
    start = end + 1;
  }
  return out;
}

}  // namespace webrix
