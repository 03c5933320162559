// Delete: removes the selected polygons from the current group, then the
// selected vertices from the model together with every triangle that uses one
// of them, in whichever group it is: a triangle may not outlive its corners.
// Both selections end empty; the UV selection is left as it is.
//
// With nothing selected only the snapshot is taken.

#include <absl/container/flat_hash_set.h>

#include "app/editor.h"

void Editor::deleteSelection() {
  takeSnapshot();
  List<Polygon>& polygons = model->currentGroup->polygons;
  if (selectedPolygons.count() > 0) polygons.removeAll(selectedPolygons);
  selectedPolygons.clear();

  if (selectedVertices.count() > 0) {
    absl::flat_hash_set<const Vertex*> doomed;
    doomed.reserve(selectedVertices.count());
    for (Vertex* v : selectedVertices) doomed.insert(v);
    for (PolygonGroup* group : model->groups) {
      List<Polygon> users;
      for (Polygon* p : group->polygons) {
        if (doomed.contains(p->vertices[0]) || doomed.contains(p->vertices[1]) ||
            doomed.contains(p->vertices[2])) {
          users.pushFront(p);
        }
      }
      group->polygons.removeAll(users);
    }
    model->vertices.removeAll(selectedVertices);
  }
  selectedVertices.clear();
  rebuildNormals();
}
