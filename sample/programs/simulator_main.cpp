// The product's main program: one small window until the user closes it.
#include <windows.h>

#include "sample/programs/program_support.h"
#include "win/debug_log.h"

namespace {

constexpr wchar_t kWindowClass[] = L"QXSimulatorSampleWindow";

LRESULT CALLBACK WindowProc(HWND window, UINT message, WPARAM wParam, LPARAM lParam) {
  switch (message) {
    case WM_PAINT: {
      PAINTSTRUCT paint;
      HDC dc = ::BeginPaint(window, &paint);
      RECT client;
      ::GetClientRect(window, &client);
      HGDIOBJ oldFont = ::SelectObject(dc, ::GetStockObject(DEFAULT_GUI_FONT));
      ::SetBkMode(dc, TRANSPARENT);
      ::DrawTextW(dc, L"岚舟模拟器 已启动", -1, &client, DT_CENTER | DT_VCENTER | DT_SINGLELINE);
      ::SelectObject(dc, oldFont);
      ::EndPaint(window, &paint);
      return 0;
    }
    case WM_DESTROY:
      ::PostQuitMessage(0);
      return 0;
  }
  return ::DefWindowProcW(window, message, wParam, lParam);
}

}  // namespace

int WINAPI WinMain(HINSTANCE instance, HINSTANCE, LPSTR, int showCommand) {
  WNDCLASSEXW windowClass = {};
  windowClass.cbSize = sizeof windowClass;
  windowClass.lpfnWndProc = WindowProc;
  windowClass.hInstance = instance;
  windowClass.hCursor = ::LoadCursorW(nullptr, reinterpret_cast<LPCWSTR>(IDC_ARROW));
  windowClass.hIcon = ::LoadIconW(nullptr, reinterpret_cast<LPCWSTR>(IDI_APPLICATION));
  windowClass.hbrBackground = reinterpret_cast<HBRUSH>(COLOR_WINDOW + 1);
  windowClass.lpszClassName = kWindowClass;
  if (!::RegisterClassExW(&windowClass)) return qx::sample::kFailedExit;
  HWND window = ::CreateWindowExW(0, kWindowClass, L"岚舟模拟器", WS_OVERLAPPEDWINDOW, CW_USEDEFAULT, CW_USEDEFAULT,
                                  480, 300, nullptr, nullptr, instance, nullptr);
  if (!window) return qx::sample::kFailedExit;
  ::ShowWindow(window, showCommand);
  ::UpdateWindow(window);
  // Logged once the window exists: the line means the product is up.
  if (!qx::sample::AppendRunLog()) qx::win::DebugLog("QXSimulator: the run log could not be written");

  MSG message = {};
  while (::GetMessageW(&message, nullptr, 0, 0) > 0) {
    ::TranslateMessage(&message);
    ::DispatchMessageW(&message);
  }
  return static_cast<int>(message.wParam);
}
