#pragma once
// "/open" and "/export": models coming in from files of any format the editor
// reads, and going out in the exchange formats, the model itself untouched.

#include <string>

#include "import/open_model.h"

struct CommandContext;

// Replaces the model with the one read from `path`, telling the console how it
// went (and what an import could not keep); an imported model is fitted in
// every view, the views stay as they were for a model file. Answers false,
// with the reason, when the model stays as it was.
bool openModel(CommandContext& e, const std::string& path, std::string* reason = nullptr);
// The second half of openModel: the model read from a file takes the current
// one's place, or the console says why not.
bool takeOpenedModel(CommandContext& e, OpenedModel opened, std::string* reason = nullptr);

// Writes the model to `path` in the format its extension names, telling the
// console whether it was written and if not why.
void exportModelTo(CommandContext& e, const std::string& path);
