#pragma once
// Animation mode and its operations: the views show the model posed at the
// current frame of the current clip; Select Bone picks the posed bones,
// Rotate and Move pose the selected bone and key it at the current frame;
// mesh edits are refused (the rules in animation_rules.h). Every change of keys, clips or weights
// is one undo step, kept by the recovery file like the rest of the model.

#include <chrono>
#include <string>

#include "model/animation.h"
#include "model/list.h"
#include "tools/animation_rules.h"
#include "tools/menu_command.h"

struct Bone;
struct Vec3;
struct Vertex;
struct ToolContext;

inline constexpr const char* kFirstClipName = "clip1";

// Runs one of them, or a frame click; false for any other code.
bool animationCommand(ToolContext& e, int code);

// 'A', the menu's "Animation Mode" and /anim: enters or leaves the mode.
// Leaving stops playback and shows the rest model. Entering is refused, with
// "Animation mode stays off: REASON.", when the pose cannot be made: more
// bones than a pose holds, or not enough memory.
void toggleAnimationMode(ToolContext& e);
// A frame whose pose cannot be made (the model changed under the mode, or
// memory ran out): the mode ends, "Animation mode is off: REASON."
void leaveAnimationMode(ToolContext& e, const std::string& why);

// The clip the mode shows, or null.
Clip* currentClip(ToolContext& e);
// The current clip, making the first one when the model has none.
Clip& clipToKey(ToolContext& e);

// /frame N: the frame shown, kept within the current clip (0 .. its length).
void setFrame(ToolContext& e, int frame);
// /clip NAME: makes NAME current, making a new clip of that name first when
// there is none (one undo step).
void chooseClip(ToolContext& e, const std::string& name);
// /key: keys the selected bone at the current frame with the pose it has
// there; /unkey removes that key. Each is one undo step.
void keySelectedBone(ToolContext& e);
// /interp step|linear|smooth: how the selected bone's key at the current
// frame goes over to the next (keying the bone there first when it has no
// key). One undo step.
void interpolateSelectedKey(ToolContext& e, Interpolation how);
void unkeySelectedBone(ToolContext& e);
// /fps N and /length N on the current clip; a shorter length drops the keys
// after it. One undo step each.
void setClipFps(ToolContext& e, int fps);
void setClipLength(ToolContext& e, int length);

// /play and /stop. Playback runs the current clip from the current frame at
// its frame rate, round and round, while animation mode is on.
void startPlayback(ToolContext& e, std::chrono::steady_clock::time_point now);
void stopPlayback(ToolContext& e);
// Moves playback to the frame due at `now`; the milliseconds until the next
// frame is due, or -1 when nothing plays.
int playbackTick(ToolContext& e, std::chrono::steady_clock::time_point now);

// The Rotate gesture in animation mode: turns the selected bone by `angle`
// radians about the active view's depth axis, as Rotate turns vertices, and
// keys it. The Move gesture: the root moves by the offset, any other bone
// turns about its start joint towards its end joint moved by the offset.
void rotatePose(ToolContext& e, double angle);
void movePose(ToolContext& e, const Vec3& offset);
// /move DX DY DZ in animation mode: the selected bone's start joint, any
// bone's, moves by the offset (carrying its children), and is keyed.
void translatePose(ToolContext& e, const Vec3& offset);
// The Move gesture with /ik on (ikBones >= 2): the selected bone's end goes
// to its posed place moved by the offset, by turns of the bone and of up to
// ikBones - 1 of its parents (not the root when it has no length); each of
// them is keyed at the current frame, in one undo step. Two bones keep the
// plane they bend in (a straight pair bends in the active view's plane);
// beyond reach the chain points straight at the place. The root, or a bone
// with no parent to turn, moves as movePose moves it.
void reachPose(ToolContext& e, const Vec3& offset);
// /ik N turns IK on for chains of N bones (N >= 2), /ik alone for 2, /ik off
// turns it off; outside animation mode it waits for the mode.
void setIkBones(ToolContext& e, int bones);

// /weight W: the selected bone's weight on the selected vertices becomes W
// (0 .. 1; any other W is refused with a message), the vertices' other bones
// sharing the rest in their proportions;
// /weight auto gives the vertices back to the derived weights.
void setSelectedWeights(ToolContext& e, double weight);

// 'B' and its menu row: the selected polygons go to the selected bone. No
// undo step, but an unsaved change.
void assignSelectedPolygonsToBone(ToolContext& e);
void clearSelectedWeights(ToolContext& e);

// Select Vertex, Select Polygon and Select Bone in animation mode pick what
// the views show: vertices where the pose puts them (as
// Model::verticesInRect), the first bone whose posed end joint lies in the
// rectangle (as Model::findBone; a plain click finds none).
List<Vertex> posedVerticesInRect(ToolContext& e, double a, double b, double c, double d, int plane,
                                 double tolerance);
Bone* findPosedBone(ToolContext& e, double a, double b, double c, double d, int plane);
