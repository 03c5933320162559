#pragma once
// Shows the newest lines of a message list, newest at the bottom, 15 pixels a
// row. A line too wide for the box wraps onto as many rows as it needs; the
// box can be scrolled back by rows to show older ones.

#include <memory>
#include <string>
#include <vector>

#include "gui/message_list.h"
#include "gui/widget.h"

class MessageBox : public Widget {
 public:
  MessageBox(std::string name, double x, double y, double width, double height,
             MessageList::Clock clock = MessageList::processClockMs);

  MessageList* addList(const std::string& name, int lifetimeSeconds);
  // The list that is drawn and that others add lines to: the first list added.
  MessageList* currentList() const { return currentList_; }

  // Expires lines of every list, then recomputes how many lines fit.
  void update();
  // The soonest of the lists' msUntilExpiry, or -1 when no line will expire.
  int64_t msUntilExpiry() const;
  int visibleLines() const { return visibleLines_; }
  int lineHeight() const { return lineHeight_; }

  // Scrolls by `rows` toward older lines (negative: toward the newest). The
  // box never scrolls past its newest row nor past the top of its oldest line.
  void scrollBy(int rows) { scrolledRows_ = scrolledRows_ + rows < 0 ? 0 : scrolledRows_ + rows; }
  void scrollToNewest() { scrolledRows_ = 0; }
  int scrolledRows() const { return scrolledRows_; }
  // The rows the box shows, the bottom one first, wrapped to its width less
  // its 5-pixel insets by the given character width measure; at most
  // visibleLines() of them. Keeps the scroll within the rows there are, so
  // only the rows up to the shown ones are ever wrapped.
  std::vector<std::string> shownRows(int (*charWidth)(unsigned char));

  void drawLines(double ox, double oy);  // message_box_draw.cpp

 private:
  std::vector<std::unique_ptr<MessageList>> lists_;  // newest first
  MessageList* currentList_ = nullptr;
  int lineHeight_ = 15;
  int visibleLines_ = 0;
  int scrolledRows_ = 0;
  MessageList::Clock clock_;
};
