#include "model/model_image.h"

size_t ModelImage::memoryBytes() const {
  size_t bytes = sizeof(*this) + vertices.capacity() * sizeof(Vec3) +
                 groups.capacity() * sizeof(GroupRecord) + bones.capacity() * sizeof(BoneRecord);
  for (const GroupRecord& group : groups) {
    bytes += group.polygons.capacity() * sizeof(PolygonRecord) + group.textureName.capacity();
  }
  for (const BoneRecord& bone : bones) bytes += bone.polygons.capacity() * sizeof(int);
  bytes += clips.capacity() * sizeof(ClipRecord) + weights.capacity() * sizeof(WeightRecord);
  for (const ClipRecord& clip : clips) {
    bytes += clip.name.capacity() + clip.tracks.capacity() * sizeof(TrackRecord);
    for (const TrackRecord& track : clip.tracks) bytes += track.keys.capacity() * sizeof(KeyRecord);
  }
  bytes += boneNames.capacity() * sizeof(boneNames[0]);
  for (const auto& [bone, name] : boneNames) bytes += name.capacity();
  return bytes;
}
