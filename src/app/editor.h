#pragma once
// The application object: owns the edited model, the five views, the shared
// interface state, every panel, the selections, the undo snapshots, the light
// and all tool and view settings. Exactly one exists in the program; it is
// built before any OpenGL context, so construction and every editing
// operation run without a window.
//
// The editing operations are free functions on the Editor, declared with
// their contracts in tools/: selection.h, transforms.h (live_transform.h for
// the drags' live values), creation.h, spline_tool.h, polygon_ops.h, undo.h,
// tool_menu.h and tool_gestures.h; the console's commands in console/. What
// draws a frame is in app/editor_frame.h.

#include <chrono>
#include <ctime>
#include <deque>
#include <memory>
#include <string>
#include <vector>

#include "console/command_context.h"
#include "console/command_state.h"
#include "document/document.h"
#include "gui/message_box.h"
#include "gui/panel.h"
#include "gui/text_entry.h"
#include "gui/ui_context.h"
#include "gui/widget.h"
#include "model/list.h"
#include "model/model.h"
#include "model/model_image.h"
#include "model/posed_model.h"
#include "model/vec3.h"
#include "recovery/recovery_state.h"
#include "render/drawing_state.h"
#include "tools/animation_state.h"
#include "tools/tool_context.h"
#include "tools/tool_state.h"
#include "view/pointer.h"
#include "view/view_set.h"

struct Bone;

class Editor {
 public:
  static constexpr int kButtonCount = 29;

  Editor();
  ~Editor();
  Editor(const Editor&) = delete;
  Editor& operator=(const Editor&) = delete;

  // --- start-up and per-frame (editor.cpp) ---
  void framePump();
  void setMainWidget(Panel* panel) { mainWidget = panel; }
  void setModifiers(int m) { pointer.modifiers = m; }
  void setKeyState(int key, int state) { keyDown[key & 0xFF] = state != 0; }
  UiContext* uiContext() { return ui.get(); }
  void showMenuPage(int i);
  void initColours();
  // The name next to the cursor for the current tool and drag ("" for none).
  std::string toolName() const;
  std::string cursorLabelName() const;
  // "View 0: Side [-4.00:4.00 x -3.00:3.00]"
  std::string viewCaption(int i) const;
  // Keeps the views and the UV view with the document after each change.
  void followModel(DocumentChange how);
  // Poses the model for animation mode's views at the current frame: "" when
  // done, else why not (more bones than a pose holds, or not enough memory,
  // and then what the pose had built is let go).
  std::string poseForViews();
  // Window size from the main panel (800 x 600 until one is given).
  double windowWidth() const;
  double windowHeight() const;

  // Whether the UV view shows in this frame: panels shown, UV Mapper open.
  bool uvViewShown() const;

  // --- views in the window (view_placement.cpp) ---
  void layoutViews();
  int viewAt(int x, int y) const;
  // Centres the UV view in the UV Mapper panel below its title band.
  void placeUvView();
  // Moves every panel back inside the window, as after the window shrank.
  void keepPanelsInWindow();

  // --- input dispatch (input_dispatch.cpp, key_bindings.cpp) ---
  void mouseMoved(int x, int y);
  void mouseButton(int button, int state);
  void keyPressed(unsigned char key, int x, int y);
  void specialKeyPressed(int key, int x, int y);

  // --- interface (interface_build.cpp, timeline_panel.cpp) ---
  void buildInterface();
  // Minimises every panel and lines them up from the top left of the window,
  // front-most first, starting a new row where one would not fit.
  void arrangeWidgets();
  void buildTimelinePanel();
  // The animation panel shows the mode's clip, frame and the selected bone's
  // keys; it stands among the panels only while the mode is on.
  void refreshTimeline();

  // --- console (the commands are in console/console_commands.h) ---
  // Appends a line to the console's message list.
  void consoleMessage(const std::string& text);

  // What the tools and the console's commands receive: the parts they act on.
  ToolContext& tools() { return commands_; }
  CommandContext& commands() { return commands_; }
  operator ToolContext&() { return commands_; }
  operator CommandContext&() { return commands_; }

  // ---------------------------------------------------------------------------
  // Fields. Who sets them is noted where the name is not enough.
  // The model, its selections and its undo history; every change passes here.
  Document doc;
  // Unsaved work's recovery file (recovery/recovery_session.h), following doc.
  RecoveryState recovery{doc};
  // The parts the tools, the console's commands and drawing act on.
  ViewSet viewSet;
  ToolState toolState;
  AnimationState animation;  // animation mode (tools/animation_mode.h)
  CommandState commandState;
  DrawingState drawing;
  // Input and the interface.
  Pointer pointer;
  bool keyDown[256] = {};  // while the key with that 8-bit code is held (key callbacks)
  double pressPanX = 0, pressPanY = 0;  // the view's camera where a view drag began
  double pressRotX = 0, pressRotY = 0;
  double pressZoom = 0;
  int menuPage = 1;
  int keyScrollStep = 4;
  bool panelsShown = false;  // toggled by Home
  std::unique_ptr<UiContext> ui = std::make_unique<UiContext>();
  Panel* mainWidget = nullptr;  // given by main; its size follows the window
  Panel* consoleWidget = nullptr;
  Panel* uvMapperWidget = nullptr;
  Panel* activeMenu = nullptr;                   // the current menu page
  Panel* timelineWidget = nullptr;               // the animation panel
  std::unique_ptr<TimelineStrip> timelineStrip;  // its strip
  Panel* menuPages[4] = {};
  TextEntry* consolePrompt = nullptr;
  MessageBox* consoleMessages = nullptr;
  List<Button> menuItemLists[4];
  List<Panel> widgets;  // top-level panels, front-most first
  Button* buttons[kButtonCount] = {};

 private:
  CommandContext commands_{
      {doc, viewSet, toolState, animation, pointer, [this] { return poseForViews(); }},
      recovery,
      commandState,
      *ui->textures()};
  // Owners of the interface objects.
  std::vector<std::unique_ptr<Panel>> ownedPanels_;
  std::vector<std::unique_ptr<Button>> ownedButtons_;
  std::unique_ptr<TextEntry> ownedPrompt_;
  std::unique_ptr<MessageBox> ownedMessages_;

 public:
  // Used by buildInterface to keep what it makes.
  Panel* keepPanel(std::unique_ptr<Panel> panel);
  Button* keepButton(std::unique_ptr<Button> button);
  void adoptConsoleWidgets(std::unique_ptr<TextEntry> prompt, std::unique_ptr<MessageBox> box);
};
