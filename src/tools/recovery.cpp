// Recovery of unsaved work (contracts in tools/recovery.h).

#include "tools/recovery.h"

#include <sys/stat.h>
#include <unistd.h>

#include <ctime>
#include <filesystem>
#include <fstream>
#include <sstream>

#include "app/editor.h"
#include "files/file_paths.h"
#include "formats/model_file.h"
#include "formats/recovery_writer.h"

namespace {

RecoveryWriter& writer(Editor& e) {
  if (!e.recoveryWriter) e.recoveryWriter = std::make_unique<RecoveryWriter>();
  return *e.recoveryWriter;
}

// Beside the model when its folder takes new files, else in the state folder.
std::string recoveryPathFor(const std::string& modelName) {
  if (access(directoryOf(modelName).c_str(), W_OK | X_OK) == 0)
    return recoveryPathBeside(modelName);
  std::error_code ignored;
  std::filesystem::create_directories(recoveryStateDir(), ignored);
  return recoveryPathIn(recoveryStateDir(), modelName);
}

// A found file waiting for /recover or /discard is never written over: when
// this model's changes are due at its path, it moves aside first, and the
// commands follow it there.
void moveFoundFileAside(Editor& e, const std::string& path) {
  if (!e.recoveryPending || e.pendingRecoveryPath != path) return;
  const std::string aside = path + ".found";
  if (std::rename(path.c_str(), aside.c_str()) != 0) return;
  e.pendingRecoveryPath = aside;
  e.consoleMessage("The unsaved changes found earlier stay in " + aside +
                   " for /recover or /discard.");
}

void writeNow(Editor& e) {
  RecoveryContents contents;
  contents.changedAt = e.lastChangeTime;
  contents.model = {e.model->name, std::make_shared<const ModelImage>(captureImage(*e.model))};
  contents.undoSteps.assign(e.undoStack.begin(), e.undoStack.end());
  const std::string path = recoveryPathFor(e.model->name);
  moveFoundFileAside(e, path);
  if (!e.recoveryPath.empty() && e.recoveryPath != path) writer(e).remove({e.recoveryPath});
  e.recoveryPath = path;
  writer(e).write(path, std::move(contents));
  e.recoveryDue = false;
}

void reportFailure(Editor& e) {
  if (!e.recoveryWriter) return;
  const std::string failure = e.recoveryWriter->takeFailure();
  if (failure.empty() || e.recoveryOffNoted) return;
  e.recoveryOffNoted = true;
  e.consoleMessage("Recovery is off: " + failure + ".");
}

std::string clockTime(int64_t seconds) {
  const std::time_t t = static_cast<std::time_t>(seconds);
  std::tm local{};
  localtime_r(&t, &local);
  char text[16];
  std::strftime(text, sizeof text, "%H:%M:%S", &local);
  return text;
}

// The whole file, or (`headerOnly`) what the offer needs: the checksum, the
// time and the model's name, which is quick for a large model too.
bool readRecovery(const std::string& path, RecoveryContents& contents, std::string* reason,
                  bool headerOnly = false) {
  std::ifstream in(path, std::ios::binary);
  std::stringstream text;
  text << in.rdbuf();
  if (!in) {
    *reason = "it cannot be read";
    return false;
  }
  return headerOnly ? readRecoveryHeader(text.str(), contents, reason)
                    : parseRecoveryFile(text.str(), contents, reason);
}

bool sameFile(const std::string& a, const std::string& b) {
  return std::filesystem::absolute(a).lexically_normal() ==
         std::filesystem::absolute(b).lexically_normal();
}

// Nanoseconds since the epoch of the file's last change; -1 when it is missing.
long long changedAtNs(const std::string& path) {
  struct stat info;
  if (stat(path.c_str(), &info) != 0) return -1;
  return info.st_mtim.tv_sec * 1000000000LL + info.st_mtim.tv_nsec;
}

}  // namespace

void noteModelChanged(Editor& e) {
  e.unsavedChanges = true;
  e.recoveryDue = true;
  e.lastChangeTime = std::time(nullptr);
}

void recoveryTick(Editor& e, RecoveryClock::time_point now) {
  reportFailure(e);
  if (!e.recoveryDue || now - e.lastRecoveryWrite < e.recoveryGap) return;
  if (e.recoveryWriter && e.recoveryWriter->busy()) return;
  e.lastRecoveryWrite = now;
  writeNow(e);
}

bool recoveryTicksWanted(Editor& e) {
  return e.recoveryDue || (e.recoveryWriter && e.recoveryWriter->busy());
}

void modelSaved(Editor& e) {
  std::vector<std::string> paths = {recoveryPathBeside(e.model->name),
                                    recoveryPathIn(recoveryStateDir(), e.model->name)};
  if (!e.recoveryPath.empty()) paths.push_back(e.recoveryPath);
  if (e.recoveryPending) paths.push_back(e.pendingRecoveryPath);
  writer(e).remove(std::move(paths));
  e.unsavedChanges = e.recoveryDue = e.recoveryPending = false;
  e.recoveryPath.clear();
}

void modelClosing(Editor& e) {
  if (!e.recoveryDue) return;
  writeNow(e);
  // Opening the same model again then finds these changes on disk and offers them.
  e.recoveryWriter->wait();
}

void modelOpened(Editor& e) {
  e.unsavedChanges = e.recoveryDue = e.recoveryPending = false;
  e.recoveryPath.clear();
  offerRecovery(e);
}

void offerRecovery(Editor& e) {
  const std::string& name = e.model->name;
  for (const std::string& path :
       {recoveryPathBeside(name), recoveryPathIn(recoveryStateDir(), name)}) {
    const long long recovered = changedAtNs(path);
    // File times tick coarsely: a recovery file from the same tick as the model file is newer,
    // as a save removes the older one.
    if (recovered < 0 || recovered < changedAtNs(name)) continue;
    RecoveryContents contents;
    std::string reason;
    if (readRecovery(path, contents, &reason, /*headerOnly=*/true) &&
        !sameFile(contents.model.name, name))
      reason = "it belongs to " + contents.model.name;
    if (!reason.empty()) {
      e.consoleMessage("The recovery file " + path + " was refused: " + reason + ".");
      continue;
    }
    e.recoveryPending = true;
    e.pendingRecoveryPath = path;
    e.consoleMessage("Unsaved changes found from " + clockTime(contents.changedAt) +
                     ". Type /recover to restore them.");
    return;
  }
}

void recoverUnsavedChanges(Editor& e) {
  if (!e.recoveryPending) {
    e.consoleMessage("No unsaved changes to recover.");
    return;
  }
  RecoveryContents contents;
  std::string reason;
  if (!readRecovery(e.pendingRecoveryPath, contents, &reason)) {
    e.consoleMessage("The recovery file " + e.pendingRecoveryPath + " was refused: " + reason +
                     ".");
    return;
  }
  auto model = std::make_unique<Model>(contents.model.name, e.model->textures);
  buildModel(*contents.model.image, *model, /*printNames=*/false);
  e.replaceModel(std::move(model));
  e.undoStack.assign(contents.undoSteps.begin(), contents.undoSteps.end());
  e.redoStack.clear();
  // The recovered model is now the one to keep; its file replaces the found one.
  e.recoveryPending = false;
  e.recoveryDue = e.unsavedChanges = true;
  e.lastChangeTime = contents.changedAt;
  e.recoveryPath = e.pendingRecoveryPath;
  e.consoleMessage("Unsaved changes from " + clockTime(contents.changedAt) + " recovered.");
}

void discardUnsavedChanges(Editor& e) {
  if (!e.recoveryPending) {
    e.consoleMessage("No unsaved changes to discard.");
    return;
  }
  writer(e).remove({e.pendingRecoveryPath});
  e.recoveryPending = false;
  e.consoleMessage("Unsaved changes discarded.");
}

std::string leaveEditor(Editor& e, std::string* failure) {
  if (e.unsavedChanges) {
    if (e.recoveryDue || e.recoveryPath.empty()) writeNow(e);
  } else if (!e.recoveryPath.empty()) {
    writer(e).remove({e.recoveryPath});
  }
  if (!e.recoveryWriter) return "";
  e.recoveryWriter->wait();
  const std::string reason = e.recoveryWriter->takeFailure();
  if (failure) *failure = reason;
  if (!reason.empty() || !e.unsavedChanges) return "";
  return std::filesystem::absolute(e.recoveryPath).string();
}
