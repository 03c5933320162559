// The animation panel: the timeline strip above a row of buttons. It stands
// among the top-level panels only while animation mode is on, shown with or
// without the other panels; outside the mode the interface is as it was.

#include "app/editor.h"
#include "model/animation.h"
#include "model/rig.h"
#include "tools/animation_mode.h"

namespace {

struct TimelineButton {
  int code;
  const char* label;
};
// Left to right.
constexpr TimelineButton kTimelineButtons[] = {
    {kTimelineFirstFrame, "|<"}, {kTimelinePreviousFrame, "<"}, {kTimelinePlay, "Play"},
    {kTimelineStop, "Stop"},     {kTimelineNextFrame, ">"},     {kTimelineKey, "Key"},
    {kTimelineUnkey, "Unkey"},
};

}  // namespace

void Editor::buildTimelinePanel() {
  timelineWidget = keepPanel(std::make_unique<Panel>("Timeline", 190, 5, 420, 100, ui.get()));
  timelineWidget->configure({.resizable = false, .editable = false, .minimisable = true});
  timelineStrip = std::make_unique<TimelineStrip>("Timeline Strip", 5, 32, 410, 44);
  timelineWidget->addTimeline(timelineStrip.get());
  double x = 5;
  for (const TimelineButton& b : kTimelineButtons) {
    Button* button = keepButton(std::make_unique<Button>(b.label, x, 5, 56, 22, b.code, 0));
    button->centreLabel();
    timelineWidget->buttons().pushFront(button);
    x += 58;
  }
}

void Editor::refreshTimeline() {
  const bool shown = animation.on;
  if (shown != widgets.contains(timelineWidget)) {
    if (shown) {
      widgets.pushFront(timelineWidget);
    } else {
      widgets.remove(timelineWidget);
    }
  }
  if (!shown) return;
  TimelineStrip::State state;
  if (const Clip* clip = currentClip(*this)) {
    state.clip = clip->name;
    state.length = clip->length;
    state.fps = clip->fps;
    auto track = clip->tracks.find(doc.selectedBone);
    if (track != clip->tracks.end())
      for (const PoseKey& key : track->second) state.keys.push_back(key.frame);
  }
  state.frame = animation.frame;
  state.playing = animation.playing;
  timelineStrip->show(state);
}
