// Native windows under the pages: creation, the modal loop, centring, and
// the page base class with its default message handling.
#include "dui/dui.h"

namespace DuiLib {

namespace {
bool g_layered = false;
}

bool CWndShadow::Initialize(HINSTANCE instance) {
  auto update = ::GetProcAddress(::GetModuleHandleA("USER32.DLL"), "UpdateLayeredWindow");
  if (!update) return false;
  WNDCLASSEXA wc = {};
  wc.cbSize = sizeof(wc);
  wc.style = CS_VREDRAW | CS_HREDRAW;
  wc.lpfnWndProc = ::DefWindowProcA;
  wc.hInstance = instance;
  wc.hCursor = ::LoadCursor(nullptr, IDC_ARROW);
  wc.lpszClassName = "DuiShadowWnd";
  if (!::RegisterClassExA(&wc) && ::GetLastError() != ERROR_CLASS_ALREADY_EXISTS) return false;
  g_layered = true;
  return true;
}

bool CWndShadow::IsLayeredSupported() { return g_layered; }

// ---------------------------------------------------------------- CWindowWnd

HWND CWindowWnd::Create(HWND parent, const char* name, DWORD style, DWORD exStyle, int x, int y, int cx, int cy,
                        HMENU menu) {
  WNDCLASSA wc = {};
  wc.style = GetClassStyle();
  wc.lpfnWndProc = WindowProc;
  wc.hInstance = CPaintManagerUI::GetInstance();
  wc.hCursor = ::LoadCursor(nullptr, IDC_ARROW);
  wc.lpszClassName = GetWindowClassName();
  if (!::RegisterClassA(&wc) && ::GetLastError() != ERROR_CLASS_ALREADY_EXISTS) return nullptr;
  return ::CreateWindowExA(exStyle, GetWindowClassName(), name, style, x, y, cx, cy, parent, menu,
                           CPaintManagerUI::GetInstance(), this);
}

LRESULT CALLBACK CWindowWnd::WindowProc(HWND hwnd, UINT msg, WPARAM wParam, LPARAM lParam) {
  CWindowWnd* self = nullptr;
  if (msg == WM_NCCREATE) {
    self = static_cast<CWindowWnd*>(reinterpret_cast<CREATESTRUCTA*>(lParam)->lpCreateParams);
    self->window_ = hwnd;
    ::SetWindowLongPtrA(hwnd, GWLP_USERDATA, reinterpret_cast<LONG_PTR>(self));
  } else {
    self = reinterpret_cast<CWindowWnd*>(::GetWindowLongPtrA(hwnd, GWLP_USERDATA));
  }
  if (!self) return ::DefWindowProcA(hwnd, msg, wParam, lParam);
  if (msg == WM_NCDESTROY) {
    LRESULT result = self->HandleMessage(msg, wParam, lParam);
    ::SetWindowLongPtrA(hwnd, GWLP_USERDATA, 0);
    self->window_ = nullptr;
    self->OnFinalMessage(hwnd);
    return result;
  }
  return self->HandleMessage(msg, wParam, lParam);
}

LRESULT CWindowWnd::HandleMessage(UINT msg, WPARAM wParam, LPARAM lParam) {
  return ::DefWindowProcA(window_, msg, wParam, lParam);
}

void CWindowWnd::ShowWindow(bool show, bool takeFocus) {
  if (!::IsWindow(window_)) return;
  ::ShowWindow(window_, show ? (takeFocus ? SW_SHOWNORMAL : SW_SHOWNOACTIVATE) : SW_HIDE);
}

UINT CWindowWnd::ShowModal() {
  UINT result = 0;
  HWND owner = ::GetWindow(window_, GW_OWNER);
  ::ShowWindow(window_, SW_SHOWNORMAL);
  if (owner) ::EnableWindow(owner, FALSE);
  MSG msg = {};
  while (::IsWindow(window_) && ::GetMessageA(&msg, nullptr, 0, 0)) {
    if (msg.hwnd == window_ && msg.message == WM_CLOSE) {
      result = static_cast<UINT>(msg.wParam);
      if (owner) ::EnableWindow(owner, TRUE);
    }
    if (!CPaintManagerUI::TranslateMessage(&msg)) {
      ::TranslateMessage(&msg);
      ::DispatchMessageA(&msg);
    }
  }
  if (owner) ::EnableWindow(owner, TRUE);
  if (msg.message == WM_QUIT) ::PostQuitMessage(static_cast<int>(msg.wParam));
  return result;
}

void CWindowWnd::Close(UINT ret) {
  if (::IsWindow(window_)) ::PostMessageA(window_, WM_CLOSE, ret, 0);
}

void CWindowWnd::CenterWindow() {
  RECT window;
  ::GetWindowRect(window_, &window);
  HWND owner = ::GetWindow(window_, GW_OWNER);
  MONITORINFO monitor = {};
  monitor.cbSize = sizeof(monitor);
  ::GetMonitorInfoA(::MonitorFromWindow(owner ? owner : window_, MONITOR_DEFAULTTONEAREST), &monitor);
  RECT area = monitor.rcWork;
  RECT center = area;
  if (owner && !::IsIconic(owner)) ::GetWindowRect(owner, &center);
  int w = window.right - window.left, h = window.bottom - window.top;
  int x = (center.left + center.right) / 2 - w / 2;
  int y = (center.top + center.bottom) / 2 - h / 2;
  if (x < area.left) {
    x = area.left;
  } else if (x + w > area.right) {
    x = area.right - w;
  }
  if (y < area.top) {
    y = area.top;
  } else if (y + h > area.bottom) {
    y = area.bottom - h;
  }
  ::SetWindowPos(window_, nullptr, x, y, -1, -1, SWP_NOSIZE | SWP_NOZORDER | SWP_NOACTIVATE);
}

LRESULT CWindowWnd::SendMessage(UINT msg, WPARAM wParam, LPARAM lParam) {
  return ::SendMessageA(window_, msg, wParam, lParam);
}

// ------------------------------------------------------------ WindowImplBase

void WindowImplBase::Notify(TNotifyUI& msg) {
  if (msg.sType == L"click") OnClick(msg);
}

void WindowImplBase::OnClick(TNotifyUI& msg) {
  const std::wstring& name = msg.pSender->GetName();
  if (name == L"closebtn") {
    Close(1);
  } else if (name == L"minbtn") {
    SendMessage(WM_SYSCOMMAND, SC_MINIMIZE, 0);
  } else if (name == L"maxbtn") {
    SendMessage(WM_SYSCOMMAND, SC_MAXIMIZE, 0);
  } else if (name == L"restorebtn") {
    SendMessage(WM_SYSCOMMAND, SC_RESTORE, 0);
  }
}

LRESULT WindowImplBase::MessageHandler(UINT msg, WPARAM wParam, LPARAM, bool& handled) {
  if (msg == WM_KEYDOWN && (wParam == VK_ESCAPE || wParam == VK_RETURN)) {
    LRESULT result = ResponseDefaultKeyEvent(wParam);
    handled = result != FALSE;
    return result;
  }
  return 0;
}

LRESULT WindowImplBase::ResponseDefaultKeyEvent(WPARAM wParam) {
  if (wParam == VK_ESCAPE) {
    Close(1);
    return TRUE;
  }
  return FALSE;
}

void WindowImplBase::OnFinalMessage(HWND) {
  paintManager_.RemovePreMessageFilter(this);
  paintManager_.RemoveNotifier(this);
}

LRESULT WindowImplBase::OnClose(UINT, WPARAM, LPARAM, BOOL& handled) {
  handled = FALSE;
  return 0;
}

LRESULT WindowImplBase::OnDestroy(UINT, WPARAM, LPARAM, BOOL& handled) {
  handled = FALSE;
  return 0;
}

LRESULT WindowImplBase::OnNcActivate(UINT, WPARAM wParam, LPARAM, BOOL& handled) {
  if (::IsIconic(window_)) handled = FALSE;
  return wParam == 0 ? TRUE : FALSE;
}

LRESULT WindowImplBase::OnNcCalcSize(UINT, WPARAM, LPARAM, BOOL&) { return 0; }

LRESULT WindowImplBase::OnNcPaint(UINT, WPARAM, LPARAM, BOOL&) { return 0; }

LRESULT WindowImplBase::OnNcHitTest(UINT, WPARAM, LPARAM lParam, BOOL&) {
  POINT pt = {static_cast<short>(LOWORD(lParam)), static_cast<short>(HIWORD(lParam))};
  ::ScreenToClient(window_, &pt);
  RECT client;
  ::GetClientRect(window_, &client);
  const RECT& caption = paintManager_.GetCaptionRect();
  if (pt.x >= client.left + caption.left && pt.x < client.right - caption.right && pt.y >= caption.top &&
      pt.y < caption.bottom) {
    CControlUI* root = paintManager_.GetRoot();
    CControlUI* hit = root ? root->FindControlAt(pt) : nullptr;
    if (!hit) return HTCAPTION;
  }
  return HTCLIENT;
}

LRESULT WindowImplBase::OnGetMinMaxInfo(UINT, WPARAM, LPARAM lParam, BOOL& handled) {
  MONITORINFO monitor = {};
  monitor.cbSize = sizeof(monitor);
  ::GetMonitorInfoA(::MonitorFromWindow(window_, MONITOR_DEFAULTTONEAREST), &monitor);
  auto* info = reinterpret_cast<MINMAXINFO*>(lParam);
  info->ptMaxPosition = {monitor.rcWork.left - monitor.rcMonitor.left, monitor.rcWork.top - monitor.rcMonitor.top};
  info->ptMaxSize = {monitor.rcWork.right - monitor.rcWork.left, monitor.rcWork.bottom - monitor.rcWork.top};
  handled = FALSE;
  return 0;
}

LRESULT WindowImplBase::OnSysCommand(UINT, WPARAM wParam, LPARAM, BOOL& handled) {
  if ((wParam & 0xFFF0) == SC_CLOSE) {
    SendMessage(WM_CLOSE, 0, 0);
    return 0;
  }
  handled = FALSE;
  return 0;
}

LRESULT WindowImplBase::OnCreate(UINT, WPARAM, LPARAM, BOOL&) {
  LONG style = ::GetWindowLongA(window_, GWL_STYLE);
  style = (style & ~WS_CAPTION) | WS_CLIPSIBLINGS | WS_CLIPCHILDREN;
  ::SetWindowLongA(window_, GWL_STYLE, style);
  RECT rc;
  ::GetClientRect(window_, &rc);
  ::SetWindowPos(window_, nullptr, rc.left, rc.top, rc.right - rc.left, rc.bottom - rc.top, SWP_FRAMECHANGED);
  paintManager_.Init(window_);
  paintManager_.AddPreMessageFilter(this);
  if (CPaintManagerUI::GetResourcePath().empty())
    CPaintManagerUI::SetResourcePath(CPaintManagerUI::GetInstancePath() + GetSkinFolder());
  CDialogBuilder builder;
  CControlUI* root = builder.Create(GetSkinFile(), this, &paintManager_);
  paintManager_.AttachDialog(root);
  paintManager_.AddNotifier(this);
  InitWindow();
  return 0;
}

LRESULT WindowImplBase::HandleMessage(UINT msg, WPARAM wParam, LPARAM lParam) {
  LRESULT result = 0;
  BOOL handled = TRUE;
  switch (msg) {
    case WM_CREATE:
      result = OnCreate(msg, wParam, lParam, handled);
      break;
    case WM_CLOSE:
      result = OnClose(msg, wParam, lParam, handled);
      break;
    case WM_DESTROY:
      result = OnDestroy(msg, wParam, lParam, handled);
      break;
    case WM_NCACTIVATE:
      result = OnNcActivate(msg, wParam, lParam, handled);
      break;
    case WM_NCCALCSIZE:
      result = OnNcCalcSize(msg, wParam, lParam, handled);
      break;
    case WM_NCPAINT:
      result = OnNcPaint(msg, wParam, lParam, handled);
      break;
    case WM_NCHITTEST:
      result = OnNcHitTest(msg, wParam, lParam, handled);
      break;
    case WM_GETMINMAXINFO:
      result = OnGetMinMaxInfo(msg, wParam, lParam, handled);
      break;
    case WM_SYSCOMMAND:
      result = OnSysCommand(msg, wParam, lParam, handled);
      break;
    default:
      handled = FALSE;
      break;
  }
  if (handled) return result;
  if (paintManager_.MessageHandler(msg, wParam, lParam, result)) return result;
  return CWindowWnd::HandleMessage(msg, wParam, lParam);
}

}  // namespace DuiLib
