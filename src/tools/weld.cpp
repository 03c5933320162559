// Weld: merges the selected vertices into the most recently selected one (the
// head of the selection), which keeps its position. Every triangle, in any
// group, that used a merged vertex uses the kept one instead, even if it ends
// up with two equal corners; the merged vertices leave the model and the
// selection holds the kept vertex alone.
//
// With fewer than two vertices selected nothing is welded (the snapshot is
// still taken). Selected vertices that are no longer in the model (the
// selection may outlive the model it was made in) take no part: the kept
// vertex is the most recent selected one still in the model, and with none
// the selection stays as it is.

#include <absl/container/flat_hash_set.h>

#include "app/editor.h"

void Editor::weldSelectedVertices() {
  takeSnapshot();
  if (selectedVertices.count() >= 2) {
    Vertex* kept = nullptr;
    for (Vertex* v : selectedVertices) {
      if (model->vertices.contains(v)) {
        kept = v;
        break;
      }
    }
    if (kept) {
      absl::flat_hash_set<const Vertex*> merged;
      for (Vertex* v : selectedVertices) {
        // A vertex listed twice is gone from the model after its first turn.
        if (v == kept || !model->vertices.contains(v)) continue;
        merged.insert(v);
        model->vertices.remove(v);
      }
      for (PolygonGroup* group : model->groups) {
        for (Polygon* p : group->polygons) {
          for (int i = 0; i < 3; ++i) {
            if (merged.contains(p->vertices[i])) {
              p->vertices[i] = kept;
              p->uvs[i].vertex = kept;
            }
          }
        }
      }
      selectedVertices.clear();
      selectedVertices.pushFront(kept);
    }
  }
  rebuildNormals();
}
