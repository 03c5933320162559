// The recovery file's text (layout in recovery_file.h).

#include "recovery/recovery_file.h"

#include <sys/stat.h>
#include <unistd.h>

#include <algorithm>
#include <cerrno>
#include <cmath>
#include <cstdio>
#include <cstring>
#include <functional>
#include <optional>

#include "files/file_paths.h"
#include "formats/binary_body.h"

namespace {

constexpr std::string_view kHeaderStart = "vantorel-recovery ";
constexpr size_t kLongestHead = 64;           // both first lines of a file this version writes
constexpr size_t kStepBytes = 4 + 4 * 3 + 1;  // a name and an empty difference

struct Head {
  int version = 0;
  size_t headBytes = 0, bodyBytes = 0;
  uint64_t sum = 0;
};

// The first two lines.
bool readHead(std::string_view text, Head& head, std::string* error) {
  auto fail = [&](const char* reason) {
    if (error) *error = reason;
    return false;
  };
  if (!text.starts_with(kHeaderStart)) return fail("not a recovery file");
  const std::string_view rest = text.substr(kHeaderStart.size());
  if (rest.size() < 2 || rest[1] != '\n' || rest[0] < '1' || rest[0] > '0' + kRecoveryVersion)
    return fail("a recovery file of another version");
  head.version = rest[0] - '0';
  const std::string_view line = rest.substr(2);
  const size_t lineEnd = line.find('\n');
  unsigned long long length = 0, sum = 0;
  if (lineEnd == std::string_view::npos || lineEnd > 40 ||
      std::sscanf(std::string(line.substr(0, lineEnd)).c_str(), "%llu %llx", &length, &sum) != 2)
    return fail("the file is damaged");
  head.headBytes = kHeaderStart.size() + 2 + lineEnd + 1;
  head.bodyBytes = length;
  head.sum = sum;
  return true;
}

std::string heldFault(const ImageFaults& faults) {
  return faults.fault.empty() ? "the file is damaged" : "the file holds " + faults.fault;
}

// When, whose and which model: the body's first fields.
bool readFields(BodyReader& r, int version, RecoveryContents& read) {
  return r.get(read.changedAt) && (version < 2 || r.text(read.modelPath)) &&
         r.text(read.model.name) && (version < 2 || read.modelPath.starts_with('/'));
}

// The model and the number of undo steps after it.
bool readModel(BodyReader& r, int version, RecoveryContents& read, size_t& steps,
               const RecoveryLimits& limits, std::string* error) {
  ImageFaults faults;
  auto model = std::make_shared<ModelImage>();
  if (!getImage(r, *model, version, faults) || !r.count(steps, kStepBytes)) {
    if (error) *error = heldFault(faults);
    return false;
  }
  if (steps > limits.steps) {
    if (error) *error = "the file holds more than " + std::to_string(limits.steps) + " undo steps";
    return false;
  }
  read.model.image = std::move(model);
  return true;
}

// The undo steps, newest first, each from the one after it (the newest from
// `newer`), each given to `each` as it is read; those beyond the memory the
// steps may take are read (the file is checked whole) and left out. With
// `differences` each comes with its difference from the next newer, and only
// the newest with its image: the others are read over one image in place,
// and the memory counted is that of the newest image and the older
// differences, as the undo history holds them.
bool readSteps(BodyReader& r, int version, size_t count, std::shared_ptr<const ModelImage> newer,
               bool differences, const std::function<void(Snapshot, ImageDifference)>& each,
               const RecoveryLimits& limits, std::string* error, const std::atomic<bool>* stop) {
  auto fail = [&](const ImageFaults& faults) {
    if (error) *error = heldFault(faults);
    return false;
  };
  size_t heldBytes = 0;
  ImageFaults faults;
  ModelImage working;  // with differences, the step read last
  for (size_t i = 0; i < count; ++i) {
    if (stop && *stop) return false;
    std::string name, bytes;
    if (!r.text(name)) return fail(faults);
    std::shared_ptr<ModelImage> image;
    if (!differences || i == 0) {
      image = std::make_shared<ModelImage>(*newer);
      image->notes.clear();
    }
    ModelImage& into = differences && i > 0 ? working : *image;
    // A file of version 1 holds differences of its own kind: made again.
    ModelImage previous;
    if (differences && version != kRecoveryVersion) previous = into;
    if (differences && version == kRecoveryVersion) r.record(&bytes);
    const bool read = getImageDifference(r, into, version, faults);
    r.record(nullptr);
    if (!read) return fail(faults);
    ImageDifference difference;
    if (differences)
      difference = version == kRecoveryVersion ? ImageDifference(std::move(bytes))
                                               : ImageDifference(into, i == 0 ? *newer : previous);
    heldBytes += differences && i > 0 ? difference.memoryBytes() : into.memoryBytes();
    if (differences && i == 0) working = *image;
    if (heldBytes <= limits.stepBytes) each({std::move(name), image}, std::move(difference));
    if (!differences) newer = std::move(image);
  }
  if (!r.atEnd()) {
    if (error) *error = "the file is damaged";
    return false;
  }
  return true;
}

// The whole body after the first lines, checked against `sum` when given
// (a body in memory was checked before); `headerOnly` stops after the fields.
bool readBody(BodyReader& r, int version, RecoveryContents& contents, std::string* error,
              bool headerOnly, const RecoveryLimits& limits, std::optional<uint64_t> sum) {
  RecoveryContents read;
  size_t steps = 0;
  if (!readFields(r, version, read)) {
    if (error) *error = "the file is damaged";
    return false;
  }
  auto keep = [&](Snapshot step, ImageDifference) {
    read.undoSteps.insert(read.undoSteps.begin(), std::move(step));
  };
  if (!headerOnly &&
      (!readModel(r, version, read, steps, limits, error) ||
       !readSteps(r, version, steps, read.model.image, false, keep, limits, error, nullptr)))
    return false;
  if (!headerOnly && sum && r.readSum() != *sum) {
    if (error) *error = "the file is damaged";
    return false;
  }
  contents = std::move(read);
  return true;
}

// The first lines of an open regular file, checked against its size.
bool readFileHead(int fd, Head& head, std::string* error) {
  auto fail = [&](const std::string& reason) {
    if (error) *error = reason;
    return false;
  };
  struct stat info;
  if (fstat(fd, &info) != 0) return fail(std::strerror(errno));
  if (!S_ISREG(info.st_mode)) return fail("not a regular file");
  char start[kLongestHead];
  ssize_t got = 0;
  do {
    got = pread(fd, start, sizeof start, 0);
  } while (got < 0 && errno == EINTR);
  if (got < 0) return fail(std::strerror(errno));
  if (!readHead(std::string_view(start, got), head, error)) return false;
  // Before a byte of the body: a body the header does not account for is not read.
  const size_t size = static_cast<size_t>(info.st_size);
  if (head.bodyBytes > size || size - head.bodyBytes != head.headBytes)
    return fail("the file is cut short or too long");
  return true;
}

}  // namespace

std::string formatRecoveryFile(const RecoveryContents& contents, int version) {
  BodyWriter body;
  body.put(contents.changedAt);
  if (version >= 2) body.text(contents.modelPath);
  body.text(contents.model.name);
  putImage(body, *contents.model.image, version);
  body.count(contents.undoSteps.size());
  const ModelImage* newer = contents.model.image.get();
  for (size_t i = contents.undoSteps.size(); i-- > 0;) {
    const Snapshot& step = contents.undoSteps[i];
    body.text(step.name);
    if (step.image) {
      putImageDifference(body, *step.image, *newer, version);
    } else {
      body.out += contents.undoDifferences.at(i).bytes();
    }
    newer = step.image.get();
  }
  return recoveryFileAround(body.out, version);
}

std::string recoveryFileAround(std::string_view body, int version) {
  char lines[80];
  std::snprintf(lines, sizeof lines, "%.*s%d\n%zu %016llx\n", static_cast<int>(kHeaderStart.size()),
                kHeaderStart.data(), version, body.size(),
                static_cast<unsigned long long>(checksum(body)));
  return lines + std::string(body);
}

bool parseRecoveryFile(std::string_view text, RecoveryContents& contents, std::string* error,
                       const RecoveryLimits& limits) {
  Head head;
  if (!readHead(text.substr(0, kLongestHead), head, error)) return false;
  const std::string_view body = text.substr(head.headBytes);
  if (body.size() != head.bodyBytes) {
    if (error) *error = "the file is cut short or too long";
    return false;
  }
  if (checksum(body) != head.sum) {
    if (error) *error = "the file is damaged";
    return false;
  }
  BodyReader r(body);
  return readBody(r, head.version, contents, error, false, limits, std::nullopt);
}

bool readRecoveryFile(int fd, RecoveryContents& contents, std::string* error, bool headerOnly,
                      const RecoveryLimits& limits) {
  Head head;
  if (!readFileHead(fd, head, error)) return false;
  BodyReader r(fd, static_cast<off_t>(head.headBytes), head.bodyBytes);
  return readBody(r, head.version, contents, error, headerOnly, limits, head.sum);
}

bool readRecoveryModel(int fd, RecoveryContents& contents, RecoveryStepsStart& start,
                       std::string* error, const RecoveryLimits& limits) {
  Head head;
  if (!readFileHead(fd, head, error)) return false;
  BodyReader r(fd, static_cast<off_t>(head.headBytes), head.bodyBytes);
  RecoveryContents read;
  size_t steps = 0;
  if (!readFields(r, head.version, read)) {
    if (error) *error = "the file is damaged";
    return false;
  }
  if (!readModel(r, head.version, read, steps, limits, error)) return false;
  start = {static_cast<off_t>(head.headBytes + r.taken()), r.left(), steps, head.version};
  if (!r.skipRest() || r.readSum() != head.sum) {
    if (error) *error = "the file is damaged";
    return false;
  }
  contents = std::move(read);
  return true;
}

bool readRecoverySteps(int fd, const RecoveryStepsStart& start,
                       std::shared_ptr<const ModelImage> model,
                       const std::function<void(Snapshot, ImageDifference)>& each,
                       std::string* error, const RecoveryLimits& limits,
                       const std::atomic<bool>* stop) {
  BodyReader r(fd, start.offset, start.bytes);
  return readSteps(r, start.version, start.count, std::move(model), true, each, limits, error,
                   stop);
}
