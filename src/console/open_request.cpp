#include "console/open_request.h"

#include <cstdio>
#include <new>

#include "console/command_context.h"
#include "console/model_commands.h"
#include "files/file_paths.h"
#include "tools/fit_views.h"

namespace {

void finish(CommandContext& e, OpenedModel opened, const std::string& path, OpenRequest from) {
  std::string reason;
  const bool imported = opened.imported;
  if (takeOpenedModel(e, std::move(opened), &reason)) {
    // The model asked for on the command line is shown whole, whatever its size.
    if (from == OpenRequest::kCommandLine && !imported) fitViews(e);
  } else if (from == OpenRequest::kCommandLine) {
    std::fprintf(stderr, "vantorel: %s: %s\n", shownName(path).c_str(), shownName(reason).c_str());
  }
}

std::string progressLine(const BackgroundOpen& open) {
  const size_t slash = open.path.rfind('/');
  const std::string name = slash == std::string::npos ? open.path : open.path.substr(slash + 1);
  const int percent = open.percent.load();
  if (percent >= 0) return "Opening " + name + ": " + std::to_string(percent / 10 * 10) + "%";
  const auto seconds = std::chrono::duration_cast<std::chrono::seconds>(
      std::chrono::steady_clock::now() - open.started);
  return "Opening " + name + ": " + std::to_string(seconds.count()) + " s";
}

}  // namespace

BackgroundOpen::BackgroundOpen(CommandContext& e, const std::string& path, OpenRequest from)
    : path(path), from(from) {
  ImportSettings settings = e.commandState.importSettings;
  settings.progress = &percent;
  TextureCache* textures = e.doc.model->textures;
  worker = std::thread([this, settings, textures] {
    try {
      opened = openModelFile(this->path, textures, settings);
    } catch (const std::bad_alloc&) {
      opened = OpenedModel{};
      opened.reason = "Not enough memory to open the model.";
    }
    done.store(true, std::memory_order_release);
  });
}

BackgroundOpen::~BackgroundOpen() {
  if (worker.joinable()) worker.join();
}

void requestOpen(CommandContext& e, const std::string& path, OpenRequest from) {
  if (!e.commandState.opensInBackground) {
    finish(e, openModelFile(path, e.doc.model->textures, e.commandState.importSettings), path,
           from);
    return;
  }
  if (e.commandState.backgroundOpen) {
    e.commandState.backgroundOpen->next = path;
    e.consoleMessage(path + " will be opened after " + e.commandState.backgroundOpen->path + ".");
    return;
  }
  e.commandState.backgroundOpen = std::make_unique<BackgroundOpen>(e, path, from);
}

bool pollOpen(CommandContext& e) {
  BackgroundOpen* open = e.commandState.backgroundOpen.get();
  if (!open) return false;
  if (open->done.load(std::memory_order_acquire)) {
    open->worker.join();
    std::unique_ptr<BackgroundOpen> finished = std::move(e.commandState.backgroundOpen);
    finish(e, std::move(finished->opened), finished->path, finished->from);
    if (!finished->next.empty()) requestOpen(e, finished->next, OpenRequest::kConsole);
    return true;
  }
  if (std::chrono::steady_clock::now() - open->started < e.commandState.openProgressAfter)
    return false;
  const std::string line = progressLine(*open);
  if (line == open->lastShown) return false;
  e.consoleMessage(line);
  open->lastShown = line;
  return true;
}

CommandState::CommandState() = default;
CommandState::~CommandState() = default;
