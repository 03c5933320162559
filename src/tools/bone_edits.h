#pragma once
// Bone names and mirrored bones (names and sides in model/bone_names.h).
// Each is one undo step, none when it changes nothing; mirroring is across
// the plane through the origin square to an axis, 0 x, 1 y, 2 z, as mirror
// editing's (tools/mirror.h), within its tolerance.

#include <string>

struct ToolContext;

// "/bonename NAME": the selected bone is named NAME. Refused, with a message:
// no bone selected, a name that is not one word of printable characters, a
// name another bone has.
void nameSelectedBone(ToolContext& e, const std::string& name);

// A bone's mirror is the bone at its mirrored place: itself when its end
// joint lies on the plane, else a bone whose end and start joints lie at the
// reflections of its own.
//
// "/mirrorbones AXIS": every bone whose end joint lies on the positive side,
// and whose mirror does not exist already, gets a mirrored copy: its joint at
// the reflection, its parent the mirror of its parent (that parent itself
// when it lies on the plane or has no mirror), its name the bone's with the
// side suffix swapped (none when the name has no suffix, or another bone has
// that name). Parents are copied before their children.
void mirrorBones(ToolContext& e, int axis);

// "/mirrorweights AXIS": every vertex on the positive side with a partner
// (tools/mirror.h) gives the partner its weights, derived or set by hand, as
// weights set by hand with each bone replaced by its mirror: the bone at the
// mirrored place, else the bone of the swapped name, else the bone itself.
// Refused without a skeleton.
void mirrorWeights(ToolContext& e, int axis);
