// Add Bone (contract in creation.h).

#include "app/editor.h"
#include "tools/creation.h"
#include "tools/view_plane.h"

void addBoneAtCursor(Editor& e) {
  if (!e.selectedBone && e.model->hasSkeleton) return;
  if (auto p = pointUnderMouse(e))
    e.selectedBone = e.model->addBone(e.selectedBone, p->x, p->y, p->z);
  if (e.model->hasSkeleton) e.model->dumpSkeleton();
}
