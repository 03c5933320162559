// Weight painting (contracts in weight_paint.h).

#include "tools/weight_paint.h"

#include <algorithm>
#include <cmath>
#include <cstdio>
#include <numbers>

#include "document/undo.h"
#include "model/marks.h"
#include "model/model.h"
#include "model/skeleton.h"
#include "model/skin.h"
#include "tools/tool_context.h"
#include "view/input_codes.h"

namespace {

constexpr const char* kNeedsSkeleton = "Weight painting needs a skeleton: make one with x first.";
constexpr const char* kNeedsBone = "Select the bone whose weights to paint (F3).";

// glRotatef's turn about one axis, in degrees.
void turn(double degrees, int axis, double& x, double& y, double& z) {
  if (degrees == 0) return;
  const double a = degrees * std::numbers::pi / 180, c = std::cos(a), s = std::sin(a);
  double nx = x, ny = y, nz = z;
  if (axis == 0) ny = c * y - s * z, nz = s * y + c * z;
  if (axis == 1) nx = c * x + s * z, nz = -s * x + c * z;
  if (axis == 2) nx = c * x - s * y, ny = s * x + c * y;
  x = nx, y = ny, z = nz;
}

// The rig, or why painting is refused ("" when it may go on).
const char* refusal(const ToolContext& e, const Rig& rig) {
  if (!e.doc.model->hasSkeleton || rig.size() == 0) return kNeedsSkeleton;
  if (rig.indexOf(e.doc.selectedBone) < 0) return kNeedsBone;
  return "";
}

// Each vertex's neighbours, from the triangles' corners (indices into the
// binding's vertices), each listed once.
void buildNeighbours(const std::vector<uint32_t>& corners, size_t count,
                     std::vector<uint32_t>& start, std::vector<uint32_t>& items) {
  start.assign(count + 1, 0);
  for (size_t t = 0; t + 2 < corners.size(); t += 3)
    for (int k = 0; k < 3; ++k) start[corners[t + k] + 1] += 2;
  for (size_t v = 0; v < count; ++v) start[v + 1] += start[v];
  items.assign(start[count], 0);
  std::vector<uint32_t> fill(start.begin(), start.end() - 1);
  for (size_t t = 0; t + 2 < corners.size(); t += 3)
    for (int k = 0; k < 3; ++k) {
      const uint32_t v = corners[t + k];
      items[fill[v]++] = corners[t + (k + 1) % 3];
      items[fill[v]++] = corners[t + (k + 2) % 3];
    }
  // Duplicates go: a vertex shared by many triangles counts once.
  std::vector<uint32_t> packed;
  packed.reserve(items.size());
  std::vector<uint32_t> newStart(count + 1, 0);
  for (size_t v = 0; v < count; ++v) {
    const size_t from = packed.size();
    for (uint32_t i = start[v]; i < start[v + 1]; ++i)
      if (items[i] != v && std::find(packed.begin() + from, packed.end(), items[i]) == packed.end())
        packed.push_back(items[i]);
    newStart[v + 1] = static_cast<uint32_t>(packed.size());
  }
  start = std::move(newStart);
  items = std::move(packed);
}

// A change of hand-set weights: the undo step before, unsaved after.
struct WeightEdit {
  ToolContext& e;
  bool stepTaken = false;
  void before() {
    if (!stepTaken) takeSnapshot(e.doc);
    stepTaken = true;
  }
};

// The selected vertices' indices in the binding, each once.
std::vector<uint32_t> selectedIndices(ToolContext& e, const SkinBinding& binding) {
  const uint64_t pass = newMarkPass();
  markAll(e.doc.selectedVertices, pass);
  std::vector<uint32_t> found;
  for (size_t v = 0; v < binding.vertices.size(); ++v) {
    Vertex* vertex = binding.vertices[v];
    if (!isMarked(vertex, pass)) continue;
    vertex->markPass = 0;
    found.push_back(static_cast<uint32_t>(v));
  }
  return found;
}

bool sameWeights(const std::vector<BoneWeight>& a, const std::vector<BoneWeight>& b) {
  if (a.size() != b.size()) return false;
  for (size_t i = 0; i < a.size(); ++i)
    if (a[i].bone != b[i].bone || a[i].weight != b[i].weight) return false;
  return true;
}

// The weights every vertex follows now, as bones.
std::vector<std::vector<BoneWeight>> currentWeights(const SkinBinding& binding, const Rig& rig) {
  std::vector<std::vector<BoneWeight>> weights(binding.vertices.size());
  for (size_t v = 0; v < binding.vertices.size(); ++v)
    weights[v] = weightsOf(binding.influences[v], rig);
  return weights;
}

// Writes `next` as the hand-set weights of the chosen vertices that change;
// answers how many changed.
int storeWeights(ToolContext& e, const SkinBinding& binding, const std::vector<uint32_t>& chosen,
                 const std::vector<std::vector<BoneWeight>>& next) {
  auto& set = e.doc.model->animation->weights;
  WeightEdit edit{e};
  int changed = 0;
  for (size_t i = 0; i < chosen.size(); ++i) {
    Vertex* vertex = binding.vertices[chosen[i]];
    auto old = set.find(vertex);
    if (old != set.end() && sameWeights(old->second, next[i])) continue;
    edit.before();
    set[vertex] = next[i];
    ++changed;
  }
  if (changed) {
    ++e.animation.rigRevision;
    e.viewSet.sceneChanged();
  }
  return changed;
}

struct Prepared {
  Rig rig;
  SkinBinding binding;
  std::vector<uint32_t> chosen;
};

// The rig, binding and selected vertices of a /weights command, or false
// after the refusal's message.
bool prepare(ToolContext& e, Prepared& p) {
  p.rig = flattenRig(*e.doc.model);
  if (const char* why = refusal(e, p.rig); *why) {
    e.consoleMessage(why);
    return false;
  }
  if (const std::string why = poseRefusal(p.rig); !why.empty()) {
    e.consoleMessage("Error! No weights can be set: " + why + "!");
    return false;
  }
  if (e.doc.selectedVertices.empty()) {
    e.consoleMessage("Select the vertices whose weights to change.");
    return false;
  }
  p.binding = bindSkin(*e.doc.model, p.rig);
  p.chosen = selectedIndices(e, p.binding);
  return true;
}

void report(ToolContext& e, const char* what, int changed) {
  e.consoleMessage(std::string("Weights ") + what + " on " + std::to_string(changed) +
                   " vertices.");
}

// Distance squared from p to the segment a..b.
double segmentDistance2(const glm::dvec3& p, const glm::dvec3& a, const glm::dvec3& b) {
  const glm::dvec3 ab = b - a;
  const double length2 = glm::dot(ab, ab);
  const double t = length2 > 0 ? std::clamp(glm::dot(p - a, ab) / length2, 0.0, 1.0) : 0.0;
  const glm::dvec3 d = p - (a + t * ab);
  return glm::dot(d, d);
}

}  // namespace

namespace {

// Where the view shows a model point, in pixels; every step a turn or an
// affine map, so the whole is affine.
ScreenPoint projectOnce(const Viewport& view, double modelRotX, double modelRotY, double modelRotZ,
                        double x, double y, double z) {
  // The model's own rotation is applied innermost (ModelDrawing::draw).
  turn(modelRotZ, 2, x, y, z);
  turn(modelRotY, 1, x, y, z);
  turn(modelRotX, 0, x, y, z);
  double h = x, v = y;
  switch (view.kind) {
    case kFrontView:
      h = z, v = y;
      break;
    case kTopView:
      h = z, v = x;
      break;
    case kFullView:
      x -= view.pivot.x, y -= view.pivot.y, z -= view.pivot.z;
      turn(view.rotZ, 2, x, y, z);
      turn(view.rotY, 1, x, y, z);
      turn(view.rotX, 0, x, y, z);
      h = x, v = y;
      break;
    default:
      break;
  }
  return {view.rectLeft + (h - view.left) / (view.right - view.left) * view.pixelWidth,
          view.rectBottom + (v - view.bottom) / (view.top - view.bottom) * view.pixelHeight};
}

}  // namespace

WindowProjection::WindowProjection(const Viewport& view, double modelRotX, double modelRotY,
                                   double modelRotZ) {
  const ScreenPoint origin = projectOnce(view, modelRotX, modelRotY, modelRotZ, 0, 0, 0);
  offset_[0] = origin.x, offset_[1] = origin.y;
  for (int axis = 0; axis < 3; ++axis) {
    const ScreenPoint unit =
        projectOnce(view, modelRotX, modelRotY, modelRotZ, axis == 0, axis == 1, axis == 2);
    rows_[0][axis] = unit.x - origin.x;
    rows_[1][axis] = unit.y - origin.y;
  }
}

ScreenPoint WindowProjection::operator()(double x, double y, double z) const {
  return {offset_[0] + rows_[0][0] * x + rows_[0][1] * y + rows_[0][2] * z,
          offset_[1] + rows_[1][0] * x + rows_[1][1] * y + rows_[1][2] * z};
}

void chooseWeightPaint(ToolContext& e) {
  if (!e.doc.model->hasSkeleton || !e.doc.model->rootBone()) {
    e.consoleMessage(kNeedsSkeleton);
    return;
  }
  e.toolState.tool = kWeightPaint;
}

void setBrush(ToolContext& e, double radius, double strength) {
  if (!(radius >= 1 && radius <= Brush::kMaxRadius)) {
    e.consoleMessage("Error! The brush radius is a number of pixels from 1 to 2000!");
    return;
  }
  if (!(strength >= 0 && strength <= 1)) {
    e.consoleMessage("Error! The brush strength is a number from 0 to 1!");
    return;
  }
  e.toolState.brush = Brush{radius, strength};
  char shown[96];
  std::snprintf(shown, sizeof shown, "Brush of %g pixels, strength %g.", radius, strength);
  e.consoleMessage(shown);
}

void startWeightStroke(ToolContext& e) {
  e.toolState.stroke.reset();
  const Viewport& view = e.viewSet.views[e.viewSet.activeView];
  auto stroke = std::make_shared<WeightStroke>();
  stroke->rig = flattenRig(*e.doc.model);
  const char* why = refusal(e, stroke->rig);
  std::string poseWhy = *why ? "" : poseRefusal(stroke->rig);
  if (*why || !poseWhy.empty() || view.kind == kUvView) {
    if (*why) e.consoleMessage(why);
    if (!poseWhy.empty()) e.consoleMessage("Error! No weights can be set: " + poseWhy + "!");
    e.toolState.dragMode = kNoDrag;
    return;
  }
  WeightStroke& s = *stroke;
  s.bone = stroke->rig.indexOf(e.doc.selectedBone);
  s.heir = e.doc.selectedBone->parent;
  const int held = e.pointer.modifiers < 0 ? 0 : e.pointer.modifiers & kModifierMask;
  s.mode = (held & kShift)  ? BrushMode::kSmooth
           : (held & kCtrl) ? BrushMode::kSubtract
                            : BrushMode::kAdd;
  SkinBinding binding = bindSkin(*e.doc.model, s.rig);
  s.vertices = std::move(binding.vertices);
  s.corners = std::move(binding.corners);
  const size_t n = s.vertices.size();
  s.weights.resize(n);
  s.screenX.resize(n), s.screenY.resize(n);
  const Model& m = *e.doc.model;
  const WindowProjection project(view, m.rotationX, m.rotationY, m.rotationZ);
  for (size_t v = 0; v < n; ++v) {
    s.weights[v] = weightsOf(binding.influences[v], s.rig);
    const Vertex* p = s.vertices[v];
    const ScreenPoint at = project(p->x, p->y, p->z);
    s.screenX[v] = static_cast<float>(at.x), s.screenY[v] = static_cast<float>(at.y);
  }
  // The grid covers the view's rectangle: the brush's centre stays near it,
  // and a vertex outside it is not under a brush inside.
  const double radius = std::max(1.0, e.toolState.brush.radius);
  s.cellSize = radius;
  s.gridLeft = view.rectLeft - static_cast<int>(radius);
  s.gridBottom = view.rectBottom - static_cast<int>(radius);
  s.columns = static_cast<int>((view.pixelWidth + 2 * radius) / s.cellSize) + 1;
  s.rows = static_cast<int>((view.pixelHeight + 2 * radius) / s.cellSize) + 1;
  const size_t cells = static_cast<size_t>(s.columns) * s.rows;
  std::vector<int32_t> cellOf(n, -1);
  s.cellStart.assign(cells + 1, 0);
  for (size_t v = 0; v < n; ++v) {
    const double cx = std::floor((s.screenX[v] - s.gridLeft) / s.cellSize);
    const double cy = std::floor((s.screenY[v] - s.gridBottom) / s.cellSize);
    if (!(cx >= 0 && cx < s.columns && cy >= 0 && cy < s.rows)) continue;
    cellOf[v] = static_cast<int32_t>(cy) * s.columns + static_cast<int32_t>(cx);
    ++s.cellStart[cellOf[v] + 1];
  }
  for (size_t c = 0; c < cells; ++c) s.cellStart[c + 1] += s.cellStart[c];
  s.cellItems.assign(s.cellStart[cells], 0);
  std::vector<uint32_t> fill(s.cellStart.begin(), s.cellStart.end() - 1);
  for (size_t v = 0; v < n; ++v)
    if (cellOf[v] >= 0) s.cellItems[fill[cellOf[v]]++] = static_cast<uint32_t>(v);
  e.toolState.stroke = std::move(stroke);
  paintWeightDab(e);
}

void verticesUnderBrush(const WeightStroke& s, double x, double y, double radius,
                        std::vector<uint32_t>& found, std::vector<double>& distances) {
  found.clear(), distances.clear();
  if (s.columns <= 0 || s.rows <= 0) return;
  const int c0 = std::max(0, static_cast<int>(std::floor((x - radius - s.gridLeft) / s.cellSize)));
  const int c1 =
      std::min(s.columns - 1, static_cast<int>(std::floor((x + radius - s.gridLeft) / s.cellSize)));
  const int r0 =
      std::max(0, static_cast<int>(std::floor((y - radius - s.gridBottom) / s.cellSize)));
  const int r1 =
      std::min(s.rows - 1, static_cast<int>(std::floor((y + radius - s.gridBottom) / s.cellSize)));
  for (int r = r0; r <= r1; ++r)
    for (int c = c0; c <= c1; ++c) {
      const size_t cell = static_cast<size_t>(r) * s.columns + c;
      for (uint32_t i = s.cellStart[cell]; i < s.cellStart[cell + 1]; ++i) {
        const uint32_t v = s.cellItems[i];
        const double d = std::hypot(s.screenX[v] - x, s.screenY[v] - y);
        if (d < radius) found.push_back(v), distances.push_back(d);
      }
    }
}

void paintWeightDab(ToolContext& e) {
  if (!e.toolState.stroke) return;
  WeightStroke& s = *e.toolState.stroke;
  ++s.dabs;
  const Brush& brush = e.toolState.brush;
  thread_local std::vector<uint32_t> found;
  thread_local std::vector<double> distances, next;
  verticesUnderBrush(s, e.pointer.mouseX, e.pointer.mouseY, brush.radius, found, distances);
  if (found.empty()) return;
  const Bone* bone = s.rig.bones[s.bone];
  if (s.mode == BrushMode::kSmooth && s.neighbourStart.empty())
    buildNeighbours(s.corners, s.vertices.size(), s.neighbourStart, s.neighbourItems);
  // Every new weight from the weights before this dab, so the order of the
  // vertices does not matter.
  next.resize(found.size());
  for (size_t i = 0; i < found.size(); ++i) {
    const uint32_t v = found[i];
    double mean = 0;
    if (s.mode == BrushMode::kSmooth) {
      const uint32_t from = s.neighbourStart[v], to = s.neighbourStart[v + 1];
      for (uint32_t k = from; k < to; ++k) mean += weightOf(s.weights[s.neighbourItems[k]], bone);
      mean = to > from ? mean / (to - from) : weightOf(s.weights[v], bone);
    }
    next[i] = paintedWeight(s.mode, weightOf(s.weights[v], bone),
                            brush.strength * brushFalloff(distances[i], brush.radius), mean);
  }
  auto& set = e.doc.model->animation->weights;
  bool changed = false;
  for (size_t i = 0; i < found.size(); ++i) {
    const uint32_t v = found[i];
    std::vector<BoneWeight> weights = withWeight(s.weights[v], bone, next[i], s.heir);
    if (sameWeights(weights, s.weights[v])) continue;
    // A vertex whose weight on the bone stays keeps the weights the bones
    // derive, rather than the same ones in another order set by hand.
    if (std::abs(weightOf(weights, bone) - weightOf(s.weights[v], bone)) == 0 &&
        set.find(s.vertices[v]) == set.end())
      continue;
    if (!changed && !s.stepTaken) takeSnapshot(e.doc);
    s.stepTaken = changed = true;
    s.weights[v] = weights;
    set[s.vertices[v]] = std::move(weights);
  }
  if (!changed) return;
  ++e.animation.rigRevision;
  e.doc.changedWithoutUndoStep();  // the stroke's one step was taken at its first change
}

void endWeightStroke(ToolContext& e) {
  e.toolState.stroke.reset();
}

void normalizeSelectedWeights(ToolContext& e) {
  Prepared p;
  if (!prepare(e, p)) return;
  const auto& set = e.doc.model->animation->weights;
  std::vector<uint32_t> chosen;
  std::vector<std::vector<BoneWeight>> next;
  for (uint32_t v : p.chosen) {
    auto hand = set.find(p.binding.vertices[v]);
    if (hand == set.end()) continue;  // derived weights are normalised already
    chosen.push_back(v);
    next.push_back(normalisedWeights(hand->second, e.doc.model->rootBone()));
  }
  report(e, "normalised", storeWeights(e, p.binding, chosen, next));
}

void smoothSelectedWeights(ToolContext& e, int passes) {
  if (passes < 1 || passes > 1000) {
    e.consoleMessage("Error! The passes are a whole number from 1 to 1000!");
    return;
  }
  Prepared p;
  if (!prepare(e, p)) return;
  std::vector<std::vector<BoneWeight>> weights = currentWeights(p.binding, p.rig);
  std::vector<uint32_t> start, items;
  buildNeighbours(p.binding.corners, p.binding.vertices.size(), start, items);
  const Bone* root = e.doc.model->rootBone();
  for (int pass = 0; pass < passes; ++pass) {
    std::vector<std::vector<BoneWeight>> next(p.chosen.size());
    for (size_t i = 0; i < p.chosen.size(); ++i) {
      const uint32_t v = p.chosen[i];
      const uint32_t count = start[v + 1] - start[v];
      std::vector<BoneWeight> mixed;
      for (const BoneWeight& w : weights[v]) mixed.push_back({w.bone, w.weight * 0.5});
      for (uint32_t k = start[v]; k < start[v + 1]; ++k)
        for (const BoneWeight& w : weights[items[k]])
          mixed.push_back({w.bone, w.weight * 0.5 / count});
      next[i] = count ? normalisedWeights(mixed, root) : weights[v];
    }
    for (size_t i = 0; i < p.chosen.size(); ++i) weights[p.chosen[i]] = std::move(next[i]);
  }
  std::vector<std::vector<BoneWeight>> chosenWeights;
  for (uint32_t v : p.chosen) chosenWeights.push_back(weights[v]);
  report(e, "smoothed", storeWeights(e, p.binding, p.chosen, chosenWeights));
}

void autoSelectedWeights(ToolContext& e) {
  Prepared p;
  if (!prepare(e, p)) return;
  std::vector<std::vector<BoneWeight>> next;
  for (uint32_t v : p.chosen) {
    const Vertex* q = p.binding.vertices[v];
    const glm::dvec3 at{q->x, q->y, q->z};
    std::vector<BoneWeight> all;
    for (size_t b = 0; b < p.rig.size(); ++b) {
      const double d2 = segmentDistance2(at, p.rig.start[b], p.rig.end[b]);
      all.push_back({p.rig.bones[b], 1 / (d2 + 1e-12)});
    }
    next.push_back(normalisedWeights(std::move(all), e.doc.model->rootBone()));
  }
  report(e, "from the bones' distances", storeWeights(e, p.binding, p.chosen, next));
}
