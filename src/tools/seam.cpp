// Seam marking (contract in polygon_ops.h).

#include <string>
#include <vector>

#include <absl/container/flat_hash_set.h>

#include "document/undo.h"
#include "tools/polygon_ops.h"
#include "tools/tool_context.h"

void markSeamsOfSelection(ToolContext& e) {
  Model& model = *e.doc.model;
  absl::flat_hash_set<SeamSet::Edge> found;
  std::vector<SeamSet::Edge> edges;  // in the order met, so that marking is repeatable
  for (PolygonGroup* group : model.groups)
    for (Polygon* p : group->polygons)
      for (int i = 0; i < 3; ++i) {
        const Vertex *a = p->vertices[i], *b = p->vertices[(i + 1) % 3];
        if (a->selected && b->selected && a != b && found.insert(SeamSet::edge(a, b)).second)
          edges.push_back(SeamSet::edge(a, b));
      }
  if (edges.empty()) {
    e.consoleMessage("Seam: no edge between the selected vertices.");
    return;
  }
  bool allMarked = true;
  for (const auto& [a, b] : edges) allMarked = allMarked && model.seams.contains(a, b);
  takeSnapshot(e.doc);
  for (const auto& [a, b] : edges) allMarked ? model.seams.clear(a, b) : model.seams.mark(a, b);
  e.consoleMessage("Seam: " + std::to_string(edges.size()) +
                   (edges.size() == 1 ? " edge " : " edges ") +
                   (allMarked ? "cleared." : "marked."));
}
