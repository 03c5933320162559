#pragma once
// The generated models the benchmarks work on: a lumpy ball of rings of
// vertices, closed by a pole at each end, as big as asked. Its coordinates are
// irrational, so saving takes the full rounding path; it fits the default views.

#include <memory>
#include <string>

#include "app/editor.h"
#include "model/model.h"

namespace bench {

// The ball with about `triangles` triangles (exactly, for 10k, 100k and 1M),
// every face turned outward. With `extras`, texture coordinates, a texture
// name and a two-bone skeleton with half the triangles assigned to its arm.
void buildBall(Model& model, int triangles, bool extras);

// An Editor holding the ball, with the Side view active; the ball is the
// model's only content.
std::unique_ptr<Editor> ballEditor(int triangles, bool extras = false);

// The model written as Wavefront OBJ: its vertices as "v", one "vt" per vertex
// (the ball's corners of one vertex share their texture coordinates) and its
// triangles as "f a/a b/b c/c", all numbers as the model file rounds them.
bool writeObj(Model& model, const std::string& path);

// A chain of `count` bones through the ball from bottom to top, each triangle
// given to the bone of its height, and `clips` clips keying every bone `keys`
// times, two frames apart.
void rigBall(Model& model, int count, int clips, int keys);

// Size of a file in MB (1e6 bytes); 0 when it cannot be read.
double fileMb(const std::string& path);

}  // namespace bench
