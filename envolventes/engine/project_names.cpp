#include "envolventes/engine/project_names.h"

#include <sys/stat.h>

#include <cstdio>
#include <cstdlib>
#include <filesystem>
#include <utility>
#include <vector>

#include "common/file_names.h"
#include "common/format.h"
#include "envolventes/engine/line_reader.h"

namespace envelope {

using namespace common;
namespace {

bool exists(const std::string& path) {
  std::error_code error;
  return std::filesystem::exists(path, error);
}

// First line of a file; false when it does not open or is empty.
bool firstLine(const std::string& path, std::string& line) {
  FileHandle file = openForReading(path);
  return file && LineReader(file.get()).next(line);
}

// An envelope list starts with its count alone; a model's title line holds a
// word and two codes.
bool isModelFile(const std::string& path) {
  std::string line;
  if (!firstLine(path, line) || isBlank(line)) return false;
  char* end = nullptr;
  std::strtol(line.c_str(), &end, 10);
  return end == line.c_str() || !isBlank(end);
}

// calcest's results start with the model's title line; an envelope report with
// its node header.
bool isStaticResults(const std::string& path) {
  std::string line;
  int echoed, unitCode;
  return firstLine(path, line) && std::sscanf(line.c_str(), "%*s %d %d", &echoed, &unitCode) == 2;
}

}  // namespace

bool isProjectName(const std::string& name) {
  return exists(fileOf(name, kDiagramExt)) || exists(fileOf(name, kLoadsExt)) || isModelFile(fileOf(name, kModelExt)) ||
         isStaticResults(fileOf(name, kResultsExt));
}

EnvelopeNameCheck checkEnvelopeName(const std::string& name, const std::vector<std::string>& projects) {
  if (name.empty()) return EnvelopeNameCheck::Empty;
  if (isProjectName(name)) return EnvelopeNameCheck::ProjectName;
  // The envelope's own report and force table, looked at once for every project.
  std::vector<std::pair<const char*, struct stat>> ownFiles;
  for (const char* ext : {kResultsExt, kForceTableExt}) {
    struct stat info;
    if (::stat(fileOf(name, ext).c_str(), &info) == 0) ownFiles.push_back({ext, info});
  }
  for (const std::string& project : projects) {
    if (project == name) return EnvelopeNameCheck::ProjectName;
    for (const auto& [ext, mine] : ownFiles) {
      struct stat info;
      if (::stat(fileOf(project, ext).c_str(), &info) == 0 && info.st_dev == mine.st_dev && info.st_ino == mine.st_ino)
        return EnvelopeNameCheck::ProjectName;
    }
  }
  return EnvelopeNameCheck::Usable;
}

std::string envelopeNameFault(const std::string& name) {
  if (name.size() > kMaxEnvelopeNameLength)
    return formatText("ERROR: EL NOMBRE DE ENVOLVENTE TIENE M\xC1S DE %zu CARACTERES", kMaxEnvelopeNameLength);
  for (unsigned char c : name) {
    if (c == ' ') return "ERROR: EL NOMBRE DE ENVOLVENTE NO PUEDE TENER ESPACIOS EN BLANCO";
    if (c == '/' || c == '\\') return "ERROR: EL NOMBRE DE ENVOLVENTE NO PUEDE NOMBRAR UN DIRECTORIO (/ O \\)";
    // A line break would end a command of the scripts and start one of its own.
    if (c < 0x20 || c == 0x7F || c == 0x81 || c == 0x8D || c == 0x8F || c == 0x90 || c == 0x9D)
      return formatText(
          "ERROR: EL NOMBRE DE ENVOLVENTE LLEVA EL CAR\xC1"
          "CTER DE C\xD3"
          "DIGO %u, QUE NO ES UNA LETRA "
          "DE WINDOWS-1252",
          static_cast<unsigned>(c));
  }
  return "";
}

}  // namespace envelope
