#include "payload/extract_worker.h"

#include <atomic>
#include <cstdint>
#include <thread>

#include "install/messages.h"
#include "payload/extract.h"

namespace qx::payload {
namespace {

// Set before the worker starts; the progress callback is a plain function.
std::atomic<ReportWindow> g_reportWindow{nullptr};

void Post(UINT message, WPARAM wParam) {
  const ReportWindow window = g_reportWindow.load();
  if (HWND hwnd = window ? window() : nullptr) ::PostMessageA(hwnd, message, wParam, 0);
}

void OnExtractProgress(int percent) { Post(install::WM_INSTALL_PROGRESS, static_cast<WPARAM>(percent)); }

void ExtractThreadProc(const std::string& installFolder) {
  CExtractManager::GetInstance().SetProgressCallback(OnExtractProgress);
  char executable[MAX_PATH] = {};
  ::GetModuleFileNameA(nullptr, executable, MAX_PATH);
  int64_t searchStart = 0;
  GetPayloadOffset(searchStart);
  const int32_t result = ExtractPayload(executable, installFolder, searchStart);
  // Success posts nothing more: the last progress event (100) said it.
  if (result != kExtractOk) Post(install::WM_EXTRACT_FAILED, static_cast<WPARAM>(static_cast<intptr_t>(result)));
}

}  // namespace

void StartExtractWorker(std::string installFolder, ReportWindow reportWindow) {
  g_reportWindow.store(reportWindow);
  std::thread(ExtractThreadProc, std::move(installFolder)).detach();
}

}  // namespace qx::payload
