#include "payload/archive_objects.h"

#include <io.h>
#include <oleauto.h>

#include <algorithm>
#include <cstdio>
#include <functional>
#include <new>
#include <vector>

#include "payload/extract.h"
#include "payload/item_path.h"
#include "win/debug_log.h"
#include "win/text_convert.h"

namespace {

constexpr UInt32 kMaxIoChunk = 4194304;
// Files up to this size go to the background writer; larger ones are
// written as they are decoded, so memory stays bounded.
constexpr UInt64 kBackgroundFileLimit = 1u << 20;
// Two lanes halve Wine's per-file cost on two cores; more gain nothing there.
constexpr unsigned kBackgroundWriters = 2;

HRESULT LastError() {
  const DWORD error = ::GetLastError();
  return error == 0 ? E_FAIL : HRESULT_FROM_WIN32(error);
}

HRESULT SeekHandle(HANDLE file, Int64 offset, UInt32 origin, UInt64* newPosition) {
  if (origin > FILE_END) return STG_E_INVALIDFUNCTION;
  LARGE_INTEGER distance, position;
  distance.QuadPart = offset;
  if (!::SetFilePointerEx(file, distance, &position, origin)) return LastError();
  if (newPosition) *newPosition = static_cast<UInt64>(position.QuadPart);
  return S_OK;
}

HRESULT NewPasswordString(const std::wstring& password, BSTR* out) {
  *out = ::SysAllocString(password.c_str());
  return *out ? S_OK : E_OUTOFMEMORY;
}

}  // namespace

// ---- standard output --------------------------------------------------------

namespace qx::payload {

namespace {
constexpr size_t kOutputBlock = 4096;
}

void OutputLines::Put(const char* text) {
  // The lines bypass the C runtime's text mode, which would add the CR.
  for (; *text; ++text) {
    if (*text == '\n') buffer_ += '\r';
    buffer_ += *text;
  }
  FlushWhenFull();
}

void OutputLines::Put(const std::wstring& text) {
  buffer_ += qx::win::WideToAnsi(text);
  FlushWhenFull();
}

void OutputLines::FlushWhenFull() {
  if (buffer_.size() >= kOutputBlock) Flush();
}

void OutputLines::Flush() {
  if (buffer_.empty()) return;
  // One system write per block (the C runtime's text mode would cut it in
  // pieces), behind whatever the runtime still holds. A GUI process may
  // have no standard output at all.
  std::fflush(stdout);
  const int fd = _fileno(stdout);
  const HANDLE out = fd >= 0 ? reinterpret_cast<HANDLE>(_get_osfhandle(fd)) : INVALID_HANDLE_VALUE;
  if (out != INVALID_HANDLE_VALUE && out != nullptr) {
    DWORD written = 0;
    ::WriteFile(out, buffer_.data(), static_cast<DWORD>(buffer_.size()), &written, nullptr);
  }
  buffer_.clear();
}

}  // namespace qx::payload

// ---- input stream -----------------------------------------------------------

bool CInFileStream::Open(const std::wstring& path) {
  file_.Reset(::CreateFileW(path.c_str(), GENERIC_READ, FILE_SHARE_READ, nullptr, OPEN_EXISTING, FILE_ATTRIBUTE_NORMAL,
                            nullptr));
  return file_.Valid();
}

Z7_COM7F_IMF(CInFileStream::Read(void* data, UInt32 size, UInt32* processedSize)) {
  if (processedSize) *processedSize = 0;
  DWORD read = 0;
  if (!::ReadFile(file_.Get(), data, std::min(size, kMaxIoChunk), &read, nullptr)) return LastError();
  if (processedSize) *processedSize = read;
  return S_OK;
}

Z7_COM7F_IMF(CInFileStream::Seek(Int64 offset, UInt32 seekOrigin, UInt64* newPosition)) {
  return SeekHandle(file_.Get(), offset, seekOrigin, newPosition);
}

Z7_COM7F_IMF(CInFileStream::GetSize(UInt64* size)) {
  LARGE_INTEGER value;
  if (!::GetFileSizeEx(file_.Get(), &value)) return LastError();
  *size = static_cast<UInt64>(value.QuadPart);
  return S_OK;
}

Z7_COM7F_IMF(CInFileStream::GetProps(UInt64* size, FILETIME* cTime, FILETIME* aTime, FILETIME* mTime, UInt32* attrib)) {
  BY_HANDLE_FILE_INFORMATION info;
  if (!::GetFileInformationByHandle(file_.Get(), &info)) return LastError();
  if (size) *size = (static_cast<UInt64>(info.nFileSizeHigh) << 32) | info.nFileSizeLow;
  if (cTime) *cTime = info.ftCreationTime;
  if (aTime) *aTime = info.ftLastAccessTime;
  if (mTime) *mTime = info.ftLastWriteTime;
  if (attrib) *attrib = info.dwFileAttributes;
  return S_OK;
}

Z7_COM7F_IMF(CInFileStream::GetProps2(CStreamFileProps* props)) {
  BY_HANDLE_FILE_INFORMATION info;
  if (!::GetFileInformationByHandle(file_.Get(), &info)) return LastError();
  props->Size = (static_cast<UInt64>(info.nFileSizeHigh) << 32) | info.nFileSizeLow;
  props->VolID = info.dwVolumeSerialNumber;
  props->FileID_Low = (static_cast<UInt64>(info.nFileIndexHigh) << 32) | info.nFileIndexLow;
  props->FileID_High = 0;
  props->NumLinks = info.nNumberOfLinks;
  props->Attrib = info.dwFileAttributes;
  props->CTime = info.ftCreationTime;
  props->ATime = info.ftLastAccessTime;
  props->MTime = info.ftLastWriteTime;
  return S_OK;
}

// ---- output stream ----------------------------------------------------------

bool COutFileStream::Create(const std::wstring& path, bool onlyNew) {
  file_.Reset(::CreateFileW(path.c_str(), GENERIC_WRITE, FILE_SHARE_READ, nullptr, onlyNew ? CREATE_NEW : CREATE_ALWAYS,
                            FILE_ATTRIBUTE_NORMAL, nullptr));
  processed_ = 0;
  return file_.Valid();
}

namespace {

// Removes what stands at path so that a file can take its place: true when
// nothing is left there. A folder is never removed.
bool DeleteExistingFile(const std::wstring& path) {
  const DWORD attributes = ::GetFileAttributesW(path.c_str());
  if (attributes == INVALID_FILE_ATTRIBUTES) return true;
  if (attributes & FILE_ATTRIBUTE_DIRECTORY) return false;
  if ((attributes & FILE_ATTRIBUTE_READONLY) &&
      !::SetFileAttributesW(path.c_str(), attributes & ~FILE_ATTRIBUTE_READONLY))
    return false;
  return ::DeleteFileW(path.c_str());
}

}  // namespace

bool COutFileStream::CreateReplacing(const std::wstring& path, bool expectNothing, std::string& failureText) {
  // A folder made during this run holds only what this run wrote, so there
  // is nothing to delete unless the archive names the same file twice.
  if (!expectNothing && !DeleteExistingFile(path)) {
    failureText = "Can not delete output file " + qx::win::WideToAnsi(path) + "\n";
    return false;
  }
  if (Create(path, expectNothing)) return true;
  // A folder made here may still hold an earlier item of the same name.
  if (expectNothing && DeleteExistingFile(path) && Create(path)) return true;
  failureText = "Can not open output file " + qx::win::WideToAnsi(path) + "\n";
  return false;
}

HRESULT qx::payload::WriteToHandle(HANDLE file, const void* data, UInt32 size, UInt32* processedSize) {
  UInt32 total = 0;
  HRESULT result = S_OK;
  const char* bytes = static_cast<const char*>(data);
  while (total < size) {
    DWORD written = 0;
    if (!::WriteFile(file, bytes + total, std::min(size - total, kMaxIoChunk), &written, nullptr)) {
      result = LastError();
      break;
    }
    if (written == 0) break;
    total += written;
  }
  if (processedSize) *processedSize = total;
  return result;
}

COutFileStream::~COutFileStream() {
  // The handle closes only after the writes that use it.
  Settle();
}

HRESULT COutFileStream::Settle() { return writer_ ? writer_->WaitFor(key_) : S_OK; }

Z7_COM7F_IMF(COutFileStream::Write(const void* data, UInt32 size, UInt32* processedSize)) {
  if (processedSize) *processedSize = 0;
  if (writer_) {
    // A write that failed on the helper ends the extraction here.
    RINOK(writer_->Failure())
    qx::payload::FileJob job;
    job.appendTo = file_.Get();
    try {
      job.data.assign(static_cast<const char*>(data), size);
      writer_->Submit(std::move(job), key_);
    } catch (const std::exception&) {
      return E_OUTOFMEMORY;
    }
    processed_ += size;
    if (processedSize) *processedSize = size;
    return S_OK;
  }
  UInt32 total = 0;
  const HRESULT result = qx::payload::WriteToHandle(file_.Get(), data, size, &total);
  processed_ += total;
  if (processedSize) *processedSize = total;
  return result;
}

Z7_COM7F_IMF(COutFileStream::Seek(Int64 offset, UInt32 seekOrigin, UInt64* newPosition)) {
  RINOK(Settle())
  return SeekHandle(file_.Get(), offset, seekOrigin, newPosition);
}

Z7_COM7F_IMF(COutFileStream::SetSize(UInt64 newSize)) {
  RINOK(Settle())
  UInt64 current = 0;
  if (SeekHandle(file_.Get(), 0, FILE_CURRENT, &current) != S_OK) return E_FAIL;
  if (SeekHandle(file_.Get(), static_cast<Int64>(newSize), FILE_BEGIN, nullptr) != S_OK) return E_FAIL;
  const bool ok = ::SetEndOfFile(file_.Get());
  if (SeekHandle(file_.Get(), static_cast<Int64>(current), FILE_BEGIN, nullptr) != S_OK || !ok) return E_FAIL;
  return S_OK;
}

bool COutFileStream::SetLastWriteTime(const FILETIME& time) {
  if (Settle() != S_OK) return false;
  return ::SetFileTime(file_.Get(), nullptr, nullptr, &time);
}

DWORD COutFileStream::Close() {
  if (!file_.Valid()) return 0;
  const HRESULT written = Settle();
  if (!::CloseHandle(file_.Release())) return ::GetLastError() ? ::GetLastError() : ERROR_GEN_FAILURE;
  if (written == S_OK) return 0;
  return HRESULT_FACILITY(written) == FACILITY_WIN32 ? HRESULT_CODE(written) : ERROR_WRITE_FAULT;
}

Z7_COM7F_IMF(CMemoryOutStream::Write(const void* data, UInt32 size, UInt32* processedSize)) {
  if (processedSize) *processedSize = 0;
  try {
    data_.append(static_cast<const char*>(data), size);
  } catch (const std::bad_alloc&) {
    return E_OUTOFMEMORY;
  }
  if (processedSize) *processedSize = size;
  return S_OK;
}

// ---- open callback ----------------------------------------------------------

Z7_COM7F_IMF(CArchiveOpenCallback::SetTotal(const UInt64*, const UInt64*)) { return S_OK; }
Z7_COM7F_IMF(CArchiveOpenCallback::SetCompleted(const UInt64*, const UInt64*)) { return S_OK; }

Z7_COM7F_IMF(CArchiveOpenCallback::CryptoGetTextPassword(BSTR* out)) {
  if (!passwordDefined) {
    std::fputs("Error: Password is not defined\n", stdout);
    return E_ABORT;
  }
  return NewPasswordString(password, out);
}

// ---- extract callback -------------------------------------------------------

void CArchiveExtractCallback::Init(IInArchive* archive, const std::wstring& destination) {
  errorCount_ = 0;
  archive_ = archive;
  destination_ = destination;
  qx::win::DebugLogW(L"初始化时解压路径为%s\n", destination_.c_str());
  if (!destination_.empty() && !qx::payload::IsPathSeparator(destination_.back())) destination_ += L'\\';
  folders_.Clear();
}

HRESULT CArchiveExtractCallback::WriterFailure(bool wait) {
  if (!writer_) return S_OK;
  const HRESULT failure = wait ? writer_->Drain() : writer_->Failure();
  if (failure != S_OK) {
    const std::string text = writer_->TakeFailureText();
    if (!text.empty()) {
      output_.Put(text.c_str());
      output_.Flush();
    }
  }
  return failure;
}

HRESULT CArchiveExtractCallback::MakeWriter() {
  if (writer_) return S_OK;
  try {
    writer_ = std::make_unique<qx::payload::BackgroundFileWriter>(kBackgroundWriters);
  } catch (const std::exception&) {  // no memory, or no thread
    return E_OUTOFMEMORY;
  }
  return S_OK;
}

HRESULT CArchiveExtractCallback::FinishWrites() {
  const HRESULT failure = WriterFailure(true);
  // A stream left open by a failed extraction still points at the writer.
  outStream_.Release();
  outStreamSpec_ = nullptr;
  writer_.reset();
  return failure;
}

Z7_COM7F_IMF(CArchiveExtractCallback::GetStream(UInt32 index, ISequentialOutStream** outStream, Int32 askExtractMode)) {
  *outStream = nullptr;
  outStream_.Release();
  outStreamSpec_ = nullptr;
  memoryStreamSpec_ = nullptr;
  // A file the writer could not make ends the extraction as if it were this one.
  RINOK(WriterFailure(false))

  PROPVARIANT prop;
  PropVariantInit(&prop);
  RINOK(archive_->GetProperty(index, kpidPath, &prop))
  if (prop.vt == VT_EMPTY) {
    itemPath_ = L"[Content]";
  } else if (prop.vt == VT_BSTR) {
    itemPath_ = prop.bstrVal;
    ::PropVariantClear(&prop);
  } else {
    ::PropVariantClear(&prop);
    return E_FAIL;
  }
  // The paths are joined to the install folder as they stand: one that
  // climbs out of it or names another drive ends the extraction.
  if (!qx::payload::IsSafeItemPath(std::wstring_view(itemPath_))) {
    output_.Put("Unsafe item path\n");
    output_.Flush();
    qx::win::DebugLogW(L"不安全的文件路径%s\n", itemPath_.c_str());
    return E_ABORT;
  }
  if (askExtractMode != NArchive::NExtract::NAskMode::kExtract) return S_OK;

  RINOK(archive_->GetProperty(index, kpidAttrib, &prop))
  if (prop.vt == VT_EMPTY) {
    attributes_ = 0;
    attributesDefined_ = false;
  } else if (prop.vt == VT_UI4) {
    attributes_ = prop.ulVal;
    attributesDefined_ = true;
  } else {
    ::PropVariantClear(&prop);
    return E_FAIL;
  }
  RINOK(archive_->GetProperty(index, kpidIsDir, &prop))
  if (prop.vt == VT_BOOL) {
    isFolder_ = prop.boolVal != VARIANT_FALSE;
  } else if (prop.vt == VT_EMPTY) {
    isFolder_ = false;
  } else {
    ::PropVariantClear(&prop);
    return E_FAIL;
  }
  RINOK(archive_->GetProperty(index, kpidMTime, &prop))
  if (prop.vt == VT_EMPTY) {
    mtimeDefined_ = false;
  } else if (prop.vt == VT_FILETIME) {
    mtime_ = prop.filetime;
    mtimeDefined_ = true;
  } else {
    ::PropVariantClear(&prop);
    return E_FAIL;
  }

  std::wstring parentKey;
  const size_t cut = itemPath_.find_last_of(L"\\/");
  if (cut != std::wstring::npos) {
    const std::wstring parent = destination_ + itemPath_.substr(0, cut);
    folders_.Make(parent);
    parentKey = qx::payload::PathKey(parent);
  } else {
    parentKey = qx::payload::PathKey(destination_);
  }
  itemDiskPath_ = destination_ + itemPath_;
  freshFile_ = false;

  if (isFolder_) {
    folders_.Make(itemDiskPath_);
    return S_OK;
  }
  const bool inMadeFolder = folders_.MadeHere(parentKey);
  RINOK(archive_->GetProperty(index, kpidSize, &prop))
  const bool sizeDefined = prop.vt == VT_UI8;
  const UInt64 size = sizeDefined ? prop.uhVal.QuadPart : 0;
  ::PropVariantClear(&prop);
  if (sizeDefined && size <= kBackgroundFileLimit) {
    auto* memory = new CMemoryOutStream;
    CMyComPtr<ISequentialOutStream> stream(memory);
    memory->Reserve(static_cast<size_t>(size));
    memoryStreamSpec_ = memory;
    expectNothing_ = inMadeFolder;
    outStream_ = stream;
    *outStream = stream.Detach();
    return S_OK;
  }
  // Written here, after any of the background writer's files of the same
  // name; the others go on meanwhile.
  const std::wstring key = qx::payload::PathKey(itemDiskPath_);
  if (writer_) {
    const HRESULT failure = writer_->WaitFor(key);
    if (failure != S_OK) return WriterFailure(false);
  }
  auto* spec = new COutFileStream;
  CMyComPtr<ISequentialOutStream> stream(spec);
  std::string failureText;
  if (!spec->CreateReplacing(itemDiskPath_, inMadeFolder, failureText)) {
    output_.Put(failureText.c_str());
    output_.Flush();
    return E_ABORT;
  }
  RINOK(MakeWriter())
  spec->WriteBehind(writer_.get(), key);
  freshFile_ = true;
  outStreamSpec_ = spec;
  outStream_ = stream;
  *outStream = stream.Detach();
  return S_OK;
}

Z7_COM7F_IMF(CArchiveExtractCallback::PrepareOperation(Int32 askExtractMode)) {
  extractMode_ = askExtractMode == NArchive::NExtract::NAskMode::kExtract;
  const char* verb = askExtractMode == NArchive::NExtract::NAskMode::kExtract ? "Extracting  "
                     : askExtractMode == NArchive::NExtract::NAskMode::kTest  ? "Testing     "
                                                                              : "Skipping    ";
  output_.Put(verb);
  output_.Put(itemPath_);
  return S_OK;
}

Z7_COM7F_IMF(CArchiveExtractCallback::SetOperationResult(Int32 operationResult)) {
  if (operationResult != NArchive::NExtract::NOperationResult::kOK) {
    ++errorCount_;
    static const char* const kTexts[] = {nullptr,
                                         "Unsupported Method",
                                         "Data Error",
                                         "CRC Failed",
                                         "Unavailable data",
                                         "Unexpected end of data",
                                         "There are some data after the end of the payload data",
                                         "Is not archive",
                                         "Headers Error"};
    char text[80];
    if (operationResult > 0 && operationResult <= 8)
      std::snprintf(text, sizeof text, "  :  Error : %s", kTexts[operationResult]);
    else
      std::snprintf(text, sizeof text, "  :  Error #%d", static_cast<int>(operationResult));
    output_.Put(text);
  }
  const DWORD applied = attributes_ >= 0x10000000 ? (attributes_ & 0x3FFF) : attributes_;
  if (memoryStreamSpec_) {
    qx::payload::FileJob job;
    job.path = itemDiskPath_;
    job.expectNothing = expectNothing_;
    job.data = memoryStreamSpec_->TakeData();
    job.mtimeDefined = mtimeDefined_;
    job.mtime = mtime_;
    // A file just created has exactly the archive bit.
    job.setAttributes = extractMode_ && attributesDefined_ && applied != FILE_ATTRIBUTE_ARCHIVE;
    job.attributes = applied;
    outStream_.Release();
    memoryStreamSpec_ = nullptr;
    RINOK(MakeWriter())
    try {
      writer_->Submit(std::move(job), qx::payload::PathKey(itemDiskPath_));
    } catch (const std::exception&) {  // no memory
      return E_OUTOFMEMORY;
    }
    output_.Put("\n");
    return S_OK;
  }
  if (outStreamSpec_) {
    if (mtimeDefined_) outStreamSpec_->SetLastWriteTime(mtime_);
    const DWORD error = outStreamSpec_->Close();
    if (error != 0) {
      outStream_.Release();
      outStreamSpec_ = nullptr;
      return HRESULT_FROM_WIN32(error);
    }
  }
  outStream_.Release();
  outStreamSpec_ = nullptr;

  if (extractMode_ && attributesDefined_) {
    // A file just created has exactly the archive bit, a folder made here
    // exactly the folder bit: setting those again changes nothing.
    const bool unchanged =
        isFolder_ ? (applied == FILE_ATTRIBUTE_DIRECTORY && folders_.MadeHere(qx::payload::PathKey(itemDiskPath_)))
                  : (freshFile_ && applied == FILE_ATTRIBUTE_ARCHIVE);
    if (!unchanged) ::SetFileAttributesW(itemDiskPath_.c_str(), applied);
  }
  freshFile_ = false;
  output_.Put("\n");
  return S_OK;
}

Z7_COM7F_IMF(CArchiveExtractCallback::SetTotal(UInt64 total)) {
  total_ = total;
  return S_OK;
}

Z7_COM7F_IMF(CArchiveExtractCallback::SetCompleted(const UInt64* completed)) {
  CExtractManager& engine = CExtractManager::GetInstance();
  // The final 100 comes from FinishProgress, once the helpers have closed the
  // last file: the installer goes on to the unpacked files on the first 100.
  if (!engine.ProgressEnabled() || !completed || *completed >= total_) return S_OK;
  if (auto percent = progress_.Next(*completed, total_)) {
    if (auto callback = engine.ProgressCallback()) callback(static_cast<int>(*percent));
  }
  return S_OK;
}

void CArchiveExtractCallback::FinishProgress() {
  CExtractManager& engine = CExtractManager::GetInstance();
  if (!engine.ProgressEnabled()) return;
  if (auto percent = progress_.Next(total_, total_)) {
    if (auto callback = engine.ProgressCallback()) callback(static_cast<int>(*percent));
  }
}

Z7_COM7F_IMF(CArchiveExtractCallback::CryptoGetTextPassword(BSTR* out)) {
  if (!passwordDefined_) {
    output_.Put("Error: Password is not defined\n");
    output_.Flush();
    return E_ABORT;
  }
  return NewPasswordString(password_, out);
}
