// The VMware Workstation prerequisite: stopping its programs, deciding
// whether its setup must run, running that setup silently on a worker
// thread, and removing the setup files afterwards.
#pragma once

#include <windows.h>

#include <string>

namespace qx::install {

// Ends vmware-vmx.exe, vmware.exe and vmplayer.exe where running, then
// waits 200 ms.
void StopVMwareProcesses();

// True unless VMware Workstation 14 is installed (App Paths entry present
// and ProductVersion's major number 14).
bool VMwareNeeded();

// Before the setup runs: ends vmware-vmx.exe and vmware.exe, waits 200 ms.
void StopVMwareForSetup();

// Starts a detached worker that writes install folder\Vmware.bat, runs it
// hidden, waits for it without a time limit and posts WM_VMWARE_SETUP_DONE
// to the window that reportWindow names at that moment. Returns at once.
void StartPrerequisiteWorker(const std::string& installFolder, HWND (*reportWindow)());

// Deletes install folder\Vmware.bat and \Vmware14.exe; failures are ignored.
void RemoveVMwareSetupFiles(const std::string& installFolder);

}  // namespace qx::install
