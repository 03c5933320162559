#pragma once
// "/refimage VIEW FILE [SCALE]" shows an image behind the Side, Front or Top
// view, centred on the model's origin and SCALE model units wide (10 when not
// given); "/refimage VIEW off" hides it. The picture belongs to the view: the
// model, its undo history and its unsaved state stay as they were. A file that
// cannot be read is reported and the view keeps the picture it had.

#include <string>
#include <vector>

struct CommandContext;

void referenceImageCommand(CommandContext& e, const std::vector<std::string>& words);
