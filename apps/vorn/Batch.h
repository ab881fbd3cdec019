#pragma once
// Work on many files at once for the vorn commands, without Qt: items spread over worker
// processes (one per core), a progress line on the terminal, a report of each failure as it
// happens, and output files that appear complete or not at all.
//
// Workers are processes, not threads: each has its own engine state, and a crash in one item ends
// that item only. They are started before anything of Qt exists in the process.

#include <cstdint>
#include <cstdio>
#include <functional>
#include <string>

namespace vorncli {

// The cores this process may run on.
int AvailableCores();

// "Verb: done/total nouns" on stderr while stderr is a terminal, redrawn at most ten times a
// second; nothing otherwise.
class TProgressLine {
 public:
  TProgressLine(std::string Verb, std::string Noun, int64_t Total);
  ~TProgressLine();
  void Update(int64_t Done);
  // Removes the line so that a message can be printed; the next Update draws it again.
  void Clear();
  // Draws the final count and ends the line.
  void Finish();

 private:
  void Draw(int64_t Done);

  std::string FVerb, FNoun;
  int64_t FTotal;
  int64_t FDone = 0;
  bool FShown = false;
  bool FFinished = false;
  int64_t FLastDraw = 0;  // monotonic milliseconds
  bool FEnabled;
};

class TBatch {
 public:
  // Runs once in each worker before its first item; a message fails the worker (reported once).
  using TInit = std::function<std::string()>;
  // Does one item; returns what went wrong (one line naming the file or row) or "" on success.
  using TWork = std::function<std::string(int64_t Item)>;

  TBatch(std::string Verb, std::string Noun) : FVerb(std::move(Verb)), FNoun(std::move(Noun)) {}
  // Worker processes; 0 (the default) means one per available core.
  void SetJobs(int Jobs) { FJobs = Jobs; }
  // The name of an item for the messages the batch writes itself (a worker that crashed on it).
  void SetItemName(std::function<std::string(int64_t Item)> Name) { FName = std::move(Name); }

  // Runs Work for items 0 .. Count - 1 (in this process when one worker is enough) and reports
  // each failure on stderr as "vorn: MESSAGE". Returns the number of items that failed.
  int64_t Run(int64_t Count, const TInit& Init, const TWork& Work);

 private:
  int64_t RunHere(int64_t Count, const TInit& Init, const TWork& Work);
  int64_t RunInWorkers(int64_t Count, int Workers, const TInit& Init, const TWork& Work);

  std::string FVerb, FNoun;
  int FJobs = 0;
  std::function<std::string(int64_t)> FName;
};

// True for workers of a batch and for batches themselves: per-document progress stays quiet.
bool InBatch();

// A file written under a temporary name beside its final name and renamed when complete, so a
// reader never sees half a file and a failure leaves nothing behind. The temporary file is also
// removed when the process is interrupted (SIGINT, SIGTERM, SIGHUP).
class TOutputFile {
 public:
  explicit TOutputFile(std::string FileName);
  ~TOutputFile();
  TOutputFile(const TOutputFile&) = delete;
  TOutputFile& operator=(const TOutputFile&) = delete;

  // Creates the temporary file; false with Error set.
  bool Create(std::string& Error);
  // Where to write when another writer opens the file by name.
  const std::string& TempName() const { return FTempName; }
  bool Write(const void* Data, size_t Size, std::string& Error);
  // Closes the file and gives it its name; false with Error set (the temporary file is removed).
  bool Commit(std::string& Error);

 private:
  void Discard();

  std::string FFileName;
  std::string FTempName;
  int FFd = -1;
};

// Reads a whole regular file; false with Error ("NAME: why") for a directory, a device, a pipe or
// a file that cannot be read. Never waits for a writer, unless Streams allows pipes and devices
// (a file named on its own, such as the data of a merge, may come from a pipe).
bool ReadInputFile(const std::string& FileName, std::string& Data, std::string& Error, bool Streams = false);
// The same checks without reading, for files another reader opens by name.
bool CheckInputFile(const std::string& FileName, std::string& Error);

// "NAME: " followed by the text of errno.
std::string SystemError(const std::string& FileName);

// Creates Dir and its parents when missing; false with Error.
bool MakeDirectories(const std::string& Dir, std::string& Error);

// The last part of a path without its last suffix: "a/b.c.img" -> "b.c".
std::string BaseName(const std::string& Path);
// The suffix of a path in lower case, without the dot: "A.IMG" -> "img".
std::string Suffix(const std::string& Path);

}  // namespace vorncli
