#include "envolventes/engine/line_reader.h"

#include "envolventes/engine/message_sink.h"

namespace envelope {

using namespace common;

FileHandle openForReading(const std::string& path) {
  return openInputFile(path);
}

bool LineReader::next(std::string& line) {
  char buffer[512];
  if (!std::fgets(buffer, sizeof buffer, file_)) return false;
  line.assign(buffer);
  while (!line.empty() && line.back() != '\n' && std::fgets(buffer, sizeof buffer, file_)) line += buffer;
  return true;
}

std::string writeErrorText(const std::string& path) { return "ERROR: NO SE PUDO ESCRIBIR EL FICHERO " + path; }

bool closeWritten(FileHandle file, const std::string& path, MessageSink& sink) {
  bool ok = std::fflush(file.get()) == 0 && !std::ferror(file.get());
  ok = std::fclose(file.release()) == 0 && ok;
  if (!ok) sink.showMessage(writeErrorText(path));
  return ok;
}

bool isBlank(const std::string& text) {
  for (char ch : text)
    if (ch != ' ' && ch != '\t' && ch != '\r' && ch != '\n') return false;
  return true;
}

}  // namespace envelope
