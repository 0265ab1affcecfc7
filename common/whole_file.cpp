#include "whole_file.h"

#include <cstdio>
#include <fstream>
#include <iterator>

#include "file_handle.h"
#include "run_error.h"

std::string cannotReadText(const std::string& path) { return "ERROR: NO SE PUEDE LEER EL FICHERO " + path + "\n"; }

std::string readWholeFile(const std::string& path) {
  std::ifstream in(path, std::ios::binary);
  if (!in) throw RunError(cannotReadText(path));
  std::string content((std::istreambuf_iterator<char>(in)), std::istreambuf_iterator<char>());
  if (in.bad()) throw RunError(cannotReadText(path));
  return content;
}

void writeWholeFile(const std::string& path, const std::string& content, const std::string& shownName) {
  const std::string& name = shownName.empty() ? path : shownName;
  FileHandle out(std::fopen(path.c_str(), "wb"));
  if (!out) throw RunError("ERROR: NO SE PUEDE CREAR EL FICHERO " + name + "\n");
  const bool written = std::fwrite(content.data(), 1, content.size(), out.get()) == content.size();
  if (std::fclose(out.release()) != 0 || !written) throw RunError("ERROR: NO SE PUDO ESCRIBIR EL FICHERO " + name + "\n");
}
