#include "payload/file_writer.h"

#include <cstdint>
#include <functional>
#include <utility>

// The output stream and the COM types its codec headers need.
#include "payload/archive_objects.h"

namespace qx::payload {

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
    qx::win::ScopedLock lock(section_);
    stopping_ = true;
  }
  for (Lane& lane : lanes_) lane.ready.WakeAll();
  for (std::thread& thread : threads_) thread.join();
}

void BackgroundFileWriter::Submit(FileJob job, const std::wstring& key) {
  Lane& lane = lanes_[std::hash<std::wstring>{}(key) % lanes_.size()];
  qx::win::UniqueLock lock(section_);
  // Once full, wait for half: one wake for many files, not one each.
  if (bytesInFlight_ >= kBytesInFlight) room_.Wait(lock, [this] { return bytesInFlight_ <= kBytesInFlight / 2; });
  lane.jobs.push_back(Queued{std::move(job), key});
  bytesInFlight_ += lane.jobs.back().job.data.size();
  ++pending_;
  ++pendingKeys_[key];
  lane.ready.WakeOne();
}

HRESULT BackgroundFileWriter::Drain() {
  qx::win::UniqueLock lock(section_);
  progressed_.Wait(lock, [this] { return pending_ == 0; });
  return failure_;
}

HRESULT BackgroundFileWriter::WaitFor(const std::wstring& key) {
  qx::win::UniqueLock lock(section_);
  progressed_.Wait(lock, [&] { return pendingKeys_.count(key) == 0; });
  return failure_;
}

HRESULT BackgroundFileWriter::Failure() {
  qx::win::ScopedLock lock(section_);
  return failure_;
}

std::string BackgroundFileWriter::TakeFailureText() {
  qx::win::ScopedLock lock(section_);
  return std::exchange(failureText_, std::string());
}

void BackgroundFileWriter::Work(Lane& lane) {
  qx::win::UniqueLock lock(section_);
  for (;;) {
    lane.ready.Wait(lock, [&] { return stopping_ || !lane.jobs.empty(); });
    if (lane.jobs.empty()) return;  // stopping, and nothing left
    Queued queued = std::move(lane.jobs.front());
    lane.jobs.pop_front();
    const FileJob& job = queued.job;
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
    if (--pendingKeys_[queued.key] == 0) pendingKeys_.erase(queued.key);
    if (bytesInFlight_ <= kBytesInFlight / 2) room_.WakeAll();
    progressed_.WakeAll();
  }
}

HRESULT BackgroundFileWriter::Write(const FileJob& job, std::string& failureText) {
  if (job.appendTo) {
    UInt32 written = 0;
    const HRESULT result = WriteToHandle(job.appendTo, job.data.data(), static_cast<UInt32>(job.data.size()), &written);
    if (result != S_OK) return result;
    return written == job.data.size() ? S_OK : E_FAIL;
  }
  auto* spec = new COutFileStream;
  CMyComPtr<ISequentialOutStream> stream(spec);
  if (!spec->CreateReplacing(job.path, job.expectNothing, failureText)) return E_ABORT;
  // Small by construction: one call writes it all.
  if (job.data.size() > UINT32_MAX) return E_FAIL;
  UInt32 written = 0;
  const HRESULT result = stream->Write(job.data.data(), static_cast<UInt32>(job.data.size()), &written);
  if (result != S_OK) return result;
  if (written != job.data.size()) return E_FAIL;
  if (job.mtimeDefined) spec->SetLastWriteTime(job.mtime);
  if (const DWORD error = spec->Close()) return HRESULT_FROM_WIN32(error);
  if (job.setAttributes) ::SetFileAttributesW(job.path.c_str(), job.attributes);
  return S_OK;
}

}  // namespace qx::payload
