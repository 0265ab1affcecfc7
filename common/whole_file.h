#pragma once
// Whole files read and written in one go, with the suite's messages when that
// cannot be done.
#include <string>

namespace common {

// "ERROR: NO SE PUEDE LEER EL FICHERO path".
std::string cannotReadText(const std::string& path);

// The messages every program gives about a file it writes, without a line end:
// "ERROR: NO SE PUEDE CREAR EL FICHERO path" (it cannot be made) and "ERROR: NO
// SE PUDO ESCRIBIR EL FICHERO path" (made, but not written whole).
std::string cannotCreateText(const std::string& path);
std::string cannotWriteText(const std::string& path);

// The bytes of the file, or RunError(cannotReadText(path)).
std::string readWholeFile(const std::string& path);

// Writes `content` to `path` (created or truncated) and closes it, or throws
// RunError "ERROR: NO SE PUEDE CREAR EL FICHERO name" / "ERROR: NO SE PUDO
// ESCRIBIR EL FICHERO name", `name` being `shownName` when given (a file
// written aside under another name), else `path`.
void writeWholeFile(const std::string& path, const std::string& content, const std::string& shownName = "");

class PendingFiles;
// As writeWholeFile, into a new file of `files`, put in place as `path` only
// when the set is committed.
void writeAside(PendingFiles& files, const std::string& path, const std::string& content);

}  // namespace common
