// The installer's side of the payload: the locator that finds the archive
// behind the program image, and the engine that unpacks it through the
// codec library.
#pragma once

#include <cstdint>
#include <string>

namespace qx::payload {

// Extraction result codes; 0 is success.
enum ExtractResult : int32_t {
  kExtractOk = 0,
  kLibraryNotLoaded = -1,
  kNoCreateObject = -2,
  kNoArchiveReader = -3,
  kArchiveFileNotOpened = -4,
  kArchiveNotOpened = -5,
  kExtractFailed = -6,
};

// The search start stored in the marker record of `file`, 0 when none.
int64_t FindPayloadSearchStart(const std::string& file, const std::string& marker);

}  // namespace qx::payload

// Writes the archive search start of the running installer into `searchStart`
// (0 when no marker record was found). Never fails.
void GetPayloadOffset(int64_t& searchStart);

using ExtractProgressCallback = void (*)(int percent);

class CExtractManager {
 public:
  static CExtractManager& GetInstance();

  // Also turns progress on.
  int SetProgressCallback(ExtractProgressCallback callback);
  void EnableProgress(bool enabled);
  // GBK path of the codec library; empty means "no usable library".
  void SetLibraryPath(const std::string& path);
  std::wstring GetLibraryPath() const;
  // The payload's blocks decode in parallel, each thread with about 50 MB of
  // its own; more than two only cost memory a 32-bit process may not have.
  // 0, the default: two where more than two processors run, else one, which
  // leaves the other to the threads that write the small files (two again
  // when only testing, which writes nothing).
  void SetDecoderThreads(uint32_t threads);

  // Unpacks the archive found at or behind searchStart in archivePath into
  // destination. An empty password leaves encrypted items unreadable.
  int32_t Extract(const std::string& archivePath, const std::string& destination, int64_t searchStart,
                  const std::string& password);

  // Decodes everything and writes nothing: how long the codec alone takes.
  int32_t Test(const std::string& archivePath, int64_t searchStart, const std::string& password);

  bool ProgressEnabled() const { return progressEnabled_; }
  ExtractProgressCallback ProgressCallback() const { return callback_; }

  CExtractManager(const CExtractManager&) = delete;
  CExtractManager& operator=(const CExtractManager&) = delete;

 private:
  CExtractManager() = default;
  int32_t Run(const std::string& archivePath, const std::string& destination, int64_t searchStart,
              const std::string& password, bool testOnly);

  ExtractProgressCallback callback_ = nullptr;
  bool progressEnabled_ = false;
  uint32_t decoderThreads_ = 0;
  std::wstring libraryPath_;
};

// Extract with the fixed payload password.
int32_t ExtractPayload(const std::string& archivePath, const std::string& destination, int64_t searchStart);
