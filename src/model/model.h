#pragma once
// The edited mesh: a flat pool of vertices, triangles gathered in polygon groups
// that each carry a material, per-corner texture coordinates and normals, an
// optional skeleton, and the name under which the model is saved.
//
// Records are made through the model (newVertex, newPolygon, ...) and live as
// long as the model: taking a record out of a list never frees it.

#include <cstdint>
#include <memory>
#include <string>
#include <utility>
#include <vector>

#include "model/list.h"
#include "model/record_pool.h"
#include "model/seams.h"
#include "model/vec3.h"

class Animation;
class TextureCache;
struct Bone;
struct ModelImage;
class Skeleton;

// A mesh vertex; the same record serves as a bone joint.
struct Vertex {
  double x = 0, y = 0, z = 0;
  int selected = 0;   // 1 while the vertex is selected
  int fileIndex = 0;  // position in the vertex section of the last file written
  int uvMapped = 0;   // set when texture coordinates were computed for a polygon using it
  // Working state of one operation at a time (model/marks.h), meaningless
  // between operations.
  uint32_t markNumber = 0;
  uint64_t markPass = 0;
};

// One polygon corner's texture coordinates; corners never share UvPoints.
struct UvPoint {
  double u = 0, v = 0;
  Vertex* vertex = nullptr;  // the corner's vertex
  int selected = 0;          // 1 while selected in the UV view
  int mapped = 0;            // 1 when the coordinates are assigned
  uint64_t markPass = 0;     // working state of one operation (model/marks.h)
};

// A triangle. Its UV points and normals are part of the record.
struct Polygon {
  Vertex* vertices[3] = {nullptr, nullptr, nullptr};  // corners in winding order
  Vec3 cornerNormals[3];                              // one normal per corner, for lighting
  UvPoint uvs[3];                                     // uvs[i].vertex == vertices[i]
  int fileIndex = 0;  // position in the last file written, counted over all groups
  int selected = 0;
  int uvMapped = 0;      // 1 when the polygon has texture coordinates
  int smooth = 0;        // 1 after smoothing, 0 after flattening
  int flipped = 0;       // 1 when the face normal is reversed
  Vec3 normal;           // unit face normal; zero for a degenerate triangle
  Bone* bone = nullptr;  // null means the root bone

  // The face normal from the corners: unit (P1 - P0) x (P2 - P1), negated when
  // flipped. A triangle with coincident or collinear corners gets (0, 0, 0).
  void computeNormal();
  // Copies the face normal into the three corner normals.
  void resetCornerNormals();
  // Reverses the face: normal negated, flipped toggled.
  void flip();
  // The corner that takes place k wherever the triangle leaves memory (the
  // model file, undo snapshots, recovery, exports): a flipped triangle goes in
  // reverse order, so that its winding alone gives the facing it shows and
  // reading it back needs no flag.
  int storedCorner(int k) const { return flipped ? 2 - k : k; }
};

struct Material {
  double red = 1, green = 1, blue = 1, alpha = 1;
  std::string textureName;  // empty until a texture is given
  int textureId = 0;        // texture name from the texture cache; -1 when the file failed
  int textured = 0;         // 1 when the group is drawn with its texture
  int textureLoaded = 0;    // 1 when textureId has been looked up for textureName
};

struct PolygonGroup {
  Material material;
  List<Polygon> polygons;
};

class Model {
 public:
  // An empty model with one group, which is the current group.
  Model(std::string name, TextureCache* textures);
  ~Model();
  Model(const Model&) = delete;
  Model& operator=(const Model&) = delete;

  // Record makers. New records are not put into any list.
  Vertex* newVertex(double x, double y, double z);
  Polygon* newPolygon(Vertex* a, Vertex* b, Vertex* c);
  Polygon* newPolygon(Vertex* a, Vertex* b, Vertex* c, double ua, double ub, double uc, double va,
                      double vb, double vc);
  PolygonGroup* newGroup();

  // Queries; each returns a new list filled with pushFront.
  List<Vertex> verticesInRect(double a, double b, double c, double d, int plane, double tolerance);
  List<Polygon> polygonsOfVertices(List<Vertex>& list);
  List<UvPoint> uvsInRect(double a, double b, double c, double d, double tolerance);
  List<UvPoint> uvsOfVertices(List<Vertex>& list);
  List<Vertex> distinctVertices(List<Polygon>& polygons);

  // Bulk flag helpers used by the selection tools.
  static void setPolygonsSelected(List<Polygon>& list, int value);
  static void setVerticesSelected(List<Vertex>& list, int value);
  static void clearUvsSelected(List<UvPoint>& list);
  static void selectMappedUvs(List<UvPoint>& list);
  void clearPolygonSelection();
  void clearVertexSelection();
  void clearUvSelection();
  static void assignPolygonsToBone(Bone* bone, List<Polygon>& list);

  // Skeleton (skeleton.cpp).
  Bone* createRoot(double x, double y, double z);
  Bone* addBone(Bone* parent, double x, double y, double z);
  Bone* findBone(double a, double b, double c, double d, int plane, double tolerance);
  void dumpSkeleton();
  Bone* rootBone() const;
  // Installs a new skeleton (null for none) and sets hasSkeleton to match. The
  // previous skeleton's bones stay allocated, as selections may point at them.
  void setSkeleton(std::unique_ptr<Skeleton> next);

  int polygonCount() const;  // over all groups

  int hasSkeleton = 0;
  double rotationX = 0, rotationY = 0, rotationZ = 0;  // degrees, applied when drawing
  PolygonGroup* currentGroup = nullptr;                // the group tools and commands address
  List<Vertex> vertices;
  List<PolygonGroup> groups;
  TextureCache* textures = nullptr;  // not owned
  std::unique_ptr<Skeleton> skeleton;
  std::unique_ptr<Animation>
      animation;     // clips and hand-set weights (model/animation.h); never null
  std::string name;  // doubles as the path that save (formats/model_file.h) writes
  SeamSet seams;     // edges unwrapping cuts at (model/seams.h)

 private:
  RecordPool<Vertex> vertexPool_;
  RecordPool<Polygon> polygonPool_;
  RecordPool<PolygonGroup> groupPool_;
  std::vector<std::unique_ptr<Skeleton>> retiredSkeletons_;
  // A polygon without normals, for the reader, which sets them itself.
  Polygon* makePolygon(Vertex* a, Vertex* b, Vertex* c, const double u[3], const double v[3]);
  friend class ModelBuilder;
};
