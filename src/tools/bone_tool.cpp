// Add Bone (contract in creation.h).

#include "tools/creation.h"
#include "tools/tool_context.h"
#include "tools/view_plane.h"

void addBoneAtCursor(ToolContext& e) {
  if (!e.doc.selectedBone && e.doc.model->hasSkeleton) return;
  if (auto p = pointUnderMouse(e)) {
    e.doc.selectedBone = e.doc.model->addBone(e.doc.selectedBone, p->x, p->y, p->z);
    e.doc.changedWithoutUndoStep();  // a bone takes no undo step, yet it is unsaved work
  }
  if (e.doc.model->hasSkeleton) e.doc.model->dumpSkeleton();
}
