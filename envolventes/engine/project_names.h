#pragma once
// Whether a name belongs to a project of the working directory. An envelope
// writes NAME.res, NAME.esf and NAME.dat, names a project's files also have:
// a project's name is never taken for an envelope, whoever asks.
#include <string>
#include <vector>

namespace envelope {

// True when `name` (a stem, possibly after a directory) names a project: beside
// it lies a model file NAME.dat (not an envelope list), or NAME.fmc, NAME.caf,
// or a NAME.res that calcest wrote.
bool isProjectName(const std::string& name);

enum class EnvelopeNameCheck { Usable, Empty, ProjectName };

// Whether an envelope may be called `name`: not empty, not a project's name,
// and not naming the files of one of `projects` (its own list, when known).
EnvelopeNameCheck checkEnvelopeName(const std::string& name, const std::vector<std::string>& projects = {});

}  // namespace envelope
