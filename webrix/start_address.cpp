#include "webrix/start_address.h"

#include <cctype>
#include <cstdio>
#include <cstdlib>
#include <cstring>
#include <filesystem>
#include <sstream>

#include "common/file_handle.h"

namespace webrix {

using namespace common;

CommandLine commandLineOf(const std::vector<std::string>& arguments) {
  CommandLine line;
  if (arguments.empty()) return line;
  line.document = arguments[0];
  line.words = 1;
  if (arguments.size() < 2) return line;
  line.address = arguments[1];
  line.words = 2;
  if (arguments.size() < 3) return line;
  const std::string& number = arguments[2];
  char* end = nullptr;
  const long value = std::strtol(number.c_str(), &end, 10);
  if (end != number.c_str()) {
    line.number = static_cast<int>(value);
    line.words = 3;
  }
  return line;
}

CommandLine parseCommandLine(const std::string& text) {
  std::istringstream in(text);
  std::vector<std::string> words;
  for (std::string word; words.size() < 3 && in >> word;) words.push_back(word);
  return commandLineOf(words);
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
  FileHandle file = openInputFile(path);
  if (!file) return result;
  result.opened = true;
  std::string words;
  int c;
  while ((c = std::fgetc(file.get())) != EOF) words += static_cast<char>(c);
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
    return {kBlankPage,
            std::string("Cannot open ") + kServerFile + ", which holds the start address.\nA blank page is shown."};
  if (server.words < 3)
    return {kBlankPage,
            std::string(kServerFile) + " holds no start address: its third word is missing.\nA blank page is shown."};
  return {server.address, ""};
}

namespace {
bool hasScheme(const std::string& text) {
  size_t colon = text.find(':');
  if (colon == std::string::npos || colon == 0 || !std::isalpha(static_cast<unsigned char>(text[0]))) return false;
  for (size_t i = 1; i < colon; ++i) {
    unsigned char c = static_cast<unsigned char>(text[i]);
    if (!std::isalnum(c) && c != '+' && c != '-' && c != '.') return false;
  }
  if (text.compare(colon, 3, "://") == 0) return true;
  // Schemes written without "//"; "host:8080" is a host and a port, not one.
  static const char* const kBare[] = {"about", "data", "mailto", "javascript", "view-source", "blob"};
  std::string scheme = text.substr(0, colon);
  for (char& c : scheme) c = static_cast<char>(std::tolower(static_cast<unsigned char>(c)));
  for (const char* bare : kBare)
    if (scheme == bare) return true;
  return false;
}

std::string fileAddress(const std::filesystem::path& path) {
  static const char* const kHex = "0123456789ABCDEF";
  std::string out = "file://";
  for (unsigned char c : path.string()) {
    if (std::isalnum(c) || std::strchr("/-._~!$&'()*+,;=:@", c)) {
      out += static_cast<char>(c);
    } else {
      out += '%';
      out += kHex[c >> 4];
      out += kHex[c & 15];
    }
  }
  return out;
}
}  // namespace

std::string browserAddress(const std::string& text, const std::string& base) {
  const size_t first = text.find_first_not_of(" \t\r\n");
  if (first == std::string::npos) return text;
  std::string address = text.substr(first, text.find_last_not_of(" \t\r\n") - first + 1);
  if (hasScheme(address)) return address;
  std::error_code error;
  std::filesystem::path path(address);
  if (path.is_relative()) path = std::filesystem::path(base) / path;
  if (std::filesystem::exists(path, error)) return fileAddress(path.lexically_normal());
  return "http://" + address;
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
