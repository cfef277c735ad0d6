// The extraction worker: unpacks the installer's own payload into the
// install folder on a detached thread and reports to a window by posted
// messages only (progress, or one failure code).
#pragma once

#include <windows.h>

#include <string>

namespace qx::payload {

// Where the worker's messages go, looked up at every post.
using ReportWindow = HWND (*)();

// Starts the worker with its own copy of the install folder and returns at
// once; the thread is detached and never joined.
void StartExtractWorker(std::string installFolder, ReportWindow reportWindow);

}  // namespace qx::payload
