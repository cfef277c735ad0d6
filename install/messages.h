// The install run's window messages and timers, all on the installing
// page's window. lParam is always 0.
#pragma once

namespace qx::install {

inline constexpr unsigned WM_INSTALL_PROGRESS = 0x0635;   // wParam: whole percent
inline constexpr unsigned WM_VMWARE_SETUP_DONE = 0x0636;  // wParam: 0
inline constexpr unsigned WM_EXTRACT_FAILED = 0x0637;     // wParam: result code -1..-6

inline constexpr unsigned TIMER_LOADING = 1;        // 2000 ms, the loading picture
inline constexpr unsigned TIMER_VMWARE_STATUS = 2;  // 500 ms, the prerequisite's status text
inline constexpr unsigned TIMER_INSTALL_STEP = 3;   // one step of the run per tick

}  // namespace qx::install
