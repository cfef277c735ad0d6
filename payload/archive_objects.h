// The client objects the codec library calls back: the input stream over the
// installer file, the open and extract callbacks, the output file stream.
// Reference counted the COM way (count 0 at creation), atomically, because
// the library calls streams and progress from its own threads.
#pragma once

#include <windows.h>
// Lean Windows headers leave out the COM types the codec headers need.
#include <objbase.h>
#include <oleauto.h>

#include <memory>
#include <new>
#include <string>
#include <utility>

#include "Common/MyCom.h"
#include "7zip/Archive/IArchive.h"
#include "7zip/IPassword.h"
#include "payload/file_writer.h"
#include "payload/folder_chain.h"
#include "payload/progress.h"
#include "win/scoped.h"

namespace qx::payload {

// The extract callback's standard-output lines, written in blocks. Nobody
// reads them in the installer, yet under Wine every write to standard output
// is a round trip to the server, and a path printed with %ls costs one write
// per character.
class OutputLines {
 public:
  OutputLines() = default;
  OutputLines(const OutputLines&) = delete;
  OutputLines& operator=(const OutputLines&) = delete;
  ~OutputLines() { Flush(); }
  void Put(const char* text);
  void Put(const std::wstring& text);  // in the ANSI code page
  void Flush();

 private:
  void FlushWhenFull();
  std::string buffer_;
};

// Writes all of data to file unless the system fails; how much it took.
HRESULT WriteToHandle(HANDLE file, const void* data, UInt32 size, UInt32* processedSize);

}  // namespace qx::payload

class CInFileStream final : public IInStream,
                            public IStreamGetSize,
                            public IStreamGetProps,
                            public IStreamGetProps2,
                            public CMyUnknownImp {
  Z7_COM_UNKNOWN_IMP_4(IInStream, IStreamGetSize, IStreamGetProps, IStreamGetProps2)
  Z7_IFACE_COM7_IMP(ISequentialInStream)
  Z7_IFACE_COM7_IMP(IInStream)
  Z7_IFACE_COM7_IMP(IStreamGetSize)
  Z7_IFACE_COM7_IMP(IStreamGetProps)
  Z7_IFACE_COM7_IMP(IStreamGetProps2)

 public:
  virtual ~CInFileStream() = default;
  bool Open(const std::wstring& path);

 private:
  qx::win::ScopedHandle file_;
};

class COutFileStream final : public IOutStream, public CMyUnknownImp {
  Z7_COM_UNKNOWN_IMP_1(IOutStream)
  Z7_IFACE_COM7_IMP(ISequentialOutStream)
  Z7_IFACE_COM7_IMP(IOutStream)

 public:
  virtual ~COutFileStream();
  // From here on every write is handed to writer's lane for key, so that
  // decoding goes on while the file system works; everything else first
  // waits for those writes.
  void WriteBehind(qx::payload::BackgroundFileWriter* writer, const std::wstring& key) {
    writer_ = writer;
    key_ = key;
  }
  // onlyNew: the caller expects nothing at path. Creating a new file costs
  // Wine less than replacing one; it fails when something does stand there.
  bool Create(const std::wstring& path, bool onlyNew = false);
  // Create after removing what stands at path (nothing to remove when
  // expectNothing, unless an earlier item of this run has the name); on
  // failure the log line that says why.
  bool CreateReplacing(const std::wstring& path, bool expectNothing, std::string& failureText);
  bool SetLastWriteTime(const FILETIME& time);
  // The system error of a failed write or close, 0 on success.
  DWORD Close();

 private:
  // Waits for the writes handed on; the writer's first failure, or S_OK.
  HRESULT Settle();

  qx::win::ScopedHandle file_;
  UInt64 processed_ = 0;
  qx::payload::BackgroundFileWriter* writer_ = nullptr;
  std::wstring key_;
};

// A small item's data, gathered for the background writer.
class CMemoryOutStream final : public ISequentialOutStream, public CMyUnknownImp {
  Z7_COM_UNKNOWN_IMP_0
  Z7_IFACE_COM7_IMP(ISequentialOutStream)

 public:
  virtual ~CMemoryOutStream() = default;
  // Only a hint: without the memory, Write reports it.
  void Reserve(size_t size) noexcept {
    try {
      data_.reserve(size);
    } catch (const std::bad_alloc&) {
    }
  }
  std::string TakeData() { return std::move(data_); }

 private:
  std::string data_;
};

class CArchiveOpenCallback final : public IArchiveOpenCallback, public ICryptoGetTextPassword, public CMyUnknownImp {
  Z7_COM_UNKNOWN_IMP_2(IArchiveOpenCallback, ICryptoGetTextPassword)
  Z7_IFACE_COM7_IMP(IArchiveOpenCallback)
  Z7_IFACE_COM7_IMP(ICryptoGetTextPassword)

 public:
  // Nothing sets these: an archive with encrypted headers cannot be opened.
  bool passwordDefined = false;
  std::wstring password;
};

class CArchiveExtractCallback final : public IArchiveExtractCallback,
                                      public ICryptoGetTextPassword,
                                      public CMyUnknownImp {
  Z7_COM_UNKNOWN_IMP_1(ICryptoGetTextPassword)
  Z7_IFACE_COM7_IMP(IProgress)
  Z7_IFACE_COM7_IMP(IArchiveExtractCallback)
  Z7_IFACE_COM7_IMP(ICryptoGetTextPassword)

 public:
  void Init(IInArchive* archive, const std::wstring& destination);
  void SetPassword(const std::wstring& value) {
    passwordDefined_ = true;
    password_ = value;
  }
  // The one report of 100, after FinishWrites has succeeded: the reader's
  // own call at the total may come while files are still being written.
  void FinishProgress();
  UInt64 ErrorCount() const { return errorCount_; }
  // Waits for the files still being written; the first failure, or S_OK.
  HRESULT FinishWrites();
  // Writes the lines gathered so far, before the engine adds its own.
  void FlushOutput() { output_.Flush(); }

 private:
  // A failure of the background writer, its line logged once.
  HRESULT WriterFailure(bool wait);
  // The background writer, made at the first file that needs it.
  HRESULT MakeWriter();

  CMyComPtr<IInArchive> archive_;
  std::wstring destination_;
  std::wstring itemPath_;
  std::wstring itemDiskPath_;
  bool extractMode_ = false;
  UInt64 total_ = 0;
  FILETIME mtime_{};
  UInt32 attributes_ = 0;
  bool isFolder_ = false;
  bool attributesDefined_ = false;
  bool mtimeDefined_ = false;
  COutFileStream* outStreamSpec_ = nullptr;
  CMemoryOutStream* memoryStreamSpec_ = nullptr;
  bool expectNothing_ = false;  // the current file goes into a folder made here
  std::unique_ptr<qx::payload::BackgroundFileWriter> writer_;
  CMyComPtr<ISequentialOutStream> outStream_;
  UInt64 errorCount_ = 0;
  bool passwordDefined_ = false;
  std::wstring password_;
  qx::payload::ProgressThrottle progress_;
  qx::payload::OutputLines output_;

  qx::payload::FolderChain folders_;
  bool freshFile_ = false;  // the current file was created in a folder made here
};
