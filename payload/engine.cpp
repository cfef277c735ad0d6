#include <windows.h>
#include <objbase.h>

// Only here: defines the interface ids the codec headers declare.
#include "Common/MyInitGuid.h"

#include <cstdio>
#include <mutex>

#include "payload/archive_objects.h"
#include "payload/extract.h"
#include "payload/layout.h"
#include "payload/payload_password.h"
#include "win/debug_log.h"
#include "win/scoped.h"
#include "win/text_convert.h"

namespace {

// {23170F69-40C1-278A-1000-000110070000}
const GUID kClsid7z = {0x23170F69, 0x40C1, 0x278A, {0x10, 0x00, 0x00, 0x01, 0x10, 0x07, 0x00, 0x00}};

// Every byte of the password becomes one code unit of the same value.
std::wstring BytesToCodeUnits(const std::string& bytes) {
  std::wstring wide;
  wide.reserve(bytes.size());
  for (unsigned char c : bytes) wide.push_back(static_cast<wchar_t>(c));
  return wide;
}

// Two decoder threads at most; one where only two processors run and files
// are written, so that the writer threads have the other.
uint32_t DefaultDecoderThreads(bool testOnly) {
  SYSTEM_INFO system;
  ::GetSystemInfo(&system);
  if (system.dwNumberOfProcessors > 2) return 2;
  return testOnly && system.dwNumberOfProcessors == 2 ? 2 : 1;
}

}  // namespace

CExtractManager& CExtractManager::GetInstance() {
  static CExtractManager* instance = new CExtractManager;  // lives until the process ends
  return *instance;
}

int CExtractManager::SetProgressCallback(ExtractProgressCallback callback) {
  callback_ = callback;
  progressEnabled_ = true;
  return 0;
}

void CExtractManager::EnableProgress(bool enabled) { progressEnabled_ = enabled; }

void CExtractManager::SetDecoderThreads(uint32_t threads) { decoderThreads_ = threads; }

void CExtractManager::SetLibraryPath(const std::string& path) { libraryPath_ = qx::win::GbkToWide(path); }

std::wstring CExtractManager::GetLibraryPath() const { return libraryPath_; }

int32_t CExtractManager::Extract(const std::string& archivePath, const std::string& destination, int64_t searchStart,
                                 const std::string& password) {
  return Run(archivePath, destination, searchStart, password, false);
}

int32_t CExtractManager::Test(const std::string& archivePath, int64_t searchStart, const std::string& password) {
  return Run(archivePath, std::string(), searchStart, password, true);
}

int32_t CExtractManager::Run(const std::string& archivePath, const std::string& destination, int64_t searchStart,
                             const std::string& password, bool testOnly) {
  using namespace qx::payload;
  ::Sleep(200);
  const std::wstring libraryPath = GetLibraryPath();
  qx::win::DebugLogW(L"加载7z库,7z库文件地址为%s\n", libraryPath.c_str());

  // An empty path is a library that failed its integrity check: never load
  // whatever might stand in the work folder instead.
  qx::win::ScopedLibrary library;
  if (!libraryPath.empty()) library.Reset(::LoadLibraryW(libraryPath.c_str()));
  if (!library) {
    qx::win::DebugLogW(L"加载7z库失败，错误码%d\n", static_cast<int>(::GetLastError()));
    std::fputs("Error: Can not load 7-zip library\n", stdout);
    return kLibraryNotLoaded;
  }
  auto createObject =
      reinterpret_cast<Func_CreateObject>(reinterpret_cast<void*>(::GetProcAddress(library.Get(), "CreateObject")));
  if (!createObject) {
    qx::win::DebugLogW(L"获取7z库解压函数失败\n");
    std::fputs("Can not get CreateObject\n", stdout);
    return kNoCreateObject;
  }
  const std::wstring widePath = qx::win::AnsiToWide(archivePath);

  // Declared after the library so that every object goes before it is freed.
  CMyComPtr<IInArchive> archive;
  if (createObject(&kClsid7z, &IID_IInArchive, reinterpret_cast<void**>(&archive)) != S_OK || !archive) {
    qx::win::DebugLogW(L"获取7z库解压对象失败\n");
    std::fputs("Can not get class object\n", stdout);
    return kNoArchiveReader;
  }
  // Not the library's default of one thread per core: each costs memory.
  CMyComPtr<ISetProperties> properties;
  archive->QueryInterface(IID_ISetProperties, reinterpret_cast<void**>(&properties));
  if (properties) {
    const wchar_t* names[] = {L"mt"};
    PROPVARIANT threads;
    threads.vt = VT_UI4;
    threads.ulVal = decoderThreads_ ? decoderThreads_ : DefaultDecoderThreads(testOnly);
    properties->SetProperties(names, &threads, 1);
  }
  auto* fileSpec = new CInFileStream;
  CMyComPtr<IInStream> file(fileSpec);
  if (!fileSpec->Open(widePath)) {
    qx::win::DebugLogW(L"打开7z压缩包失败\n");
    std::printf("Can not open archive file %s\n", archivePath.c_str());
    return kArchiveFileNotOpened;
  }
  {
    CMyComPtr<IArchiveOpenCallback> openCallback(new CArchiveOpenCallback);
    if (searchStart > 0) file->Seek(searchStart, STREAM_SEEK_SET, nullptr);
    const UInt64 limit = kSignatureSearchLimit;
    if (archive->Open(file, &limit, openCallback) != S_OK) {
      qx::win::DebugLogW(L"打开7z压缩包中文件失败\n");
      std::printf("Can not open file as archive %s\n", archivePath.c_str());
      return kArchiveNotOpened;
    }
  }

  auto* callbackSpec = new CArchiveExtractCallback;
  CMyComPtr<IArchiveExtractCallback> callback(callbackSpec);
  const std::wstring wideDestination = qx::win::GbkToWide(destination);
  qx::win::DebugLogW(L"解压路径为%s\n", wideDestination.c_str());
  callbackSpec->Init(archive, wideDestination);
  if (!password.empty()) callbackSpec->SetPassword(BytesToCodeUnits(password));

  HRESULT result = archive->Extract(nullptr, static_cast<UInt32>(-1), testOnly ? 1 : 0, callback);
  // Files still being written belong to this extraction's result.
  const HRESULT written = callbackSpec->FinishWrites();
  if (result == S_OK) result = written;
  callbackSpec->FlushOutput();
  if (result != S_OK) {
    qx::win::DebugLogW(L"解压失败，返回错误为%ld\n", static_cast<long>(result));
    std::fputs("Extract Error\n", stdout);
    archive->Close();
    return kExtractFailed;
  }
  callbackSpec->FinishProgress();
  archive->Close();
  return kExtractOk;
}

int32_t ExtractPayload(const std::string& archivePath, const std::string& destination, int64_t searchStart) {
  return CExtractManager::GetInstance().Extract(archivePath, destination, searchStart, qx::payload::kPayloadPassword);
}
