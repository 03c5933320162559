#pragma once
// Where a model's recovery files go, and whether a file found there is the
// model's.
//
// The first name is ".NAME.recover" beside the model or, when that folder
// takes no new file, the model's whole path in the state folder with "%" for
// each "/" ("^%" for a "%" of the path and "^^" for a "^", so that no two
// paths share a name; a name too long for the file system is cut and ends in
// "^" and a hash of the path). A second editor working on the same model
// writes ".2" after it, a third ".3", and so on. Earlier versions moved a
// found file aside to the first name with ".found" after it; such a file is
// found too.

#include <string>
#include <string_view>

#include "recovery/recovery_file.h"

// The path made absolute and lexically normal: what a recovery file keeps.
std::string absoluteModelPath(const std::string& modelPath);

std::string recoveryPathBeside(const std::string& modelPath);
std::string recoveryPathIn(const std::string& stateDir, const std::string& modelPath);
// $XDG_STATE_HOME/vantorel, or ~/.local/state/vantorel.
std::string recoveryStateDir();

// The n-th name (n from 1) of the file whose first name is `first`.
std::string numberedRecoveryPath(const std::string& first, int n);
// Whether the file name `name` is one of the names of `firstName` (also a
// file name): the first, a numbered one, or the first with ".found".
bool isRecoveryName(std::string_view name, std::string_view firstName);

// Whether a recovery file holds the model at `modelPath`. A file of version 2
// keeps the absolute path; one of version 1 kept the model's name as it was
// typed, which may be relative: its last part must then be the model's file
// name, the folder being vouched for by where the file was found.
bool recoveryBelongsTo(const RecoveryContents& contents, const std::string& modelPath);
// The model a recovery file says it holds, for a message.
std::string recoveryOwnerName(const RecoveryContents& contents);
