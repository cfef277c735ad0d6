#include "payload/file_writer.h"

#include <utility>

// The output stream and the COM types its codec headers need.
#include "payload/archive_objects.h"
#include "win/text_convert.h"

namespace qx::payload {

bool DeleteExistingFile(const std::wstring& path) {
  const DWORD attributes = ::GetFileAttributesW(path.c_str());
  if (attributes == INVALID_FILE_ATTRIBUTES) return true;
  if (attributes & FILE_ATTRIBUTE_DIRECTORY) return false;
  if ((attributes & FILE_ATTRIBUTE_READONLY) &&
      !::SetFileAttributesW(path.c_str(), attributes & ~FILE_ATTRIBUTE_READONLY))
    return false;
  return ::DeleteFileW(path.c_str());
}

BackgroundFileWriter::BackgroundFileWriter(unsigned threads) : lanes_(threads ? threads : 1) {
  try {
    threads_.reserve(lanes_.size());
    for (Lane& lane : lanes_) threads_.emplace_back([this, &lane] { Work(lane); });
  } catch (...) {
    Stop();  // the threads already running must not outlive the object
    throw;
  }
}

BackgroundFileWriter::~BackgroundFileWriter() { Stop(); }

void BackgroundFileWriter::Stop() {
  {
    std::lock_guard<std::mutex> lock(mutex_);
    stopping_ = true;
  }
  for (Lane& lane : lanes_) lane.ready.notify_all();
  for (std::thread& thread : threads_) thread.join();
}

void BackgroundFileWriter::Submit(FileJob job, size_t key) {
  std::unique_lock<std::mutex> lock(mutex_);
  progressed_.wait(lock, [this] { return bytesInFlight_ < kBytesInFlight; });
  bytesInFlight_ += job.data.size();
  ++pending_;
  Lane& lane = lanes_[key % lanes_.size()];
  lane.jobs.push_back(std::move(job));
  lane.ready.notify_one();
}

HRESULT BackgroundFileWriter::Drain() {
  std::unique_lock<std::mutex> lock(mutex_);
  progressed_.wait(lock, [this] { return pending_ == 0; });
  return failure_;
}

HRESULT BackgroundFileWriter::Failure() {
  std::lock_guard<std::mutex> lock(mutex_);
  return failure_;
}

std::string BackgroundFileWriter::TakeFailureText() {
  std::lock_guard<std::mutex> lock(mutex_);
  return std::exchange(failureText_, std::string());
}

void BackgroundFileWriter::Work(Lane& lane) {
  std::unique_lock<std::mutex> lock(mutex_);
  for (;;) {
    lane.ready.wait(lock, [&] { return stopping_ || !lane.jobs.empty(); });
    if (lane.jobs.empty()) return;  // stopping, and nothing left
    FileJob job = std::move(lane.jobs.front());
    lane.jobs.pop_front();
    // After a failure the extraction ends: nothing more is written.
    const bool skip = failure_ != S_OK;
    lock.unlock();
    std::string text;
    const HRESULT result = skip ? S_OK : Write(job, text);
    lock.lock();
    if (result != S_OK && failure_ == S_OK) {
      failure_ = result;
      failureText_ = std::move(text);
    }
    bytesInFlight_ -= job.data.size();
    --pending_;
    progressed_.notify_all();
  }
}

HRESULT BackgroundFileWriter::Write(const FileJob& job, std::string& failureText) {
  if (!job.expectNothing && !DeleteExistingFile(job.path)) {
    failureText = "Can not delete output file " + qx::win::WideToAnsi(job.path) + "\n";
    return E_ABORT;
  }
  auto* spec = new COutFileStream;
  CMyComPtr<ISequentialOutStream> stream(spec);
  if (!spec->Create(job.path, job.expectNothing)) {
    // A folder made here may still hold an earlier item of the same name.
    if (!job.expectNothing || !DeleteExistingFile(job.path) || !spec->Create(job.path)) {
      failureText = "Can not open output file " + qx::win::WideToAnsi(job.path) + "\n";
      return E_ABORT;
    }
  }
  size_t done = 0;
  while (done < job.data.size()) {
    const size_t left = job.data.size() - done;
    const UInt32 chunk = left > 0x40000000u ? 0x40000000u : static_cast<UInt32>(left);
    UInt32 written = 0;
    const HRESULT result = stream->Write(job.data.data() + done, chunk, &written);
    if (result != S_OK) return result;
    if (written == 0) return E_FAIL;
    done += written;
  }
  if (job.mtimeDefined) spec->SetLastWriteTime(job.mtime);
  if (const DWORD error = spec->Close()) return HRESULT_FROM_WIN32(error);
  if (job.setAttributes) ::SetFileAttributesW(job.path.c_str(), job.attributes);
  return S_OK;
}

}  // namespace qx::payload
