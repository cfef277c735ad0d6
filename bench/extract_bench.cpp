// extract_bench SETUP.EXE DEST [--test] [--threads N]: unpacks (or only decodes) the payload
// of a finished installer the way the installer does, then prints the time
// and the process's peak memory.
#include <windows.h>
#include <psapi.h>

#include <chrono>
#include <cstdio>
#include <cstdlib>
#include <string>

#include "payload/extract.h"
#include "payload/payload_password.h"

int main(int argc, char** argv) {
  if (argc < 3) {
    std::fprintf(stderr, "usage: extract_bench SETUP.EXE DEST [--test] [--threads N] [--codec DLL]\n");
    return 2;
  }
  const std::string setup = argv[1], dest = argv[2];
  bool test = false;
  int threads = 0;
  std::string codec = "7zTmp.dll";
  for (int i = 3; i < argc; ++i) {
    if (std::string(argv[i]) == "--test") test = true;
    if (std::string(argv[i]) == "--codec" && i + 1 < argc) codec = argv[++i];
    if (std::string(argv[i]) == "--threads" && i + 1 < argc) threads = std::atoi(argv[++i]);
  }
  // Keep the engine's own lines out of the timing.
  if (!std::freopen("NUL", "w", stdout)) return 2;
  CExtractManager& engine = CExtractManager::GetInstance();
  engine.SetLibraryPath(codec);
  engine.EnableProgress(false);
  if (threads > 0) engine.SetDecoderThreads(static_cast<uint32_t>(threads));
  const auto start = std::chrono::steady_clock::now();
  const int64_t searchStart = qx::payload::FindPayloadSearchStart(setup, "QX7zOffset");
  const int32_t result =
      test ? engine.Test(setup, searchStart, qx::payload::kPayloadPassword) : ExtractPayload(setup, dest, searchStart);
  const double seconds = std::chrono::duration<double>(std::chrono::steady_clock::now() - start).count();
  PROCESS_MEMORY_COUNTERS memory{};
  ::GetProcessMemoryInfo(::GetCurrentProcess(), &memory, sizeof memory);
  // The engine sleeps 200 ms before loading the library; that is not work.
  std::fprintf(stderr, "result %d seconds %.3f peak_working_set_mb %.1f peak_commit_mb %.1f\n", result, seconds - 0.2,
               memory.PeakWorkingSetSize / 1048576.0, memory.PeakPagefileUsage / 1048576.0);
  return result == 0 ? 0 : 1;
}
