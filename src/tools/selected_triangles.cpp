#include "tools/selected_triangles.h"

#include <absl/container/flat_hash_set.h>

std::vector<Polygon*> selectedTriangles(const Document& doc) {
  absl::flat_hash_set<const Polygon*> selected;
  for (Polygon* p : doc.selectedPolygons) selected.insert(p);
  std::vector<Polygon*> found;
  for (PolygonGroup* group : doc.model->groups)
    for (Polygon* p : group->polygons)
      if (selected.erase(p)) found.push_back(p);
  return found;
}
