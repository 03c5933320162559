// The bone tree: a wire cube at every joint and a line per bone; the
// descendants of the selected bone are drawn red, the rest green.

#include <GL/glut.h>

#include <vector>

#include "model/model.h"
#include "model/skeleton.h"
#include "render/model_drawing.h"
#include "render/wire_cube.h"

namespace {
// Bones go to OpenGL this many at a time, so the buffers stay small.
constexpr size_t kBonesPerDraw = 16384;

// Visits the bones in drawing order, saying of each whether it descends from
// the selected bone (a parent is always visited before its children).
template <class Visit>
void forEachBoneUnder(Bone* root, Bone* selectedBone, Visit visit) {
  std::vector<char> underSelection;  // for the bone being visited at each depth
  forEachBone(root, [&](Bone* bone, int depth) {
    underSelection.resize(depth + 1);
    underSelection[depth] =
        depth > 0 && (underSelection[depth - 1] || bone->parent == selectedBone);
    visit(bone, underSelection[depth] != 0);
  });
}

// The same tree as lines from arrays: each joint's 12 cube edges in the colour
// the plain drawing leaves current, then its bone's line.
void drawSkeletonBatched(const Skeleton& skeleton, Bone* selectedBone) {
  float current[4];
  glGetFloatv(GL_CURRENT_COLOR, current);
  float r = current[0], g = current[1], b = current[2];
  std::vector<float> positions, colours;
  const CubeSight sight = currentCubeSight();
  size_t pending = 0;
  forEachBoneUnder(skeleton.root, selectedBone, [&](Bone* bone, bool underSelection) {
    const Vertex& start = *bone->start;
    const Vertex& end = *bone->end;
    const int ends = appendWireCube(positions, static_cast<float>(end.x), static_cast<float>(end.y),
                                    static_cast<float>(end.z), 0.1, sight);
    appendColour(colours, ends, r, g, b);
    r = underSelection ? 1 : 0, g = underSelection ? 0 : 1, b = 0;
    positions.insert(positions.end(), {static_cast<float>(start.x), static_cast<float>(start.y),
                                       static_cast<float>(start.z), static_cast<float>(end.x),
                                       static_cast<float>(end.y), static_cast<float>(end.z)});
    appendColour(colours, 2, r, g, b);
    if (++pending == kBonesPerDraw) {
      drawColouredLines(positions, colours);
      positions.clear(), colours.clear(), pending = 0;
    }
  });
  drawColouredLines(positions, colours);
  glColor3f(r, g, b);
}

}  // namespace

void drawSkeleton(Model& model, Bone* selectedBone, bool batched) {
  if (!model.hasSkeleton || !model.skeleton) return;
  if (batched) {
    drawSkeletonBatched(*model.skeleton, selectedBone);
    return;
  }
  forEachBoneUnder(model.skeleton->root, selectedBone, [&](Bone* bone, bool underSelection) {
    const Vertex& start = *bone->start;
    const Vertex& end = *bone->end;

    // The cube takes the colour of the previous segment, as the tree is drawn.
    glPushMatrix();
    glTranslatef(static_cast<float>(end.x), static_cast<float>(end.y), static_cast<float>(end.z));
    glutWireCube(0.1);
    glPopMatrix();

    if (underSelection) {
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
