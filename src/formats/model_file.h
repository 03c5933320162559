#pragma once
// The model file: a model's numbers captured as the file holds them, the
// file's text written and parsed, and models saved and loaded under a name.
// A save never destroys the previous file (files/file_replace.h).

#include <cstdio>
#include <string>
#include <string_view>
#include <vector>

#include "formats/text_window.h"
#include "model/model_image.h"

class Model;

// The value "%lf" writes for x, read back: x rounded to six decimals.
double roundAsWritten(double x);

// The writer's walk: numbers every vertex and polygon (fileIndex) and captures
// what the file would hold.
ModelImage captureImage(Model& model);

// The file text of an image, byte for byte what the writer puts on disk.
std::string formatModelFile(const ModelImage& image);

// Parses model file text. Rejects anything outside the format (bad counts,
// numbers out of range, bad bone depths, unparsable or non-finite numbers,
// truncation) with false and a reason in `error`. Text after the skeleton
// section is ignored.
bool parseModelFile(std::string_view text, ModelImage& image, std::string* error = nullptr);
// The same, reading the text from `file` a window at a time; `sizeHint` is the
// size the file reported. Read errors fail the parse. (read_progress.h has
// the variant a builder can follow while it reads.)
bool readModelFile(std::FILE* file, size_t sizeHint, ModelImage& image,
                   std::string* error = nullptr, size_t windowBytes = TextWindow::kDefaultCapacity);

// True when a file whose first bytes are `head` is taken for a model file:
// its first line holds one whole number alone, the vertex count, followed by
// a line of three numbers (the first vertex) or, for a count of 0, by another
// number alone (the group count); or it holds nothing but blanks (the reader
// says it is empty). Anything else is a file of another tool, whatever its
// name. Blank lines between are skipped, and a head that ends first decides
// by what it holds.
inline constexpr size_t kModelFileHeadBytes = 256;
bool startsLikeModelFile(std::string_view head);
// The same for the first bytes of `file`, which is rewound.
bool startsLikeModelFile(std::FILE* file);

// Writes the model to the file named by its `name`, without ever destroying
// the previous file; 1 on success, 0 on failure.
int save(Model& model);
// Gives the model the name `path` and saves it.
int saveAs(Model& model, const std::string& path);
// Reads a model file into `model`, which should be a new one; 0 when the file
// cannot be read or is not a valid model file, and the model is then only fit
// to be thrown away (/open keeps the model it had). On failure `reason` (when
// given) names the first problem and where it is ("line 12: ..."). What the
// file held that the model could not keep goes to `notes`, one line each.
int load(Model& model, const std::string& path, std::string* reason = nullptr,
         std::vector<std::string>* notes = nullptr);
