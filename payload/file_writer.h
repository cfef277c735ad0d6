// Small output files, and the writes of large ones, done on helper threads,
// so that the decoder does not wait for each file's create, write and close.
// Under Wine every one of those is a round trip to the server; on Windows
// the file system's per-file work overlaps the same way.
#pragma once

#include <windows.h>

#include <cstddef>
#include <deque>
#include <string>
#include <thread>
#include <unordered_map>
#include <vector>

#include "win/critical_section.h"

namespace qx::payload {

struct FileJob {
  std::wstring path;
  bool expectNothing = false;  // in a folder made by this run: create new, delete nothing
  std::string data;
  bool mtimeDefined = false;
  FILETIME mtime{};
  bool setAttributes = false;
  DWORD attributes = 0;
  // Set for a part of a large file that its stream holds open: the data is
  // only appended to that handle.
  HANDLE appendTo = nullptr;
};

class BackgroundFileWriter {
 public:
  // Files held in memory at once, at most (one larger file still passes).
  static constexpr size_t kBytesInFlight = 16u << 20;

  explicit BackgroundFileWriter(unsigned threads);
  ~BackgroundFileWriter();  // finishes what was submitted
  BackgroundFileWriter(const BackgroundFileWriter&) = delete;
  BackgroundFileWriter& operator=(const BackgroundFileWriter&) = delete;

  // Jobs of one key (the path, case-folded) run in submission order: a path
  // named twice must end with the later item. Waits while too much data is
  // in flight.
  void Submit(FileJob job, const std::wstring& key);
  // Waits until every submitted job has run; the first failure, or S_OK.
  HRESULT Drain();
  // Waits until no job of this key is left, so that the caller may write the
  // path itself; the first failure so far, or S_OK.
  HRESULT WaitFor(const std::wstring& key);
  // The first failure so far (S_OK if none), and its line for the log.
  HRESULT Failure();
  std::string TakeFailureText();

 private:
  struct Queued {
    FileJob job;
    std::wstring key;
  };
  struct Lane {
    std::deque<Queued> jobs;
    qx::win::ConditionVariable ready;
  };
  void Stop();
  void Work(Lane& lane);
  HRESULT Write(const FileJob& job, std::string& failureText);

  qx::win::CriticalSection section_;
  qx::win::ConditionVariable room_;        // in flight down to half
  qx::win::ConditionVariable progressed_;  // a job ended: its key done, or drained
  std::vector<Lane> lanes_;
  std::vector<std::thread> threads_;
  size_t bytesInFlight_ = 0;
  size_t pending_ = 0;
  std::unordered_map<std::wstring, unsigned> pendingKeys_;
  bool stopping_ = false;
  HRESULT failure_ = S_OK;
  std::string failureText_;
};

}  // namespace qx::payload
