#pragma once
// Shows the newest lines of a message list, newest at the bottom, 15 pixels a line.

#include <memory>
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

  void drawLines(double ox, double oy) const;  // message_box_draw.cpp

 private:
  std::vector<std::unique_ptr<MessageList>> lists_;  // newest first
  MessageList* currentList_ = nullptr;
  int lineHeight_ = 15;
  int visibleLines_ = 0;
  MessageList::Clock clock_;
};
