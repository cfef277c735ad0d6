// Process-wide state of the install run: the main window the workers report
// to, and the once-flag of the post-extraction sequence. The sequences
// themselves are UI_HomePage::StartInstall and UI_Installing's
// StartExtract / RunPostExtraction (install_run.cpp).
#pragma once

#include <windows.h>

class UI_HomePage;

namespace qx::install {

// Recorded when the installing page is created; read by the workers.
void SetCurrentMainWindow(UI_HomePage* main);
UI_HomePage* CurrentMainWindow();
// The installing page's window of the current main window, or null: where
// the workers post their messages.
HWND InstallingPageWindow();

// False until the first 100 % event; never reset.
bool PostExtractionStarted();
void MarkPostExtractionStarted();

}  // namespace qx::install
