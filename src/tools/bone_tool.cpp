// Add Bone / Create Skeleton (Root): at the release point on the active view's
// plane, creates the skeleton's root when the model has none, else a child of
// the selected bone, and selects the new bone. With a skeleton but no bone
// selected nothing happens; in the Full and UV views no bone is added. The
// skeleton is printed after every use. No snapshot is taken.

#include "app/editor.h"
#include "tools/creation.h"
#include "tools/view_plane.h"

void addBoneAtCursor(Editor& e) {
  if (!e.selectedBone && e.model->hasSkeleton) return;
  if (auto p = pointUnderMouse(e))
    e.selectedBone = e.model->addBone(e.selectedBone, p->x, p->y, p->z);
  if (e.model->hasSkeleton) e.model->dumpSkeleton();
}
