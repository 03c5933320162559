#include "app/editor.h"
#include "console/console_commands.h"
#include "console/open_request.h"
#include "console/tokenizer.h"
#include "document/undo.h"
#include "model/skin.h"
#include "recovery/recovery_session.h"
#include "render/light.h"
#include "tools/animation_mode.h"
#include "tools/mirror.h"
#include "tools/snapping.h"
#include "tools/spline.h"
#include "tools/tool_menu.h"

#include <algorithm>
#include <cstdio>
#include <new>

Editor::Editor() {
  doc.model = std::make_unique<Model>("testmodel", ui->textures());
  doc.setTell([this](const std::string& text) { consoleMessage(text); });
  // Recovered undo steps still being read: all of them before the last one
  // installed is undone, as each is held against the one after it.
  doc.beforeUndo = [this] {
    installRecoveredSteps(recovery, /*all=*/doc.undoHistory.undoCount() <= 1);
  };
  doc.listen([this](DocumentChange how) { followModel(how); });
  recovery.tell = [this](const std::string& text) { consoleMessage(text); };
  recovery.showConsole = [this] {
    panelsShown = true;
    if (consoleWidget && widgets.contains(consoleWidget)) widgets.moveToFront(consoleWidget);
  };
  initColours();
  buildInterface();
}

Editor::~Editor() = default;

void Editor::initColours() {
  static const float kColours[UiContext::kColourSlots][4] = {
      {0.65f, 0.65f, 0.7f, 1.0f},  // panel background, pointer outside
      {0.7f, 0.7f, 0.7f, 1.0f},    // panel background, pointer over the panel
      {0.6f, 0.6f, 0.6f, 0.5f},    // panel background while moving
      {0.6f, 0.6f, 0.6f, 0.5f},    // panel background while resizing
      {0.7f, 0.6f, 0.9f, 0.9f},    // title band
      {0.1f, 0.1f, 0.1f, 1.0f},    // outlines
      {0.6f, 0.3f, 0.3f, 1.0f},    // unused by the toolkit
      {0.7f, 0.7f, 0.75f, 1.0f},   // menu button
      {0.8f, 0.8f, 0.9f, 1.0f},    // menu button under the pointer
      {0.3f, 0.2f, 0.0f, 1.0f},    // unused by the toolkit
      {0.2f, 0.3f, 0.0f, 1.0f},    // unused by the toolkit
      {0.4f, 0.4f, 0.4f, 1.0f},    // text entry with focus
      {0.3f, 0.3f, 0.3f, 1.0f},    // text entry without focus
      {0.9f, 0.9f, 0.9f, 1.0f},    // control buttons, first colour
      {0.1f, 0.1f, 0.1f, 1.0f},    // control buttons, second colour
      {0.0f, 0.0f, 0.0f, 1.0f},    // labels and titles
  };
  for (int slot = 0; slot < UiContext::kColourSlots; ++slot) {
    const float* c = kColours[slot];
    ui->setColour(slot, c[0], c[1], c[2], c[3]);
  }
  ui->setTitleBarHeight(20);
}

void Editor::framePump() {
  for (int code = ui->popCommand(); code != -1; code = ui->popCommand()) {
    if (menuCommandChangesScene(code)) viewSet.sceneChanged();
    runEdit(doc, [&] { toolMenuCommand(*this, code); });
  }
  ui->pollFocusedEntry();
  while (ui->isLinePending()) {
    viewSet.sceneChanged();
    const std::string line = ui->takeCommandLine();
    runEdit(doc, [&] { runConsoleCommand(*this, line); });
  }
  refreshTimeline();
  for (Panel* panel : widgets) panel->update();
}

void Editor::showMenuPage(int i) {
  activeMenu = menuPages[i];
  menuPage = i;
  for (int page = 0; page < 4; ++page) {
    if (!menuPages[page]) continue;
    if (page == i) {
      menuPages[page]->show();
    } else {
      menuPages[page]->hide();
    }
  }
}

std::string Editor::toolName() const {
  static const char* const kNames[] = {
      "Select Vertex", "Select Polygon", "Select Bone",  "Move",       "Rotate",
      "Scale 2D",      "Scale 3D",       "Add Vertex",   "Create Box", "Create Cylinder",
      "Extrude",       "Add Bone",       "Create Spline", "Weight Paint"};
  if (toolState.tool == kAddBone && !doc.model->hasSkeleton) return "Create Skeleton (Root)";
  return (toolState.tool >= 0 && toolState.tool <= kWeightPaint) ? kNames[toolState.tool] : "";
}

std::string Editor::cursorLabelName() const {
  switch (toolState.dragMode) {
    case kRubberBand:
      return "Select";
    case kRotateView:
      return "Rotate View";
    case kZoomView:
      return "Zoom View";
    case kScrollView:
      return "Scroll View";
    case kNoDrag:
    case kToolDrag:
      return toolName();
    default:
      return "";
  }
}

std::string Editor::viewCaption(int i) const {
  const Viewport& v = viewSet.views[i];
  char text[256];
  std::snprintf(text, sizeof text, "View %d: %s [%.2f:%.2f x %.2f:%.2f]", i, v.caption(), v.left,
                v.right, v.bottom, v.top);
  // The Full view is never snapped.
  std::string caption = text;
  const std::string snapping = snappingLabel(toolState.snapping);
  if (v.kind != kFullView && !snapping.empty()) caption += "  " + snapping;
  if (toolState.mirrorAxis >= 0) caption += "  " + mirrorLabel(toolState.mirrorAxis);
  return caption;
}

void Editor::followModel(DocumentChange how) {
  viewSet.sceneChanged();
  if (how == DocumentChange::kEdit) return;
  // The UV view shows the new model's texture, or none: never the old one's.
  // Only a texture read already is shown here; reading is left to the opening.
  const Material& look = doc.model->currentGroup->material;
  if (look.textured) {
    viewSet.uvTexture = std::max(0, ui->textures()->find(look.textureName));
  } else {
    viewSet.uvTexture = 0;
    viewSet.showUvTexture = false;
  }
}

double Editor::windowWidth() const {
  return mainWidget ? mainWidget->width() : ui->windowWidth();
}

double Editor::windowHeight() const {
  return mainWidget ? mainWidget->height() : ui->windowHeight();
}

void Editor::consoleMessage(const std::string& text) {
  if (consoleMessages && consoleMessages->currentList()) {
    consoleMessages->currentList()->addMessage(text);
    consoleMessages->scrollToNewest();  // an answer is seen as it comes
  }
}

Panel* Editor::keepPanel(std::unique_ptr<Panel> panel) {
  ownedPanels_.push_back(std::move(panel));
  return ownedPanels_.back().get();
}

Button* Editor::keepButton(std::unique_ptr<Button> button) {
  ownedButtons_.push_back(std::move(button));
  return ownedButtons_.back().get();
}

void Editor::adoptConsoleWidgets(std::unique_ptr<TextEntry> prompt,
                                 std::unique_ptr<MessageBox> box) {
  ownedPrompt_ = std::move(prompt);
  ownedMessages_ = std::move(box);
}

std::string Editor::poseForViews() {
  try {
    if (animation.posedModel.pose(*doc.model, currentClip(*this), animation.frame,
                                  animation.rigRevision,
                                  drawing.keepViewPictures ? viewSet.sceneRevision + 1 : 0))
      return "";
    const std::string why = poseRefusal(animation.posedModel.rig());
    animation.posedModel = PosedModel(), drawing.posedDrawing = PosedDrawing();
    return why;
  } catch (const std::bad_alloc&) {
    animation.posedModel = PosedModel(), drawing.posedDrawing = PosedDrawing();
    return "not enough memory to pose the model";
  }
}
