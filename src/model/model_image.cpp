#include "model/model_image.h"

size_t ModelImage::memoryBytes() const {
  size_t bytes = sizeof(*this) + vertices.capacity() * sizeof(Vec3) +
                 groups.capacity() * sizeof(GroupRecord) + bones.capacity() * sizeof(BoneRecord);
  for (const GroupRecord& group : groups) {
    bytes += group.polygons.capacity() * sizeof(PolygonRecord) + group.textureName.capacity();
  }
  for (const BoneRecord& bone : bones) bytes += bone.polygons.capacity() * sizeof(int);
  return bytes;
}
