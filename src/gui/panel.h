#pragma once
// The toolkit's window: holds and stacks other widgets, draws a title band
// with its name, moves with a left drag of the title band, resizes about its
// centre with a middle drag, minimises to a 25-pixel strip, and in edit mode
// lets the user reorder its children. makeMenu turns a panel into a menu page.
//
// Moving:   left press in the title band starts; left release in the band,
//           right release, the update finding the left button up, or the
//           drawing finding the pointer outside ends it.
// Resizing: middle press starts (not while minimised or moving); middle
//           release, or the update finding the middle button up, applies it.

#include "gui/message_box.h"
#include "gui/text_entry.h"
#include "gui/timeline.h"
#include "gui/ui_context.h"
#include "gui/widget.h"
#include "model/list.h"

// What the user may do to a panel: resize it with a middle drag, reorder its
// children in edit mode, minimise it.
struct PanelAbilities {
  bool resizable = true;
  bool editable = false;
  bool minimisable = false;
};

// A panel's place and size in the window, y up.
struct PanelRect {
  double x = 0, y = 0, width = 0, height = 0;
};

// A menu page's shape: its width, whether it has a title band, the height of
// each row.
struct MenuShape {
  double width = 100;
  bool withTitle = true;
  double rowHeight = 18;
};

class Panel : public Widget {
 public:
  Panel(std::string name, double x, double y, double width, double height, UiContext* ui);
  ~Panel();

  void configure(const PanelAbilities& abilities);
  // Turns the panel into a menu page of rows shape.rowHeight high, with no
  // abilities; `items` becomes the panel's button list (the caller's list
  // itself).
  void makeMenu(List<Button>* items, const MenuShape& shape);

  void addMessageBox(MessageBox* box);
  void addEntry(TextEntry* entry);
  // A timeline strip, placed by the caller: it takes no part in stacking.
  void addTimeline(TimelineStrip* strip) { timelines_.pushFront(strip); }

  double stretchSpace() const;
  void stackChildren();
  void stretchChildren();
  void resizeBy(double dx, double dy);
  // Where resizeBy(dx, dy) puts the panel: grown or shrunk about its centre,
  // but never below its least size nor beyond the window's, and moved back
  // inside the window. The resize preview shows this.
  PanelRect resized(double dx, double dy) const;
  // The least size a resize leaves: room for the title band, the children
  // that keep their height, the margins and two lines of a stretching child,
  // and no less than setLeastSize asks (a panel whose content has a size of
  // its own, as the UV Mapper's).
  double leastWidth() const;
  double leastHeight() const;
  void setLeastSize(double width, double height) {
    leastWidth_ = width;
    leastHeight_ = height;
  }
  // Places a menu page popped up at the pointer (px, py): its top-left corner
  // just right of the pointer; where that would leave rows outside the
  // window, it opens upward (its bottom at the pointer) or leftward (its right
  // edge just left of it), and a window too small for it either way keeps as
  // much of it as fits.
  void popUpAt(double px, double py);
  // Moves the panel the least way that puts it inside a window of this size
  // (a panel larger than the window keeps its right or top edge on the
  // window's).
  void keepInside(double windowWidth, double windowHeight);

  void setMinimised(int flag);
  bool isMinimised() const { return minimised_; }
  bool inTitleBar(double px, double py) const;

  // A press or release offered by the input layer; 1 when a menu button was hit.
  int mouseButton(int button, int state);
  // The mouse wheel at the pointer: scrolls the message box under it by `rows`
  // (toward older lines when positive); false when there is none.
  bool scrollMessages(int rows);
  // A release seen by every panel the input layer walks.
  void buttonReleased(int button);
  // Per-frame: follow a move, finish drags whose button is up.
  void update();
  // The panel's own reaction to one of its control buttons.
  void editCommand(int cmd);
  // In edit mode, finds the child under the pointer and puts the Up and Down
  // squares over its top-right corner; run by draw() every frame.
  void updateHoveredChild();

  void draw();  // panel_draw.cpp

  // State, readable for layout code and tests.
  bool isMoving() const { return moving_; }
  bool isResizing() const { return resizing_; }
  bool isEditMode() const { return editMode_; }
  bool isResizable() const { return resizable_; }
  bool isEditable() const { return editable_; }
  bool isMinimisable() const { return minimisable_; }
  bool hasTitleBar() const { return hasTitleBar_; }
  double titleHeight() const { return titleHeight_; }
  int savedHeight() const { return savedHeight_; }
  List<Widget>& children() { return children_; }  // front first
  List<Button>& buttons() { return *buttons_; }
  List<Button>& controls() { return controls_; }
  List<MessageBox>& messageBoxes() { return messageBoxes_; }
  List<TextEntry>& entries() { return entries_; }
  Button* minimiseControl() const { return minimiseControl_; }
  Button* editControl() const { return editControl_; }
  Button* moveUpControl() const { return moveUpControl_; }
  Button* moveDownControl() const { return moveDownControl_; }
  Widget* hoveredChild() const { return hoveredChild_; }
  UiContext* ui() const { return ui_; }

 private:
  void buildControls();
  void finishResize();
  void drawControls();
  void drawEditOverlay();

  int savedHeight_;
  bool minimised_ = false;
  bool resizable_ = true;
  bool editable_ = false;
  bool minimisable_ = false;
  bool moving_ = false;
  bool resizing_ = false;
  bool editMode_ = false;
  int grabX_ = 0, grabY_ = 0;
  bool hasTitleBar_ = true;
  double titleHeight_;
  double leastWidth_ = 120, leastHeight_ = 0;
  List<Widget> children_;
  List<Button> ownButtons_;
  List<Button>* buttons_ = &ownButtons_;
  List<Button> controls_;
  List<MessageBox> messageBoxes_;
  List<TextEntry> entries_;
  List<TimelineStrip> timelines_;
  Button* minimiseControl_ = nullptr;
  Button* editControl_ = nullptr;
  Button* moveUpControl_ = nullptr;
  Button* moveDownControl_ = nullptr;
  Widget* hoveredChild_ = nullptr;
  UiContext* ui_;
};
