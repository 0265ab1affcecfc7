#include "text_out.h"

#include <cstdlib>

#include "run_error.h"

namespace {
constexpr size_t kBufferSize = 1 << 18;
}

bool TextOut::tryOpen(const std::string& name) {
  close();
  file_ = std::fopen(name.c_str(), "w");
  if (!file_) return false;
  buffer_ = static_cast<char*>(std::malloc(kBufferSize));
  if (buffer_) std::setvbuf(file_, buffer_, _IOFBF, kBufferSize);
  return true;
}

void TextOut::open(const std::string& name) {
  if (!tryOpen(name)) throw RunError("NO PUDO ABRIR EL FICHERO " + name, true);
}

void TextOut::close() {
  if (file_) std::fclose(file_);
  file_ = nullptr;
  std::free(buffer_);
  buffer_ = nullptr;
}
