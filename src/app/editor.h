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
// draws a frame is in render/frame_draw.h.

#include <chrono>
#include <ctime>
#include <deque>
#include <memory>
#include <string>
#include <vector>

#include "document/undo_history.h"
#include "gui/message_box.h"
#include "gui/panel.h"
#include "gui/text_entry.h"
#include "gui/ui_context.h"
#include "gui/widget.h"
#include "import/import_child.h"
#include "model/list.h"
#include "model/model.h"
#include "model/model_image.h"
#include "model/vec3.h"
#include "render/model_drawing.h"
#include "render/posed_drawing.h"
#include "render/view_freshness.h"
#include "tools/animation_state.h"
#include "view/viewport.h"

class Light;
struct BackgroundOpen;
struct RecoveryState;
class Spline;
class Tokenizer;
struct Bone;

enum Tool {
  kSelectVertex = 0,
  kSelectPolygon = 1,
  kSelectBone = 2,
  kMove = 3,
  kRotate = 4,
  kScale2D = 5,
  kScale3D = 6,
  kAddVertex = 7,
  kCreateBox = 8,
  kCreateCylinder = 9,
  kExtrude = 10,
  kAddBone = 11,
  kCreateSpline = 12,
};

// What the current mouse drag does (5 is not used).
enum DragMode {
  kNoDrag = 0,
  kScrollView = 1,
  kRotateView = 2,
  kZoomView = 3,
  kRubberBand = 4,
  kToolDrag = 6,
  kPopupMenu = 7,
};

struct Box3 {
  double minX = 0, maxX = 1, minY = 0, maxY = 1, minZ = 0, maxZ = 1;
};
struct UvPair {
  double u = 0, v = 0;
};
struct BoxCorners {
  double x0 = 0, x1 = 0, y0 = 0, y1 = 0, z0 = 0, z1 = 0;
};

class Editor {
 public:
  static constexpr int kButtonCount = 28;

  Editor();
  ~Editor();
  Editor(const Editor&) = delete;
  Editor& operator=(const Editor&) = delete;

  // --- start-up and per-frame (editor.cpp) ---
  void framePump();
  void setMainWidget(Panel* panel) { mainWidget = panel; }
  void setModifiers(int m) { modifiers = m; }
  void setKeyState(int key, int state) { keyDown[key & 0xFF] = state; }
  UiContext* uiContext() { return ui.get(); }
  void showMenuPage(int i);
  void setBoundingBox(double minX, double maxX, double minY, double maxY, double minZ, double maxZ);
  void initColours();
  // The name next to the cursor for the current tool and drag ("" for none).
  std::string toolName() const;
  std::string cursorLabelName() const;
  // "View 0: Side [-4.00:4.00 x -3.00:3.00]"
  std::string viewCaption(int i) const;
  // Replaces the model, clearing everything that pointed into the old one.
  void replaceModel(std::unique_ptr<Model> next);
  // Poses the model for animation mode's views at the current frame: "" when
  // done, else why not (more bones than a pose holds, or not enough memory,
  // and then what the pose had built is let go).
  std::string poseForViews();
  // Window size from the main panel (800 x 600 until one is given).
  double windowWidth() const;
  double windowHeight() const;
  Viewport& activeViewport() { return views[activeView]; }
  Viewport& uvView() { return views[kUvView]; }

  // Whether the UV view shows in this frame: panels shown, UV Mapper open.
  bool uvViewShown() const;
  // Every kept view picture is drawn again at the next frame (render/view_freshness.h).
  void forgetViewPictures() { keptViews.forget(); }
  // Marks a change the views may show: model, selection, preview, settings.
  void sceneChanged() { ++sceneRevision; }

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
  void buildTimelinePanel();
  // The animation panel shows the mode's clip, frame and the selected bone's
  // keys; it stands among the panels only while the mode is on.
  void refreshTimeline();

  // --- console (the commands are in console/console_commands.h) ---
  // Appends a line to the console's message list.
  void consoleMessage(const std::string& text);

  // ---------------------------------------------------------------------------
  // Fields. Who sets them is noted where the name is not enough.
  int keyDown[256] = {};       // 1 while the key with that 8-bit code is held (key callbacks)
  int mouseX = 0, mouseY = 0;  // pointer in window pixels, y up (mouseMoved)
  int pressX = 0, pressY = 0;  // pointer where the current drag began
  int layoutMode = 1;          // 0 one view, 1 four views
  int activeView = 0;          // view of the last press, 'R' or right press
  int singleView = 3;          // view shown in the one-view layout
  int showGrid = 1;
  int tool = kSelectVertex;
  int modifiers = -1;  // last glutGetModifiers() recorded by a callback
  int dragMode = kNoDrag;
  int showUvTexture =
      0;  // set by /loadtex, /showtex, /open; cleared by /hidetex, an untextured model
  int boundingBoxActive = 1;  // no operation changes it
  int menuPage = 1;
  int keyScrollStep = 4;
  int cylinderLevels = 10;
  int cylinderSides = 8;
  int undoLimit = 50;
  int lightPending = 1;  // 1 until the first frame has created the light
  int panelsShown = 0;   // toggled by Home
  int showSkeleton = 1;
  // 1 draws in batches: the model's triangles and points from vertex arrays,
  // the markers (vertex, selected vertex, joint) and bones as arrays of
  // corners computed on the CPU, only the marker faces that can show (in a
  // flat view one square each). 0 draws everything the plain way, one call
  // per vertex and one glut cube per marker, kept as the reference for tests
  // and benchmarks: both give the same pixels except that a marker's edge
  // may fall one pixel over.
  int batchDrawing = 1;
  // 1 keeps each view's finished picture and draws a view again only when
  // what it shows changed (render/view_freshness.h); 0 draws every view each frame,
  // the reference for tests and benchmarks.
  int keepViewPictures = 1;
  uint64_t sceneRevision = 0;  // moved on by sceneChanged
  int viewsRedrawn = 0;        // bit i set when the last frame drew view i (4: UV) again
  KeptViews keptViews;
  double splitX = 0.5, splitY = 0.5;
  double pressPanX = 0, pressPanY = 0;
  double pressRotX = 0, pressRotY = 0;
  double pressZoom = 0;
  double vertexMarkerScale = 1.0;
  double selectedMarkerScale = 2.0;
  // The live values of a Move or Scale drag, drawn as its preview. The offset
  // outlives the drag: an Extrude click moves by the one left from the last Move.
  Vec3 moveOffset{0, 0, 0};
  Vec3 scaleFactor{1, 1, 1};
  // The boxes of the last computeSelectionBox, of vertices or polygons and of
  // UV points: the Scale preview draws the first, and a computation over an
  // empty selection starts from them.
  Vec3 selectionCentre;
  UvPair uvSelectionCentre;
  Vec3 selectionMin{0, 0, 0}, selectionMax{0, 0, 0};
  UvPair uvSelectionMin, uvSelectionMax;
  BoxCorners boxCorner;  // corners of a box or cylinder being created
  Box3 boundingBox;      // the user's bounding box (/setbb)
  std::unique_ptr<UiContext> ui;
  std::unique_ptr<Tokenizer> tokenizer;
  Panel* mainWidget = nullptr;  // given by main; its size follows the window
  Panel* consoleWidget = nullptr;
  Panel* uvMapperWidget = nullptr;
  Panel* activeMenu = nullptr;                   // the current menu page
  Panel* timelineWidget = nullptr;               // the animation panel
  std::unique_ptr<TimelineStrip> timelineStrip;  // its strip
  Panel* menuPages[4] = {};
  Viewport views[5] = {Viewport(0), Viewport(1), Viewport(2), Viewport(3), Viewport(4)};
  TextEntry* consolePrompt = nullptr;
  MessageBox* consoleMessages = nullptr;
  int uvTexture = 0;  // texture shown in the UV view: the model's current group's, 0 = none
  std::unique_ptr<Model> model;
  List<Button> menuItemLists[4];
  List<Panel> widgets;  // top-level panels, front-most first
  List<Vertex> selectedVertices;
  List<UvPoint> selectedUvs;
  List<Polygon> selectedPolygons;
  UndoHistory undoHistory;       // at most undoLimit undo steps; a change empties the redo steps
  size_t undoMemoryBudget;       // bytes the history may hold (defaultUndoMemoryBudget)
  bool undoBudgetNoted = false;  // the console said once that old steps were dropped
  std::unique_ptr<RecoveryState> recovery;  // unsaved work's recovery file (tools/recovery.h)
  Bone* selectedBone = nullptr;
  Button* buttons[kButtonCount] = {};
  std::unique_ptr<Light> light;
  std::unique_ptr<Spline> currentSpline;
  List<Vec3> splinePoints;        // clicked control points, newest first
  ImportSettings importSettings;  // how files of other formats are imported
  AnimationState animation;       // animation mode (tools/animation_mode.h)
  // Opens read on a thread of their own while the window keeps drawing (the
  // window sets this; without it an open is done before the command returns),
  // saying how far they have got once they take longer than openProgressAfter.
  bool opensInBackground = false;
  std::chrono::steady_clock::duration openProgressAfter = std::chrono::seconds(1);
  std::unique_ptr<BackgroundOpen> backgroundOpen;  // the open under way
  // Set by "/quit": the window closes after the frame pump, as when the user
  // closes it (unsaved changes go to the recovery file).
  bool quitRequested = false;
  // Drawing's own memory, kept from frame to frame (render/).
  ModelDrawing modelDrawing;        // the model's arrays while its revision stands
  std::vector<float> markerBuffer;  // reused by drawVertexMarkers
  PosedDrawing posedDrawing;        // the posed model's arrays in animation mode
  // Short of memory, the last frame left part of a view out; the console has
  // said so since a frame was last drawn whole.
  bool frameInPart = false, frameInPartNoted = false;

 private:
  // Owners of the interface objects and spline points.
  std::vector<std::unique_ptr<Panel>> ownedPanels_;
  std::vector<std::unique_ptr<Button>> ownedButtons_;
  std::unique_ptr<TextEntry> ownedPrompt_;
  std::unique_ptr<MessageBox> ownedMessages_;
  std::deque<Vec3> splinePointStore_;

 public:
  // Used by buildInterface and addSplinePoint to keep what they make.
  Panel* keepPanel(std::unique_ptr<Panel> panel);
  Button* keepButton(std::unique_ptr<Button> button);
  Vec3* keepSplinePoint(const Vec3& point);
  void adoptConsoleWidgets(std::unique_ptr<TextEntry> prompt, std::unique_ptr<MessageBox> box);
};
