#include "gui/message_box.h"

#include <utility>

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
