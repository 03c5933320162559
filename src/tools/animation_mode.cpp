// Animation mode, clips, keys and playback (contracts in animation_mode.h).

#include "tools/animation_mode.h"
#include "tools/animation_rules.h"

#include <algorithm>
#include <cmath>

#include "document/undo.h"
#include "gui/timeline.h"
#include "model/animation.h"
#include "model/rig.h"
#include "tools/tool_context.h"

Clip& clipToKey(ToolContext& e) {
  if (Clip* clip = currentClip(e)) return *clip;
  Animation& animation = *e.doc.model->animation;
  if (animation.clips.empty()) animation.add(kFirstClipName);
  e.animation.clip = animation.clips.front()->name;
  return *animation.clips.front();
}

namespace {

// The selected bone when it belongs to the model's skeleton; otherwise says
// how to pick one.
Bone* boneToPose(ToolContext& e) {
  const Rig rig = flattenRig(*e.doc.model);
  if (e.doc.selectedBone && rig.indexOf(e.doc.selectedBone) >= 0) return e.doc.selectedBone;
  e.consoleMessage("Select a bone to pose it.");
  return nullptr;
}

}  // namespace

bool animationCommand(ToolContext& e, int code) {
  const auto now = std::chrono::steady_clock::now();
  if (code >= kFrameCommandBase) {
    setFrame(e, code - kFrameCommandBase);
    return true;
  }
  switch (code) {
    case kAnimationModeCommand:
      toggleAnimationMode(e);
      return true;
    case kTimelineFirstFrame:
      setFrame(e, 0);
      return true;
    case kTimelinePreviousFrame:
      setFrame(e, e.animation.frame - 1);
      return true;
    case kTimelineNextFrame:
      setFrame(e, e.animation.frame + 1);
      return true;
    case kTimelinePlay:
      startPlayback(e, now);
      return true;
    case kTimelineStop:
      stopPlayback(e);
      return true;
    case kTimelineKey:
      keySelectedBone(e);
      return true;
    case kTimelineUnkey:
      unkeySelectedBone(e);
      return true;
    default:
      return false;
  }
}

void toggleAnimationMode(ToolContext& e) {
  AnimationState& state = e.animation;
  state.on = !state.on;
  state.playing = false;
  ++state.rigRevision;
  if (state.on) {
    currentClip(e);  // settles the current clip
    // The pose the views need is made now: one the model cannot have keeps
    // the mode off, rather than failing in a frame.
    const std::string why = e.poseForViews();
    if (!why.empty()) {
      state.on = false;
      e.consoleMessage("Animation mode stays off: " + why + ".");
      return;
    }
  }
  e.consoleMessage(state.on ? "Animation mode: the views show the pose at the current frame."
                            : "Animation mode off: the views show the rest model.");
  e.viewSet.sceneChanged();
}

void leaveAnimationMode(ToolContext& e, const std::string& why) {
  e.animation.on = e.animation.playing = false;
  ++e.animation.rigRevision;
  e.consoleMessage("Animation mode is off: " + why + ".");
  e.viewSet.sceneChanged();
}

Clip* currentClip(ToolContext& e) {
  Animation& animation = *e.doc.model->animation;
  Clip* clip = animation.find(e.animation.clip);
  // Undo or /open may have taken the clip away: the first one stands in.
  if (!clip && !animation.clips.empty()) clip = animation.clips.front().get();
  e.animation.clip = clip ? clip->name : "";
  if (clip) e.animation.frame = std::clamp(e.animation.frame, 0, clip->length);
  return clip;
}

void setFrame(ToolContext& e, int frame) {
  const Clip* clip = currentClip(e);
  e.animation.frame = std::clamp(frame, 0, clip ? clip->length : Clip::kDefaultLength);
  if (e.animation.playing) startPlayback(e, std::chrono::steady_clock::now());
  e.viewSet.sceneChanged();
}

void chooseClip(ToolContext& e, const std::string& name) {
  if (!isClipName(name)) {
    e.consoleMessage("Error! A clip name is one word of at most 63 printable characters!");
    return;
  }
  if (!e.doc.model->animation->find(name)) {
    takeSnapshot(e.doc);
    e.doc.model->animation->add(name);
    e.consoleMessage("Clip " + name + " made.");
  }
  e.animation.clip = name;
  currentClip(e);
  e.viewSet.sceneChanged();
}

void keySelectedBone(ToolContext& e) {
  Bone* bone = boneToPose(e);
  if (!bone) return;
  takeSnapshot(e.doc);
  Clip& clip = clipToKey(e);
  const int frame = std::clamp(e.animation.frame, 0, clip.length);
  Track& track = clip.tracks[bone];
  setKeyPose(track, frame, sampleTrack(track, frame));
  e.consoleMessage("Key set at frame " + std::to_string(frame) + ".");
  e.viewSet.sceneChanged();
}

void interpolateSelectedKey(ToolContext& e, Interpolation how) {
  Bone* bone = boneToPose(e);
  if (!bone) return;
  const char* name = kInterpolationNames[static_cast<int>(how)];
  Clip* shown = currentClip(e);
  const int frame = std::clamp(e.animation.frame, 0, shown ? shown->length : Clip::kDefaultLength);
  if (shown) {
    auto track = shown->tracks.find(bone);
    if (track != shown->tracks.end())
      for (const PoseKey& key : track->second)
        if (key.frame == frame && key.interpolation == how) {
          e.consoleMessage(std::string("The key at frame ") + std::to_string(frame) + " is " +
                           name + " already.");
          return;
        }
  }
  takeSnapshot(e.doc);
  Clip& clip = clipToKey(e);
  Track& track = clip.tracks[bone];
  // A bone without a key here is keyed first, with the pose it has.
  setKeyPose(track, frame, sampleTrack(track, frame));
  for (PoseKey& key : track)
    if (key.frame == frame) key.interpolation = how;
  e.consoleMessage(std::string("The key at frame ") + std::to_string(frame) + " is " + name + ".");
  e.viewSet.sceneChanged();
}

void unkeySelectedBone(ToolContext& e) {
  Bone* bone = boneToPose(e);
  Clip* clip = currentClip(e);
  if (!bone) return;
  const int frame = e.animation.frame;
  auto track = clip ? clip->tracks.find(bone) : decltype(clip->tracks)::iterator{};
  if (!clip || track == clip->tracks.end() ||
      std::none_of(track->second.begin(), track->second.end(),
                   [frame](const PoseKey& k) { return k.frame == frame; })) {
    e.consoleMessage("The bone has no key at frame " + std::to_string(frame) + ".");
    return;
  }
  // The snapshot leaves the model's records in place, so the track stands.
  takeSnapshot(e.doc);
  removeKey(track->second, frame);
  if (track->second.empty()) clip->tracks.erase(track);
  e.consoleMessage("Key removed at frame " + std::to_string(frame) + ".");
  e.viewSet.sceneChanged();
}

void setClipFps(ToolContext& e, int fps) {
  if (fps < 1 || fps > Clip::kMaxFps) {
    e.consoleMessage("Error! The frame rate is a whole number from 1 to 1000!");
    return;
  }
  takeSnapshot(e.doc);
  Clip& clip = clipToKey(e);
  clip.fps = fps;
  if (e.animation.playing) startPlayback(e, std::chrono::steady_clock::now());
  e.consoleMessage("Clip " + clip.name + " plays at " + std::to_string(fps) + " frames a second.");
  e.viewSet.sceneChanged();
}

void setClipLength(ToolContext& e, int length) {
  if (length < 1 || length > Clip::kMaxLength) {
    e.consoleMessage("Error! The length is a whole number of frames from 1 to 100000!");
    return;
  }
  takeSnapshot(e.doc);
  Clip& clip = clipToKey(e);
  clip.length = length;
  size_t dropped = 0;
  for (auto it = clip.tracks.begin(); it != clip.tracks.end();) {
    Track& track = it->second;
    const size_t before = track.size();
    std::erase_if(track, [length](const PoseKey& k) { return k.frame > length; });
    dropped += before - track.size();
    if (track.empty()) {
      clip.tracks.erase(it++);
    } else {
      ++it;
    }
  }
  e.animation.frame = std::min(e.animation.frame, length);
  std::string message = "Clip " + clip.name + " is " + std::to_string(length) + " frames long.";
  if (dropped) message += " " + std::to_string(dropped) + " keys after it were removed.";
  e.consoleMessage(message);
  e.viewSet.sceneChanged();
}

void startPlayback(ToolContext& e, std::chrono::steady_clock::time_point now) {
  if (refusedByMode(e, ModeRule::kCommand, 0, "/play")) return;
  if (!currentClip(e)) {
    e.consoleMessage("There is no clip to play: key a bone or type /clip NAME first.");
    return;
  }
  e.animation.playing = true;
  e.animation.playStart = now;
  e.animation.playStartFrame = e.animation.frame;
}

void stopPlayback(ToolContext& e) {
  e.animation.playing = false;
}

int playbackTick(ToolContext& e, std::chrono::steady_clock::time_point now) {
  AnimationState& state = e.animation;
  const Clip* clip = state.playing && state.on ? currentClip(e) : nullptr;
  if (!clip) {
    state.playing = false;
    return -1;
  }
  const double elapsed = std::chrono::duration<double>(now - state.playStart).count();
  const double frames = std::max(0.0, elapsed) * clip->fps;
  const long passed = static_cast<long>(std::floor(frames));
  const int frame = static_cast<int>((state.playStartFrame + passed) % (clip->length + 1));
  if (frame != state.frame) {
    state.frame = frame;
    e.viewSet.sceneChanged();
  }
  // Wake at the next frame's start, a millisecond late rather than early.
  const double untilNext = (passed + 1 - frames) / clip->fps;
  return static_cast<int>(std::ceil(untilNext * 1000)) + 1;
}
