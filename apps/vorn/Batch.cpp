#include "Batch.h"

#include <fcntl.h>
#include <limits.h>
#include <sched.h>
#include <signal.h>
#include <sys/mman.h>
#include <sys/stat.h>
#include <sys/wait.h>
#include <time.h>
#include <unistd.h>

#include <algorithm>
#include <atomic>
#include <cerrno>
#include <cstring>
#include <exception>
#include <new>
#include <set>
#include <vector>

namespace vorncli {
namespace {

bool GInBatch = false;

int64_t NowMs() {
  timespec t{};
  clock_gettime(CLOCK_MONOTONIC, &t);
  return int64_t(t.tv_sec) * 1000 + t.tv_nsec / 1000000;
}

// ---- Temporary files removed on interruption ------------------------------------------------------

// The temporary files this process is writing, for the signal handler (which may only use what
// is async-signal-safe: fixed buffers and unlink).
constexpr int kTempSlots = 4;
char GTempFiles[kTempSlots][PATH_MAX];

void RemoveTempFilesAndDie(int Signal) {
  for (char* name : GTempFiles)
    if (name[0]) unlink(name);
  signal(Signal, SIG_DFL);
  raise(Signal);
}

void WatchTempFile(const std::string& Name, bool Add) {
  static bool installed = false;
  if (!installed) {
    installed = true;
    struct sigaction sa {};
    sa.sa_handler = RemoveTempFilesAndDie;
    sigemptyset(&sa.sa_mask);
    for (int s : {SIGINT, SIGTERM, SIGHUP}) sigaction(s, &sa, nullptr);
  }
  if (Name.size() >= PATH_MAX) return;
  for (char* slot : GTempFiles) {
    if (Add && !slot[0]) {
      std::memcpy(slot, Name.c_str(), Name.size() + 1);
      return;
    }
    if (!Add && Name == slot) {
      slot[0] = '\0';
      return;
    }
  }
}

mode_t CreationMode() {
  static const mode_t mode = [] {
    const mode_t mask = umask(0);
    umask(mask);
    return static_cast<mode_t>(0666 & ~mask);
  }();
  return mode;
}

// ---- Reports from workers ---------------------------------------------------------------------

// One report travels as one write of at most PIPE_BUF bytes, so reports of several workers on
// one pipe never mix.
struct TReportHead {
  int64_t Item;  // -1: the worker could not start
  uint32_t Length;
};
constexpr size_t kMaxReportText = PIPE_BUF - sizeof(TReportHead);

void SendReport(int Fd, int64_t Item, const std::string& Text) {
  char buffer[PIPE_BUF];
  const TReportHead head{Item, static_cast<uint32_t>(std::min(Text.size(), kMaxReportText))};
  std::memcpy(buffer, &head, sizeof head);
  std::memcpy(buffer + sizeof head, Text.data(), head.Length);
  const size_t n = sizeof head + head.Length;
  while (write(Fd, buffer, n) < 0 && errno == EINTR) {
  }
}

std::string Guarded(const std::function<std::string()>& F) {
  try {
    return F();
  } catch (const std::bad_alloc&) {
    return "out of memory";
  } catch (const std::exception& e) {
    return e.what();
  }
}

}  // namespace

int AvailableCores() {
  cpu_set_t set;
  if (sched_getaffinity(0, sizeof set, &set) == 0) return std::max(1, CPU_COUNT(&set));
  return static_cast<int>(std::clamp(sysconf(_SC_NPROCESSORS_ONLN), 1L, 1024L));
}

bool InBatch() { return GInBatch; }

// ---- Progress ---------------------------------------------------------------------------------

TProgressLine::TProgressLine(std::string Verb, std::string Noun, int64_t Total)
    : FVerb(std::move(Verb)), FNoun(std::move(Noun)), FTotal(Total), FEnabled(isatty(STDERR_FILENO) != 0) {}

TProgressLine::~TProgressLine() { Clear(); }

void TProgressLine::Draw(int64_t Done) {
  std::fprintf(stderr, "\r%s: %lld/%lld %s", FVerb.c_str(), static_cast<long long>(Done),
               static_cast<long long>(FTotal), FNoun.c_str());
  std::fflush(stderr);
  FShown = true;
  FLastDraw = NowMs();
}

void TProgressLine::Update(int64_t Done) {
  FDone = Done;
  if (!FEnabled || FFinished) return;
  if (!FShown || NowMs() - FLastDraw >= 100) Draw(Done);
}

void TProgressLine::Clear() {
  if (!FShown || FFinished) return;
  std::fprintf(stderr, "\r\033[K");
  std::fflush(stderr);
  FShown = false;
}

void TProgressLine::Finish() {
  if (!FEnabled || FFinished) return;
  Draw(FDone);
  std::fprintf(stderr, "\n");
  FFinished = true;
}

// ---- Batches ----------------------------------------------------------------------------------

int64_t TBatch::Run(int64_t Count, const TInit& Init, const TWork& Work) {
  if (Count <= 0) return 0;
  const int jobs = FJobs > 0 ? FJobs : AvailableCores();
  const int workers = static_cast<int>(std::min<int64_t>(jobs, Count));
  if (Count > 1) GInBatch = true;
  return workers <= 1 ? RunHere(Count, Init, Work) : RunInWorkers(Count, workers, Init, Work);
}

int64_t TBatch::RunHere(int64_t Count, const TInit& Init, const TWork& Work) {
  if (Init) {
    const std::string error = Guarded(Init);
    if (!error.empty()) {
      std::fprintf(stderr, "vorn: %s\n", error.c_str());
      return Count;
    }
  }
  TProgressLine progress(FVerb, FNoun, Count > 1 ? Count : 0);
  int64_t failed = 0;
  for (int64_t i = 0; i < Count; ++i) {
    const std::string error = Guarded([&] { return Work(i); });
    if (!error.empty()) {
      ++failed;
      progress.Clear();
      std::fprintf(stderr, "vorn: %s\n", error.c_str());
    }
    if (Count > 1) progress.Update(i + 1);
  }
  if (Count > 1) progress.Finish();
  return failed;
}

int64_t TBatch::RunInWorkers(int64_t Count, int Workers, const TInit& Init, const TWork& Work) {
  // The next item to take, shared by all workers.
  void* shared = mmap(nullptr, sizeof(std::atomic<int64_t>), PROT_READ | PROT_WRITE, MAP_SHARED | MAP_ANONYMOUS, -1, 0);
  int fds[2];
  if (shared == MAP_FAILED || pipe(fds) != 0) {
    if (shared != MAP_FAILED) munmap(shared, sizeof(std::atomic<int64_t>));
    return RunHere(Count, Init, Work);
  }
  auto* next = new (shared) std::atomic<int64_t>(0);
  std::fflush(nullptr);
  std::vector<pid_t> pids;
  for (int k = 0; k < Workers; ++k) {
    const pid_t pid = fork();
    if (pid == 0) {
      close(fds[0]);
      const std::string error = Init ? Guarded(Init) : std::string();
      if (!error.empty()) {
        SendReport(fds[1], -1, error);
      } else {
        for (int64_t i = next->fetch_add(1); i < Count; i = next->fetch_add(1))
          SendReport(fds[1], i, Guarded([&] { return Work(i); }));
      }
      std::fflush(nullptr);
      _exit(0);
    }
    if (pid > 0) pids.push_back(pid);
  }
  close(fds[1]);
  if (pids.empty()) {
    close(fds[0]);
    munmap(shared, sizeof(std::atomic<int64_t>));
    return RunHere(Count, Init, Work);
  }

  TProgressLine progress(FVerb, FNoun, Count);
  std::vector<bool> reported(static_cast<size_t>(Count), false);
  std::set<std::string> startErrors;
  int64_t done = 0, failed = 0;
  auto report = [&](const std::string& Message) {
    progress.Clear();
    std::fprintf(stderr, "vorn: %s\n", Message.c_str());
  };
  std::string pending;
  char buffer[1 << 16];
  for (;;) {
    const ssize_t n = read(fds[0], buffer, sizeof buffer);
    if (n < 0 && errno == EINTR) continue;
    if (n <= 0) break;
    pending.append(buffer, static_cast<size_t>(n));
    size_t at = 0;
    while (pending.size() - at >= sizeof(TReportHead)) {
      TReportHead head;
      std::memcpy(&head, pending.data() + at, sizeof head);
      if (pending.size() - at < sizeof head + head.Length) break;
      const std::string text = pending.substr(at + sizeof head, head.Length);
      at += sizeof head + head.Length;
      if (head.Item < 0) {
        if (startErrors.insert(text).second) report(text);
        continue;
      }
      if (head.Item >= Count || reported[static_cast<size_t>(head.Item)]) continue;
      reported[static_cast<size_t>(head.Item)] = true;
      ++done;
      if (!text.empty()) {
        ++failed;
        report(text);
      }
      progress.Update(done);
    }
    pending.erase(0, at);
  }
  close(fds[0]);

  std::string crash;
  for (pid_t pid : pids) {
    int status = 0;
    while (waitpid(pid, &status, 0) < 0 && errno == EINTR) {
    }
    if (WIFSIGNALED(status))
      crash = std::string("a worker process ended by signal ") + std::to_string(WTERMSIG(status)) + " (" +
              strsignal(WTERMSIG(status)) + ")";
  }
  // Items a crashed worker had taken, and items nobody could take.
  const int64_t taken = std::min(next->load(), Count);
  munmap(shared, sizeof(std::atomic<int64_t>));
  for (int64_t i = 0; i < Count; ++i) {
    if (reported[static_cast<size_t>(i)]) continue;
    ++failed;
    if (i < taken && !crash.empty())
      report((FName ? FName(i) : "item " + std::to_string(i + 1)) + ": not done, " + crash);
  }
  if (taken < Count && startErrors.empty() && !crash.empty()) report(crash);
  progress.Finish();
  return failed;
}

// ---- Files ------------------------------------------------------------------------------------

std::string SystemError(const std::string& FileName) { return FileName + ": " + std::strerror(errno); }

namespace {

// Opens a regular file (or, with Streams, a pipe or a device) for reading; -1 with Error set
// otherwise. O_NONBLOCK keeps a named pipe from waiting for a writer; it has no effect on regular
// files.
int OpenRegular(const std::string& FileName, struct stat& Info, std::string& Error, bool Streams = false) {
  const int fd = open(FileName.c_str(), O_RDONLY | O_CLOEXEC | (Streams ? 0 : O_NONBLOCK));
  if (fd < 0) {
    Error = SystemError(FileName);
    return -1;
  }
  if (fstat(fd, &Info) != 0) {
    Error = SystemError(FileName);
  } else if (S_ISDIR(Info.st_mode)) {
    Error = FileName + ": is a directory";
  } else if (!S_ISREG(Info.st_mode) && !(Streams && (S_ISFIFO(Info.st_mode) || S_ISCHR(Info.st_mode)))) {
    Error = FileName + ": not a regular file";
  } else {
    return fd;
  }
  close(fd);
  return -1;
}

}  // namespace

bool CheckInputFile(const std::string& FileName, std::string& Error) {
  struct stat info {};
  const int fd = OpenRegular(FileName, info, Error);
  if (fd < 0) return false;
  close(fd);
  return true;
}

bool ReadInputFile(const std::string& FileName, std::string& Data, std::string& Error, bool Streams) {
  struct stat info {};
  const int fd = OpenRegular(FileName, info, Error, Streams);
  if (fd < 0) return false;
  // One byte more than the file holds, so that its end shows without growing the buffer.
  Data.resize(static_cast<size_t>(info.st_size) + 1);
  size_t used = 0;
  for (;;) {
    if (used == Data.size()) Data.resize(std::max<size_t>(4096, Data.size() * 2));
    const ssize_t n = read(fd, Data.data() + used, Data.size() - used);
    if (n < 0 && errno == EINTR) continue;
    if (n < 0) {
      Error = SystemError(FileName);
      close(fd);
      return false;
    }
    if (n == 0) break;
    used += static_cast<size_t>(n);
  }
  close(fd);
  Data.resize(used);
  return true;
}

bool MakeDirectories(const std::string& Dir, std::string& Error) {
  struct stat info {};
  if (stat(Dir.c_str(), &info) == 0) {
    if (S_ISDIR(info.st_mode)) return true;
    Error = Dir + ": not a directory";
    return false;
  }
  const size_t slash = Dir.find_last_of('/', Dir.size() > 1 ? Dir.size() - 2 : 0);
  if (slash != std::string::npos && slash > 0 && !MakeDirectories(Dir.substr(0, slash), Error)) return false;
  if (mkdir(Dir.c_str(), 0777) != 0 && errno != EEXIST) {
    Error = SystemError(Dir);
    return false;
  }
  return true;
}

std::string BaseName(const std::string& Path) {
  const size_t slash = Path.find_last_of('/');
  std::string name = slash == std::string::npos ? Path : Path.substr(slash + 1);
  const size_t dot = name.find_last_of('.');
  if (dot != std::string::npos && dot > 0) name.resize(dot);
  return name;
}

std::string Suffix(const std::string& Path) {
  const size_t slash = Path.find_last_of('/');
  const size_t dot = Path.find_last_of('.');
  if (dot == std::string::npos || (slash != std::string::npos && dot < slash) || dot + 1 == Path.size()) return {};
  std::string s = Path.substr(dot + 1);
  for (char& c : s) c = static_cast<char>(c >= 'A' && c <= 'Z' ? c - 'A' + 'a' : c);
  return s;
}

TOutputFile::TOutputFile(std::string FileName) : FFileName(std::move(FileName)) {}

TOutputFile::~TOutputFile() { Discard(); }

bool TOutputFile::Create(std::string& Error) {
  Discard();
  // Hidden and beside the final name, so the rename stays on one file system.
  const size_t slash = FFileName.find_last_of('/');
  const std::string dir = slash == std::string::npos ? std::string() : FFileName.substr(0, slash + 1);
  const std::string base = slash == std::string::npos ? FFileName : FFileName.substr(slash + 1);
  std::string pattern = dir + "." + base + ".XXXXXX";
  FFd = mkostemp(pattern.data(), O_CLOEXEC);
  if (FFd < 0) {
    Error = SystemError(FFileName);
    return false;
  }
  FTempName = pattern;
  WatchTempFile(FTempName, true);
  fchmod(FFd, CreationMode());
  return true;
}

bool TOutputFile::Write(const void* Data, size_t Size, std::string& Error) {
  const auto* p = static_cast<const char*>(Data);
  while (Size > 0) {
    const ssize_t n = write(FFd, p, Size);
    if (n < 0 && errno == EINTR) continue;
    if (n <= 0) {
      Error = SystemError(FFileName);
      return false;
    }
    p += n;
    Size -= static_cast<size_t>(n);
  }
  return true;
}

bool TOutputFile::Commit(std::string& Error) {
  if (FFd >= 0 && close(FFd) != 0) {
    FFd = -1;
    Error = SystemError(FFileName);
    Discard();
    return false;
  }
  FFd = -1;
  if (rename(FTempName.c_str(), FFileName.c_str()) != 0) {
    Error = SystemError(FFileName);
    Discard();
    return false;
  }
  WatchTempFile(FTempName, false);
  FTempName.clear();
  return true;
}

void TOutputFile::Discard() {
  if (FFd >= 0) close(FFd);
  FFd = -1;
  if (FTempName.empty()) return;
  unlink(FTempName.c_str());
  WatchTempFile(FTempName, false);
  FTempName.clear();
}

}  // namespace vorncli
