#pragma once
// Whether a name belongs to a project of the working directory. An envelope
// writes NAME.res, NAME.esf and NAME.dat, names a project's files also have:
// a project's name is never taken for an envelope, whoever asks.
#include <cstddef>
#include <string>
#include <vector>

namespace envelope {

// True when `name` (a stem, possibly after a directory) names a project: beside
// it lies a model file NAME.dat (not an envelope list), or NAME.fmc, NAME.caf,
// or a NAME.res that calcest wrote.
bool isProjectName(const std::string& name);

constexpr std::size_t kMaxEnvelopeNameLength = 40;

enum class EnvelopeNameCheck { Usable, Empty, ProjectName };

// Whether an envelope may be called `name`: not empty, not a project's name,
// and not naming the files of one of `projects` (its own list, when known).
EnvelopeNameCheck checkEnvelopeName(const std::string& name, const std::vector<std::string>& projects = {});

// Why `name` cannot name an envelope, as the viewer's dialog has it (at most
// kMaxEnvelopeNameLength characters, no blanks, no folder) and as its files and
// scripts can hold it (no control character, none that Windows-1252 lacks);
// "" when it can. The text is a whole message, without a line end.
std::string envelopeNameFault(const std::string& name);

}  // namespace envelope
