// The bone tree: a wire cube at every joint and a line per bone; the
// descendants of the selected bone are drawn red, the rest green.

#include <GL/glut.h>

#include <vector>

#include "model/model.h"
#include "model/skeleton.h"

void Model::drawSkeleton(Bone* selectedBone) {
  if (!hasSkeleton || !skeleton) return;
  // underSelection[d]: whether the bone being drawn at depth d descends from
  // the selected bone. A parent is always visited before its children.
  std::vector<char> underSelection;
  forEachBone(skeleton->root, [&](Bone* bone, int depth) {
    underSelection.resize(depth + 1);
    underSelection[depth] =
        depth > 0 && (underSelection[depth - 1] || bone->parent == selectedBone);
    const Vertex& start = *bone->start;
    const Vertex& end = *bone->end;

    // The cube takes the colour of the previous segment, as the tree is drawn.
    glPushMatrix();
    glTranslatef(static_cast<float>(end.x), static_cast<float>(end.y), static_cast<float>(end.z));
    glutWireCube(0.1);
    glPopMatrix();

    if (underSelection[depth]) {
      glColor3f(1, 0, 0);
    } else {
      glColor3f(0, 1, 0);
    }
    glBegin(GL_LINES);
    glVertex3f(static_cast<float>(start.x), static_cast<float>(start.y),
               static_cast<float>(start.z));
    glVertex3f(static_cast<float>(end.x), static_cast<float>(end.y), static_cast<float>(end.z));
    glEnd();
  });
}
