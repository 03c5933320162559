// Both sides of the import child. The parent reads the child's answer while a
// watchdog thread enforces the time and memory limits: killing the child ends
// its output, which ends any read the parent is blocked in. The child limits
// its own address space; a sanitizer build reserves terabytes of it up front,
// so there the watchdog's look at the child's resident memory is the limit.

#include "import/import_child.h"

#include <fcntl.h>
#include <signal.h>
#include <stdio_ext.h>
#include <sys/prctl.h>
#include <sys/resource.h>
#include <sys/wait.h>
#include <unistd.h>

#include <chrono>
#include <condition_variable>
#include <cstdio>
#include <cstdlib>
#include <cstring>
#include <mutex>
#include <new>
#include <thread>
#include <vector>

#include "import/foreign_import.h"
#include "import/image_transfer.h"
#include "model/model_image.h"

extern char** environ;

namespace {

constexpr int kExitFailed = 1;
constexpr int kExitOutOfMemory = 3;
constexpr auto kWatchInterval = std::chrono::milliseconds(10);
// No line of a sound child is longer (its texts are cut to 500 bytes), nor
// does it name more changes: what a child gone wrong writes beyond them is
// not kept.
constexpr size_t kLongestLine = 64 << 10;
constexpr size_t kMostChanges = 1000;

uint64_t halfTheMemory() {
  return uint64_t(sysconf(_SC_PHYS_PAGES)) * uint64_t(sysconf(_SC_PAGESIZE)) / 2;
}

uint64_t residentBytes(pid_t pid) {
  char path[64];
  std::snprintf(path, sizeof path, "/proc/%d/statm", static_cast<int>(pid));
  std::FILE* file = std::fopen(path, "r");
  if (!file) return 0;
  unsigned long long size = 0, resident = 0;
  const int read = std::fscanf(file, "%llu %llu", &size, &resident);
  std::fclose(file);
  return read == 2 ? resident * uint64_t(sysconf(_SC_PAGESIZE)) : 0;
}

// Kills the child once it passes a limit, until stopped.
class Watchdog {
 public:
  Watchdog(pid_t pid, int seconds, uint64_t memoryBytes)
      : thread_([this, pid, seconds, memoryBytes] {
          const auto deadline = std::chrono::steady_clock::now() + std::chrono::seconds(seconds);
          std::unique_lock lock(mutex_);
          while (!stop_) {
            if (std::chrono::steady_clock::now() >= deadline) {
              timedOut = true;
            } else if (residentBytes(pid) > memoryBytes) {
              overMemory = true;
            }
            if (timedOut || overMemory) {
              kill(pid, SIGKILL);
              return;
            }
            wake_.wait_for(lock, kWatchInterval);
          }
        }) {}
  // Call while the child is still unreaped, so its id cannot have been reused.
  void stop() {
    {
      std::lock_guard lock(mutex_);
      stop_ = true;
    }
    wake_.notify_one();
    thread_.join();
  }
  bool timedOut = false, overMemory = false;

 private:
  std::mutex mutex_;
  std::condition_variable wake_;
  bool stop_ = false;
  std::thread thread_;
};

std::string megabytes(uint64_t bytes) {
  return std::to_string(bytes >> 20) + " MB";
}

std::string oneLine(std::string text) {
  for (char& c : text)
    if (c == '\n' || c == '\r') c = ' ';
  if (text.size() > 500) text.resize(500);
  while (!text.empty() && text.back() == ' ') text.pop_back();
  return text;
}

bool writeAll(const std::string& text) {
  size_t done = 0;
  while (done < text.size()) {
    const ssize_t n = write(STDOUT_FILENO, text.data() + done, text.size() - done);
    if (n < 0 && errno != EINTR) return false;
    if (n > 0) done += static_cast<size_t>(n);
  }
  return true;
}

void actOnFault() {
  const char* fault = std::getenv("VANTOREL_IMPORT_FAULT");
  if (!fault) return;
  if (std::strcmp(fault, "crash") == 0) std::abort();
  if (std::strcmp(fault, "hang") == 0)
    for (;;) pause();
  if (std::strcmp(fault, "longline") == 0) {  // 64 MB without a line feed
    const std::string block(1 << 20, 'x');
    for (int i = 0; i < 64; ++i) writeAll(block);
    std::exit(0);
  }
  if (std::strcmp(fault, "memory") == 0) {
    std::vector<std::unique_ptr<char[]>> blocks;
    for (;;) {
      blocks.emplace_back(new char[64 << 20]);
      std::memset(blocks.back().get(), 1, 64 << 20);
    }
  }
}

// The parent's environment, with the child's heap backed by huge pages: a
// fresh process that reads a large file spends most of its time in page
// faults otherwise (about 40% of a 100,000-triangle import). The memory is
// the child's alone and goes when it exits.
std::vector<std::string> childEnvironment() {
  constexpr const char* kTunable = "glibc.malloc.hugetlb=1";
  std::vector<std::string> variables;
  bool tuned = false;
  for (char** v = environ; *v; ++v) {
    variables.emplace_back(*v);
    if (variables.back().rfind("GLIBC_TUNABLES=", 0) == 0) {
      variables.back() += std::string(":") + kTunable;
      tuned = true;
    }
  }
  if (!tuned) variables.push_back(std::string("GLIBC_TUNABLES=") + kTunable);
  return variables;
}

// Starts `program` with its standard output on `output` and its standard
// input empty. The child dies with the editor (strictly, with the thread that
// started it, which waits for it): an editor killed in the middle of an
// import leaves no importer behind. Between fork and exec only calls that are safe
// in the copy of a threaded process.
int startChild(const char* program, char* const* argv, char* const* envp, int output, pid_t* pid) {
  const pid_t parent = getpid();
  *pid = fork();
  if (*pid < 0) return errno;
  if (*pid > 0) return 0;
  // A parent gone before the signal was asked for has left us already.
  if (prctl(PR_SET_PDEATHSIG, SIGKILL) != 0 || getppid() != parent) _exit(kExitFailed);
  const int empty = open("/dev/null", O_RDONLY | O_CLOEXEC);
  if (empty < 0 || dup2(empty, STDIN_FILENO) < 0 || dup2(output, STDOUT_FILENO) < 0)
    _exit(kExitFailed);
  execve(program, argv, envp);
  _exit(kExitFailed);
}

enum class LineRead { kLine, kEnd, kTooLong };

// One line of the child's, without its line feed, held only up to
// kLongestLine bytes.
LineRead readLine(std::FILE* in, std::string& text) {
  text.clear();
  for (;;) {
    const int c = getc_unlocked(in);
    if (c == EOF) return text.empty() ? LineRead::kEnd : LineRead::kLine;
    if (c == '\n') return LineRead::kLine;
    if (text.size() == kLongestLine) return LineRead::kTooLong;
    text += static_cast<char>(c);
  }
}

}  // namespace

#if defined(__SANITIZE_ADDRESS__)
// What Assimp's readers lose themselves is theirs, not the editor's: the RAW
// reader drops nodes it made for a file of several groups. The leak checker
// of a sanitizer build, which reports at the child's exit, leaves those out;
// anything the editor's code allocates and loses is still reported.
extern "C" const char* __lsan_default_suppressions() {
  return "leak:libassimp.so\n";
}
extern "C" const char* __lsan_default_options() {
  return "print_suppressions=0";
}
#endif

int runImportChild(const std::string& path, uint64_t memoryBytes, const std::string& modelName) {
#if defined(__SANITIZE_ADDRESS__) || defined(__SANITIZE_THREAD__)
  static_cast<void>(memoryBytes);  // the parent's watchdog is the limit there
#else
  const struct rlimit limit = {memoryBytes, memoryBytes};
  setrlimit(RLIMIT_AS, &limit);
#endif
  try {
    actOnFault();
    ForeignModel result;
    std::string reason;
    const auto progress = [](int percent) {
      writeAll("progress " + std::to_string(percent) + "\n");
    };
    if (!importForeignModel(path, result, &reason, SceneAfterImport::kLeftForExit, modelName,
                            progress)) {
      if (reason.find("bad_alloc") != std::string::npos) return kExitOutOfMemory;
      if (reason.empty()) reason = "The file cannot be read.";
      writeAll("error " + oneLine(reason) + "\n");
      return kExitFailed;
    }
    std::string header;
    for (const std::string& change : result.changes) header += "change " + oneLine(change) + "\n";
    const std::string bytes = imageBytes(result.image);
    header += "image " + std::to_string(bytes.size()) + "\n";
    return writeAll(header) && writeAll(bytes) ? 0 : kExitFailed;
  } catch (const std::bad_alloc&) {
    return kExitOutOfMemory;
  }
}

ImportResult importInChild(const std::string& path, const std::string& modelName,
                           TextureCache* textures, const ImportSettings& settings) {
  ImportResult result;
  const uint64_t memory = settings.memoryBytes ? settings.memoryBytes : halfTheMemory();
  int fds[2];
  if (pipe2(fds, O_CLOEXEC) != 0) {
    result.reason = std::string("The importer could not be started: ") + std::strerror(errno);
    return result;
  }
  // A larger pipe hands a big model back in fewer turns between the two.
  fcntl(fds[1], F_SETPIPE_SZ, 1 << 20);
  const std::string limit = std::to_string(memory);
  const char* argv[] = {
      settings.program.c_str(), "--import-child", path.c_str(), limit.c_str(),
      modelName.c_str(),        nullptr,
  };
  const std::vector<std::string> variables = childEnvironment();
  std::vector<char*> envp;
  for (const std::string& v : variables) envp.push_back(const_cast<char*>(v.c_str()));
  envp.push_back(nullptr);
  pid_t pid = -1;
  const int spawned = startChild(settings.program.c_str(), const_cast<char* const*>(argv),
                                 envp.data(), fds[1], &pid);
  close(fds[1]);
  if (spawned != 0) {
    close(fds[0]);
    result.reason = std::string("The importer could not be started: ") + std::strerror(spawned);
    return result;
  }

  Watchdog watchdog(pid, settings.seconds, memory);
  std::FILE* in = fdopen(fds[0], "rb");
  // Only this thread reads it, and an open in the background reads it while
  // the main thread may flush every stream (fflush(nullptr)): a lock held
  // through a read that waits for the child would stop that flush, and any
  // fopen after it, the watchdog's among them.
  if (in) __fsetlocking(in, FSETLOCKING_BYCALLER);
  std::string error, text;
  bool sawModel = false, built = false, tooLong = false;
  size_t modelBytes = 0;
  while (in && !sawModel) {
    const LineRead read = readLine(in, text);
    if (read != LineRead::kLine) {
      // The child's answer is unreadable; it goes now rather than write on.
      if ((tooLong = read == LineRead::kTooLong)) kill(pid, SIGKILL);
      break;
    }
    if (text.rfind("image ", 0) == 0) {
      modelBytes = std::strtoull(text.c_str() + 6, nullptr, 10);
      sawModel = true;
    } else if (text.rfind("progress ", 0) == 0) {
      if (settings.progress) settings.progress->store(std::atoi(text.c_str() + 9));
    } else if (text.rfind("change ", 0) == 0) {
      if (result.changes.size() < kMostChanges) result.changes.push_back(text.substr(7));
    } else if (text.rfind("error ", 0) == 0) {
      error = text.substr(6);
    }
  }
  if (sawModel) {
    try {
      ModelImage image;
      built = readImageBytes(in, modelBytes, image);
      if (built) {
        result.model = std::make_unique<Model>(modelName, textures);
        buildModel(image, *result.model);
      }
    } catch (const std::exception&) {
      built = false;
    }
  }
  if (in) {
    std::fclose(in);
  } else {
    close(fds[0]);
  }

  siginfo_t info{};
  waitid(P_PID, pid, &info, WEXITED | WNOWAIT);
  watchdog.stop();
  int status = 0;
  waitpid(pid, &status, 0);

  if (watchdog.timedOut) {
    result.reason =
        "The importer took longer than " + std::to_string(settings.seconds) + " seconds.";
  } else if (watchdog.overMemory ||
             (WIFEXITED(status) && WEXITSTATUS(status) == kExitOutOfMemory)) {
    result.reason = "The importer needed more than its " + megabytes(memory) + " of memory.";
  } else if (tooLong) {
    result.reason = "The importer's answer was unreadable (a line longer than " +
                    std::to_string(kLongestLine >> 10) + " KB).";
  } else if (!error.empty()) {
    result.reason = error;
  } else if (sawModel && !built) {
    result.reason = "The importer handed back an unreadable model.";
  } else if (WIFSIGNALED(status)) {
    result.reason = std::string("The importer crashed (") + strsignal(WTERMSIG(status)) + ").";
  } else if (!sawModel || !WIFEXITED(status) || WEXITSTATUS(status) != 0) {
    result.reason = "The importer crashed.";
  }
  if (!result.reason.empty()) result.model.reset();
  return result;
}
