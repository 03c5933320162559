// Recovery of unsaved work (contracts in recovery/recovery_session.h).

#include "recovery/recovery_session.h"

#include <dirent.h>
#include <fcntl.h>
#include <sys/stat.h>
#include <unistd.h>

#include <algorithm>
#include <cstdio>
#include <ctime>
#include <future>
#include <new>
#include <thread>

#include "document/document.h"

#include "files/file_paths.h"
#include "files/new_files.h"
#include "formats/model_file.h"
#include "model/marks.h"
#include "model/model_builder.h"
#include "recovery/recovery_names.h"

namespace {

RecoveryWriter& writer(RecoveryState& e) {
  RecoveryState& s = e;
  if (!s.writer) s.writer = std::make_unique<RecoveryWriter>();
  return *s.writer;
}

// Beside the model when its folder takes new files, else in the state folder.
std::string firstRecoveryPath(const std::string& modelName) {
  if (access(directoryOf(modelName).c_str(), W_OK | X_OK) == 0)
    return recoveryPathBeside(modelName);
  makePrivateFolders(recoveryStateDir());
  return recoveryPathIn(recoveryStateDir(), modelName);
}

// Said once in the editor's life, as the failures that follow are alike.
bool recoveryOff(RecoveryState& e, const std::string& reason) {
  RecoveryState& s = e;
  if (s.offNoted) return false;
  s.offNoted = true;
  e.consoleMessage("Recovery is off: " + reason + ".");
  return true;
}

// Gives the writer the model as copied, with the undo steps and name it has
// now (the copy was taken with no change since it began).
void handOver(RecoveryState& e, std::unique_ptr<ModelCopy> copy) {
  RecoveryState& s = e;
  RecoveryContents contents;
  contents.changedAt = s.lastChangeTime;
  contents.modelPath = absoluteModelPath(e.doc.model->name);
  contents.model.name = e.doc.model->name;
  e.doc.undoHistory.undoSteps(contents.undoSteps, contents.undoDifferences);
  writer(e).write(firstRecoveryPath(e.doc.model->name), std::move(contents), std::move(copy));
  s.due = s.wholeCopy = false;
}

// Processor time of the calling thread: what a slice of the copy costs it,
// whatever else the machine runs.
double threadMs() {
  struct timespec now;
  clock_gettime(CLOCK_THREAD_CPUTIME_ID, &now);
  return now.tv_sec * 1e3 + now.tv_nsec / 1e6;
}

enum class Slice { kMore, kHanded, kNoMemory };

// One slice of the copy under way (begun when there is none); the whole copy
// goes to the writer.
Slice copySlice(RecoveryState& e, size_t records) {
  RecoveryState& s = e;
  if (s.copy && (s.copyChanges != s.changes || s.copy->model() != e.doc.model.get()))
    s.copy.reset();
  try {
    if (!s.copy) {
      s.copy = std::make_unique<ModelCopy>(*e.doc.model, newMarkPass());
      s.copyChanges = s.changes;
    }
    if (s.beforeCopySlice) s.beforeCopySlice();
    const double until = threadMs() + RecoveryState::kSliceMs;
    auto enough = [&] { return !s.wholeCopy && threadMs() > until; };
    switch (s.copy->copySome(s.wholeCopy ? SIZE_MAX : records, enough)) {
      case ModelCopy::kMore:
        return Slice::kMore;
      case ModelCopy::kChanged:
        s.copy.reset();
        return Slice::kMore;
      case ModelCopy::kDone:
        handOver(e, std::move(s.copy));
        return Slice::kHanded;
    }
  } catch (const std::bad_alloc&) {
    // Recovery waits for the next change; editing goes on.
    s.copy.reset();
    s.due = false;
    return Slice::kNoMemory;
  }
  return Slice::kMore;
}

constexpr const char* kNoMemoryToCopy = "not enough memory to copy the model";

// The whole model at once, for leaving and for /open.
Slice writeNow(RecoveryState& e) {
  RecoveryState& s = e;
  installRecoveredSteps(e);
  s.copy.reset();
  s.wholeCopy = true;
  return copySlice(e, SIZE_MAX);
}

bool reportFailure(RecoveryState& e) {
  RecoveryState& s = e;
  if (!s.writer) return false;
  const std::string failure = s.writer->takeFailure();
  return !failure.empty() && recoveryOff(e, failure);
}

std::string clockTime(int64_t seconds) {
  const std::time_t t = static_cast<std::time_t>(seconds);
  std::tm local{};
  localtime_r(&t, &local);
  char text[16];
  std::strftime(text, sizeof text, "%H:%M:%S", &local);
  return text;
}

void refuse(RecoveryState& e, const std::string& path, const std::string& reason) {
  e.consoleMessage("The recovery file " + path + " was refused: " + reason + ".");
}

// The files in the folder of `first` that are of its names.
std::vector<std::string> recoveryFilesIn(const std::string& first) {
  std::vector<std::string> paths;
  const size_t slash = first.rfind('/');
  const std::string folder = slash == std::string::npos ? "" : first.substr(0, slash + 1);
  const std::string firstName = first.substr(folder.size());
  DIR* dir = opendir(folder.empty() ? "." : folder.c_str());
  if (!dir) return paths;
  while (const dirent* entry = readdir(dir))
    if (isRecoveryName(entry->d_name, firstName)) paths.push_back(folder + entry->d_name);
  closedir(dir);
  std::sort(paths.begin(), paths.end());
  return paths;
}

// Takes the file for this editor when it passes every check; false (with a
// message, unless another editor holds it) when it does not.
bool takeFound(RecoveryState& e, const std::string& path, FoundRecovery& found) {
  HeldFile::State state;
  std::string reason;
  found.file = HeldFile::take(path, state, &reason);
  if (state == HeldFile::kMissing || state == HeldFile::kInUse) return false;
  if (state == HeldFile::kHeld &&
      readRecoveryFile(found.file.fd(), found.header, &reason, /*headerOnly=*/true) &&
      !recoveryBelongsTo(found.header, e.doc.model->name))
    reason = "it belongs to " + recoveryOwnerName(found.header);
  found.modelName = e.doc.model->name;
  if (state == HeldFile::kHeld && reason.empty()) return true;
  found.file.release();
  refuse(e, path, reason);
  return false;
}

void offerFound(RecoveryState& e, const FoundRecovery& found) {
  struct stat model;
  const struct timespec kept = found.file.status().st_mtim;
  if (stat(found.modelName.c_str(), &model) == 0 &&
      (model.st_mtim.tv_sec > kept.tv_sec ||
       (model.st_mtim.tv_sec == kept.tv_sec && model.st_mtim.tv_nsec > kept.tv_nsec)))
    e.consoleMessage("The model file changed after the unsaved changes of " +
                     clockTime(found.header.changedAt) + " were kept.");
  e.consoleMessage("Unsaved changes found from " + clockTime(found.header.changedAt) +
                   ". Type /recover to restore them.");
}

void keepFound(RecoveryState& s, FoundRecovery found) {
  auto later = std::find_if(s.found.begin(), s.found.end(), [&](const FoundRecovery& f) {
    return f.header.changedAt > found.header.changedAt;
  });
  s.found.insert(later, std::move(found));
}

void offerNext(RecoveryState& e) {
  RecoveryState& s = e;
  if (s.found.empty()) return;
  offerFound(e, s.found.back());
  if (e.showConsole) e.showConsole();
}

// The recovered model built as a load builds one: its polygons placed on two
// threads at once.
void buildOnTwoThreads(const ModelImage& image, Model& model) {
  struct Range {
    size_t first, count;
    const ModelImage::PolygonRecord* lines;
  };
  ModelBuilder builder(model, image);
  builder.addVertices(image.vertices.size());
  std::vector<Range> halves[2];
  size_t first = 0;
  for (const ModelImage::GroupRecord& group : image.groups) {
    builder.beginGroup(group.polygons.size());
    const size_t half = group.polygons.size() / 2;
    halves[0].push_back({first, half, group.polygons.data()});
    halves[1].push_back({first + half, group.polygons.size() - half, group.polygons.data() + half});
    first += group.polygons.size();
  }
  const int groups = builder.groupsBegun();
  auto place = [&](const std::vector<Range>& ranges) {
    for (const Range& range : ranges)
      builder.placePolygons(range.first, range.count, groups, range.lines);
  };
  std::thread helper(place, std::cref(halves[1]));
  place(halves[0]);
  helper.join();
  builder.finish();
}

// Reads the undo steps of a file whose model was read, on a thread of their
// own, from a descriptor of its own (the file may be replaced meanwhile).
void startReadingSteps(RecoveryState& s, int fd, const RecoveryStepsStart& start,
                       const RecoveryContents& contents, const std::string& name,
                       const RecoveryLimits& limits) {
  auto steps = std::make_shared<RecoveredSteps>();
  steps->firstMark = s.marksUsed + 1;
  s.marksUsed += start.count + 1;
  s.doc.undoHistory.markModel(steps->firstMark);
  s.recoveredSteps = steps;
  s.readingSteps = std::async(
      std::launch::async, [fd = fcntl(fd, F_DUPFD_CLOEXEC, 0), start, image = contents.model.image,
                           stored = contents.model.name, name, limits, steps] {
        auto hand = [&](Snapshot step, ImageDifference fromNewer) {
          // The model keeps the name it was opened by, which the file was checked against.
          if (step.name == stored) step.name = name;
          std::lock_guard<std::mutex> lock(steps->mutex);
          steps->ready.push_back({std::move(step), std::move(fromNewer)});
          steps->arrived.notify_all();
        };
        std::string failure;
        try {
          if (fd < 0 ||
              (!readRecoverySteps(fd, start, image, hand, &failure, limits, &steps->stop) &&
               failure.empty()))
            failure = "they could not be read";
        } catch (const std::bad_alloc&) {
          failure = "not enough memory for them";
        }
        if (fd >= 0) close(fd);
        std::lock_guard<std::mutex> lock(steps->mutex);
        steps->failure = failure;
        steps->done = true;
        steps->arrived.notify_all();
      });
}

// Steps still being read for an earlier "/recover" are not wanted any more.
void stopReadingSteps(RecoveryState& s) {
  if (!s.recoveredSteps) return;
  s.recoveredSteps->stop = true;
  s.readingSteps = {};
  s.recoveredSteps.reset();
}

// Whether every recovered undo step is read (or none is being read).
bool recoveredStepsRead(RecoveryState& s) {
  if (!s.recoveredSteps) return true;
  std::lock_guard<std::mutex> lock(s.recoveredSteps->mutex);
  return s.recoveredSteps->done;
}

}  // namespace

RecoveryState::RecoveryState(Document& document) : doc(document) {
  doc.listen([this](DocumentChange how) {
    if (how != DocumentChange::kReplaced) noteModelChanged(*this);
  });
}

void noteModelChanged(RecoveryState& e) {
  RecoveryState& s = e;
  s.due = true;
  ++s.changes;
  s.lastChangeTime = std::time(nullptr);
}

bool recoveryTick(RecoveryState& e, RecoveryClock::time_point now) {
  RecoveryState& s = e;
  bool said = reportFailure(e);
  // A file written now would lose the recovered undo steps still being read.
  if (s.recoveredSteps) {
    if (!recoveredStepsRead(s)) return said;
    const uint64_t lines = e.told;
    installRecoveredSteps(e);
    said |= e.told != lines;
  }
  if (!s.copy) {
    if (!s.due || now - s.lastWrite < s.gap) return said;
    if (s.writer && s.writer->busy()) return said;
  }
  const Slice slice = copySlice(e, s.recordsPerSlice);
  if (slice == Slice::kHanded) s.lastWrite = now;
  if (slice == Slice::kNoMemory) said |= recoveryOff(e, kNoMemoryToCopy);
  return said;
}

bool recoveryTicksWanted(RecoveryState& e) {
  RecoveryState& s = e;
  return s.due || s.copy || s.recoveredSteps || (s.writer && s.writer->busy());
}

int recoveryTickDelayMs(RecoveryState& e) {
  if (e.copy) return 0;
  return recoveryTicksWanted(e) ? 100 : -1;
}

void modelSaved(RecoveryState& e) {
  RecoveryState& s = e;
  s.copy.reset();
  if (s.writer) s.writer->removeHeld();
  s.due = false;
  s.doc.markSaved();
}

void modelClosing(RecoveryState& e) {
  RecoveryState& s = e;
  installRecoveredSteps(e);
  if ((s.due || s.copy ||
       (s.doc.unsavedChanges() && s.writer && !s.writer->lastFailure().empty())) &&
      writeNow(e) == Slice::kNoMemory)
    recoveryOff(e, kNoMemoryToCopy);
  // Opening the same model again then finds these changes on disk and offers them.
  if (s.writer) s.writer->exchangeHeld();
  s.found.clear();
}

void modelOpened(RecoveryState& e) {
  RecoveryState& s = e;
  s.due = false;
  s.doc.markSaved();
  s.copy.reset();
  offerRecovery(e);
}

void offerRecovery(RecoveryState& e) {
  RecoveryState& s = e;
  s.found.clear();
  const std::string& name = e.doc.model->name;
  std::vector<std::string> paths = recoveryFilesIn(recoveryPathBeside(name));
  for (const std::string& path : recoveryFilesIn(recoveryPathIn(recoveryStateDir(), name)))
    paths.push_back(path);
  for (const std::string& path : paths) {
    FoundRecovery found;
    if (takeFound(e, path, found)) keepFound(s, std::move(found));
  }
  if (s.found.empty()) return;
  for (const FoundRecovery& found : s.found) offerFound(e, found);
  if (e.showConsole) e.showConsole();
}

void recoverUnsavedChanges(RecoveryState& e) {
  RecoveryState& s = e;
  if (s.found.empty()) {
    e.consoleMessage("No unsaved changes to recover.");
    return;
  }
  FoundRecovery& found = s.found.back();
  RecoveryContents contents;
  RecoveryStepsStart steps;
  std::string reason;
  const RecoveryLimits limits{static_cast<size_t>(e.doc.undoLimit), e.doc.undoMemoryBudget};
  if (!readRecoveryModel(found.file.fd(), contents, steps, &reason, limits)) {
    refuse(e, found.file.path(), reason);
    s.found.pop_back();
    offerNext(e);
    return;
  }
  // Built before anything changes: when memory runs out the model stays. It
  // is the model the file was found for, whatever the model shown is called
  // (an undo may have brought back a step of the model opened before).
  auto model = std::make_unique<Model>(found.modelName, e.doc.model->textures);
  buildOnTwoThreads(*contents.model.image, *model);
  stopReadingSteps(s);
  // The model it replaces goes on a thread of its own: freeing a large one takes a while.
  const std::string replacedName = e.doc.model->name;
  std::unique_ptr<Model> replaced = std::move(e.doc.model);
  e.doc.model = std::make_unique<Model>("", nullptr);
  e.doc.replaceModel(std::move(model));
  s.disposal =
      std::async(std::launch::async, [old = std::move(replaced)]() mutable { old.reset(); });
  e.doc.undoHistory.clear();
  startReadingSteps(s, found.file.fd(), steps, contents, e.doc.model->name, limits);
  // The recovered changes are this editor's now: their file is the one it
  // writes, and the changes it had written before are offered in their stead,
  // under the name of the model they were written for.
  FoundRecovery before{writer(e).exchangeHeld(std::move(found.file)),
                       {s.lastChangeTime, {}, {replacedName, nullptr}, {}},
                       replacedName};
  s.found.pop_back();
  RecoveryContents written;
  if (before.file.held() &&
      readRecoveryFile(before.file.fd(), written, nullptr, /*headerOnly=*/true) &&
      !written.model.name.empty()) {
    before.header = std::move(written);
    before.modelName = before.header.model.name;
  }
  if (before.file.held()) keepFound(s, std::move(before));
  s.copy.reset();
  s.due = true;
  s.doc.markUnsaved();
  ++s.changes;
  s.lastChangeTime = contents.changedAt;
  e.consoleMessage("Unsaved changes from " + clockTime(contents.changedAt) + " recovered.");
  offerNext(e);
}

void installRecoveredSteps(RecoveryState& e, bool all) {
  RecoveryState& s = e;
  if (!s.recoveredSteps) return;
  RecoveredSteps& steps = *s.recoveredSteps;
  std::unique_lock<std::mutex> lock(steps.mutex);
  UndoHistory& history = e.doc.undoHistory;
  steps.arrived.wait(lock, [&] {
    return steps.done || (!all && (history.undoCount() > 0 || !steps.ready.empty()));
  });
  // Each older than those before it; beyond the undo limit, or once the
  // history no longer ends with the step before, they are left out.
  for (; !steps.ready.empty(); steps.ready.pop_front()) {
    RecoveredSteps::Step& next = steps.ready.front();
    const uint64_t base = steps.firstMark + steps.installed;
    steps.leftOut = steps.leftOut || static_cast<int>(history.undoCount()) >= e.doc.undoLimit ||
                    !history.addOldest(std::move(next.step.name), next.fromNewer, base, base + 1,
                                       std::move(next.step.image));
    if (!steps.leftOut) ++steps.installed;
  }
  if (!steps.done) return;
  const std::string failure = steps.failure;
  lock.unlock();
  s.readingSteps = {};
  s.recoveredSteps.reset();
  if (!failure.empty())
    e.consoleMessage("The oldest undo steps of the recovered changes were left out: " + failure +
                     ".");
}

void discardUnsavedChanges(RecoveryState& e) {
  RecoveryState& s = e;
  if (s.found.empty()) {
    e.consoleMessage("No unsaved changes to discard.");
    return;
  }
  s.found.back().file.remove();
  s.found.pop_back();
  e.consoleMessage("Unsaved changes discarded.");
  offerNext(e);
}

std::string leaveEditor(RecoveryState& e, std::string* failure) {
  RecoveryState& s = e;
  s.copy.reset();
  if (s.writer) s.writer->wait();
  if (!s.doc.unsavedChanges()) {
    if (s.writer) s.writer->removeHeld(), s.writer->wait();
    return "";
  }
  if ((s.due || !s.writer || !s.writer->lastFailure().empty() || s.writer->heldPath().empty()) &&
      writeNow(e) != Slice::kHanded) {
    if (failure) *failure = kNoMemoryToCopy;
    return "";
  }
  s.writer->wait();
  const std::string reason = s.writer->lastFailure();
  if (failure) *failure = reason;
  return reason.empty() ? absoluteModelPath(s.writer->heldPath()) : "";
}

void leaveEditorAndTell(RecoveryState& e) {
  std::string failure;
  const std::string kept = leaveEditor(e, &failure);
  if (!kept.empty()) std::printf("Unsaved changes kept in %s\n", shownName(kept).c_str());
  if (!failure.empty())
    std::fprintf(stderr, "vantorel: the unsaved changes could not be kept: %s\n",
                 shownName(failure).c_str());
}
