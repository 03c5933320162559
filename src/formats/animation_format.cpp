// The animation section's text, written and read.

#include <algorithm>
#include <charconv>
#include <cstring>
#include <string>

#include "formats/animation_file.h"
#include "formats/model_scanner.h"
#include "formats/six_decimals.h"
#include "model/animation.h"
#include "model/animation_image.h"

namespace {

constexpr std::string_view kSectionWord = "animation";
// Version 1 keys carry a rotation and the root's translation; version 2 keys
// any bone's translation, a scale and an interpolation. A model version 1
// holds is written as version 1, so its file is as it always was.
constexpr int kOldVersion = 1;
constexpr int kVersion = 2;
// The fewest bytes each item takes, so that a count the rest of the text
// cannot hold is refused before anything is made for it.
constexpr size_t kMinClipBytes = 14;   // "clip a 1 1 0\n"
constexpr size_t kMinTrackBytes = 10;  // "track 0 1\n"
constexpr size_t kMinKeyBytes = 16;    // eight one-digit numbers
constexpr size_t kMinWeightBytes = 6;  // three one-digit numbers

// Writes into `out` past its end, making room a line at a time (the string
// grows by doubling), and cuts it to what was written at the end.
class Text {
 public:
  explicit Text(std::string& out) : out_(out), used_(out.size()) {}
  ~Text() { out_.resize(used_); }
  Text(const Text&) = delete;
  Text& operator=(const Text&) = delete;

  // Room for a line of up to `numbers` numbers and words of `words` bytes.
  Text& line(size_t numbers, size_t words = 0) {
    const size_t bytes = numbers * (kMaxSixDecimalsChars + 1) + words + 16;
    if (used_ + bytes <= out_.size()) return *this;
    // The room already reserved first, then by doubling.
    const size_t needed = used_ + bytes;
    out_.resize(needed <= out_.capacity() ? out_.capacity() : std::max(2 * out_.size(), needed));
    return *this;
  }
  Text& word(std::string_view w) {
    std::memcpy(out_.data() + used_, w.data(), w.size());
    used_ += w.size();
    return *this;
  }
  Text& integer(long value) {
    char* at = out_.data() + used_;
    used_ = std::to_chars(at, at + 24, value).ptr - out_.data();
    return *this;
  }
  Text& real(double value) {
    used_ = writeSixDecimals(out_.data() + used_, value) - out_.data();
    return *this;
  }
  Text& space() { return word(" "); }
  Text& end() { return word("\n"); }

 private:
  std::string& out_;
  size_t used_;
};

bool readKey(Scanner& in, int version, ModelImage::KeyRecord& key) {
  if (!in.integer(key.frame, "key frame")) return false;
  for (double& value : key.rotation)
    if (!in.real(value, "key rotation")) return false;
  for (double& value : key.translation)
    if (!in.real(value, "key translation")) return false;
  if (version == kOldVersion) return true;
  for (double& value : key.scale)
    if (!in.real(value, "key scale")) return false;
  std::string interpolation;
  if (!in.word(interpolation, "key interpolation")) return false;
  key.interpolation = -1;
  for (int i = 0; i < 3; ++i)
    if (interpolation == kInterpolationNames[i]) key.interpolation = i;
  return key.interpolation >= 0 || in.fail("unknown key interpolation");
}

// Whether version 1 holds every key: only the root moves, nothing scales,
// every key is linear.
bool oldVersionHolds(const ModelImage& image) {
  for (const ModelImage::ClipRecord& clip : image.clips)
    for (const ModelImage::TrackRecord& track : clip.tracks)
      for (const ModelImage::KeyRecord& key : track.keys) {
        const bool moves =
            key.translation[0] != 0 || key.translation[1] != 0 || key.translation[2] != 0;
        if ((moves && track.bone != 0) || key.scale[0] != 1 || key.scale[1] != 1 ||
            key.scale[2] != 1 || key.interpolation != 1)
          return false;
      }
  return true;
}

// Each item is checked as soon as it is read, so that a fault names its line.
bool checked(Scanner& in, const std::string& fault) {
  return fault.empty() || in.fail(fault);
}

bool readClip(Scanner& in, int version, ModelImage& image, size_t c) {
  ModelImage::ClipRecord& clip = image.clips[c];
  int tracks;
  if (!in.keyword("clip") || !in.word(clip.name, "clip name") ||
      !in.integer(clip.length, "clip length") || !in.integer(clip.fps, "frame rate") ||
      !checked(in, clipFault(image, c)) || !in.count(tracks, "track count", kMinTrackBytes))
    return false;
  clip.tracks.resize(tracks);
  for (size_t t = 0; t < clip.tracks.size(); ++t) {
    ModelImage::TrackRecord& track = clip.tracks[t];
    int keys;
    if (!in.keyword("track") || !in.integer(track.bone, "track bone") ||
        !in.count(keys, "key count", kMinKeyBytes))
      return false;
    track.keys.resize(keys);
    if (!checked(in, trackFault(image, clip, t))) return false;
    for (size_t k = 0; k < track.keys.size(); ++k) {
      ModelImage::KeyRecord& key = track.keys[k];
      if (!readKey(in, version, key) || !checked(in, keyFault(clip, track, k))) return false;
      // Version 1 files move the root alone: other bones' numbers were never
      // played, and are not now.
      if (version == kOldVersion && track.bone != 0) std::fill_n(key.translation, 3, 0.0);
    }
  }
  return true;
}

}  // namespace

size_t animationSectionBytes(const ModelImage& image) {
  size_t bytes = 64 + image.weights.size() * 24;
  for (const ModelImage::ClipRecord& clip : image.clips) {
    bytes += 32 + clip.name.size() + clip.tracks.size() * 16;
    for (const ModelImage::TrackRecord& track : clip.tracks) bytes += track.keys.size() * 110;
  }
  return bytes;
}

void appendAnimationSection(const ModelImage& image, std::string& out) {
  if (image.clips.empty() && image.weights.empty()) return;
  out.reserve(out.size() + animationSectionBytes(image));
  const int version = oldVersionHolds(image) ? kOldVersion : kVersion;
  Text text(out);
  text.line(2, kSectionWord.size()).word(kSectionWord).space().integer(version).end();
  text.line(1, 6).word("clips ").integer(static_cast<long>(image.clips.size())).end();
  for (const ModelImage::ClipRecord& clip : image.clips) {
    text.line(3, 5 + clip.name.size()).word("clip ").word(clip.name).space().integer(clip.length);
    text.space().integer(clip.fps).space().integer(static_cast<long>(clip.tracks.size())).end();
    for (const ModelImage::TrackRecord& track : clip.tracks) {
      text.line(2, 6).word("track ").integer(track.bone).space();
      text.integer(static_cast<long>(track.keys.size())).end();
      for (const ModelImage::KeyRecord& key : track.keys) {
        text.line(11, 8).integer(key.frame);
        for (double value : key.rotation) text.space().real(value);
        for (double value : key.translation) text.space().real(value);
        if (version != kOldVersion) {
          for (double value : key.scale) text.space().real(value);
          text.space().word(kInterpolationNames[key.interpolation]);
        }
        text.end();
      }
    }
  }
  text.line(1, 8).word("weights ").integer(static_cast<long>(image.weights.size())).end();
  for (const ModelImage::WeightRecord& w : image.weights)
    text.line(3).integer(w.vertex).space().integer(w.bone).space().real(w.weight).end();
}

bool readAnimationSection(Scanner& in, ModelImage& image) {
  if (!in.nextWordIs(kSectionWord)) return true;
  int version, clips, weights;
  if (!in.integer(version, "animation version")) return false;
  if (version != kOldVersion && version != kVersion) return in.fail("unknown animation version");
  if (!in.keyword("clips") || !in.count(clips, "clip count", kMinClipBytes)) return false;
  image.clips.resize(clips);
  for (size_t c = 0; c < image.clips.size(); ++c)
    if (!readClip(in, version, image, c)) return false;
  if (!in.keyword("weights") || !in.count(weights, "weight count", kMinWeightBytes)) return false;
  image.weights.resize(weights);
  for (size_t i = 0; i < image.weights.size(); ++i) {
    ModelImage::WeightRecord& w = image.weights[i];
    if (!in.integer(w.vertex, "weight vertex") || !in.integer(w.bone, "weight bone") ||
        !in.real(w.weight, "weight") || !checked(in, weightFault(image, i)))
      return false;
  }
  return true;
}
