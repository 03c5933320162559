#include "gui/message_box.h"

#include <algorithm>
#include <utility>

#include "gui/text.h"

MessageBox::MessageBox(std::string name, double x, double y, double width, double height,
                       MessageList::Clock clock)
    : Widget(x, y, width, height, std::move(name)), clock_(std::move(clock)) {
  addList("Init", 0);
  setWidthMode(kProportionalSize);
  setHeightMode(kProportionalSize);
  setLabelAlignment(0, 0);
  showLabel();
}

MessageList* MessageBox::addList(const std::string& name, int lifetimeSeconds) {
  lists_.insert(lists_.begin(), std::make_unique<MessageList>(name, lifetimeSeconds, clock_));
  MessageList* added = lists_.front().get();
  if (!currentList_) currentList_ = added;
  return added;
}

void MessageBox::update() {
  for (auto& list : lists_) list->tick();
  visibleLines_ = static_cast<int>(height_ / lineHeight_ - 1);
}

int64_t MessageBox::msUntilExpiry() const {
  int64_t soonest = -1;
  for (const auto& list : lists_) {
    const int64_t ms = list->msUntilExpiry();
    if (ms >= 0 && (soonest < 0 || ms < soonest)) soonest = ms;
  }
  return soonest;
}

std::vector<std::string> MessageBox::shownRows(int (*charWidth)(unsigned char)) {
  std::vector<std::string> rows;  // from the bottom up
  if (!currentList_ || visibleLines_ <= 0) return rows;
  const size_t wanted = static_cast<size_t>(scrolledRows_) + visibleLines_;
  const int rowWidth = static_cast<int>(width_ - 10);
  for (int i = currentList_->firstVisible(); i < currentList_->count() && rows.size() < wanted;
       ++i) {
    const std::vector<std::string> line =
        wrappedRows(currentList_->messageAt(i), rowWidth, charWidth);
    rows.insert(rows.end(), line.rbegin(), line.rend());
  }
  // Scrolled back at most until the oldest row reaches the top of the box.
  const int most = std::max(0, static_cast<int>(rows.size()) - visibleLines_);
  scrolledRows_ = std::min(scrolledRows_, most);
  const size_t first = scrolledRows_;
  const size_t last = std::min(rows.size(), first + visibleLines_);
  return std::vector<std::string>(rows.begin() + first, rows.begin() + last);
}
