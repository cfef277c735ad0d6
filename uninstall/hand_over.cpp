#include "uninstall/hand_over.h"

#include <windows.h>

#include <vector>

#include "core/path.h"
#include "win/debug_log.h"

namespace qx::uninstall {
namespace {

// A fresh file of our own in the temporary folder (never one that was there).
std::wstring CopyOfSelf() {
  const std::wstring temp = TemporaryFolder(), self = OwnProgramPath();
  if (temp.empty() || self.empty()) return {};
  for (int attempt = 0; attempt < 100; ++attempt) {
    const std::wstring copy =
        temp + L"qx-uninstall-" + std::to_wstring(::GetCurrentProcessId()) + L"-" + std::to_wstring(attempt) + L".exe";
    if (::CopyFileW(self.c_str(), copy.c_str(), TRUE)) return copy;
    if (::GetLastError() != ERROR_FILE_EXISTS) return {};
  }
  return {};
}

uint64_t HandleNumber(HANDLE handle) { return static_cast<uint64_t>(reinterpret_cast<uintptr_t>(handle)); }

}  // namespace

std::wstring TemporaryFolder() {
  wchar_t buffer[MAX_PATH + 1] = {};
  const DWORD n = ::GetTempPathW(MAX_PATH + 1, buffer);
  return n > 0 && n <= MAX_PATH ? std::wstring(buffer, n) : std::wstring();
}

std::wstring OwnProgramPath() {
  std::vector<wchar_t> buffer(32768);
  const DWORD n = ::GetModuleFileNameW(nullptr, buffer.data(), static_cast<DWORD>(buffer.size()));
  return n > 0 && n < buffer.size() ? std::wstring(buffer.data(), n) : std::wstring();
}

int RunWorkerCopy(const std::wstring& folder, const std::wstring& originalProgram, bool silent) {
  const std::wstring copy = CopyOfSelf();
  if (copy.empty()) return kFailed;
  SECURITY_ATTRIBUTES inherited = {sizeof inherited, nullptr, TRUE};
  // Held by us until the worker runs, then by the worker alone.
  win::ScopedHandle deleteOnClose(::CreateFileW(copy.c_str(), DELETE | GENERIC_READ,
                                                FILE_SHARE_READ | FILE_SHARE_DELETE, &inherited, OPEN_EXISTING,
                                                FILE_FLAG_DELETE_ON_CLOSE, nullptr));
  if (!deleteOnClose.Valid()) {
    ::DeleteFileW(copy.c_str());
    return kFailed;
  }
  HANDLE readEnd = nullptr, writeEnd = nullptr;
  if (!::CreatePipe(&readEnd, &writeEnd, &inherited, 0)) return kFailed;
  win::ScopedHandle reader(readEnd), writer(writeEnd);
  ::SetHandleInformation(reader.Get(), HANDLE_FLAG_INHERIT, 0);
  win::ScopedHandle self;
  if (!::DuplicateHandle(::GetCurrentProcess(), ::GetCurrentProcess(), ::GetCurrentProcess(), self.Receive(),
                         SYNCHRONIZE | PROCESS_QUERY_LIMITED_INFORMATION, TRUE, 0))
    return kFailed;

  Arguments worker;
  worker.silent = silent;
  worker.folder = folder;
  worker.originalProgram = originalProgram;
  worker.originalProcess = HandleNumber(self.Get());
  worker.resultPipe = HandleNumber(writer.Get());
  std::wstring line = WorkerCommandLine(copy, worker);
  STARTUPINFOW startup = {};
  startup.cb = sizeof startup;
  PROCESS_INFORMATION process = {};
  // The worker's current folder is the temporary one: a process's current
  // folder cannot be removed, and the install folder must go.
  const std::wstring temp = TemporaryFolder();
  if (!::CreateProcessW(copy.c_str(), line.data(), nullptr, nullptr, TRUE, 0, nullptr, temp.c_str(), &startup,
                        &process)) {
    win::DebugLogW(L"uninstall: the worker did not start (%lu)\n", ::GetLastError());
    return kFailed;  // closing the handle deletes the copy
  }
  win::ScopedHandle thread(process.hThread), child(process.hProcess);
  deleteOnClose.Reset();
  writer.Reset();  // the worker holds the only writer: its end ends our read
  int code = kFailed;
  DWORD read = 0;
  if (!::ReadFile(reader.Get(), &code, sizeof code, &read, nullptr) || read != sizeof code) code = kFailed;
  return code;
}

Original::Original(const Arguments& args) {
  HANDLE pipe = reinterpret_cast<HANDLE>(static_cast<uintptr_t>(args.resultPipe));
  HANDLE process = reinterpret_cast<HANDLE>(static_cast<uintptr_t>(args.originalProcess));
  if (::GetFileType(pipe) == FILE_TYPE_PIPE) pipe_.Reset(pipe);
  const DWORD id = ::GetProcessId(process);
  if (id != 0 && id != ::GetCurrentProcessId()) process_.Reset(process);
}

void Original::ReportResult(int code) {
  if (!pipe_.Valid()) return;
  DWORD written = 0;
  ::WriteFile(pipe_.Get(), &code, sizeof code, &written, nullptr);
  pipe_.Reset();
}

bool Original::WaitForEnd(unsigned long milliseconds) {
  return process_.Valid() && ::WaitForSingleObject(process_.Get(), milliseconds) == WAIT_OBJECT_0;
}

}  // namespace qx::uninstall
