// The paint manager: the skin zip, layouts into controls, fonts, images,
// double-buffered painting and mouse dispatch.
#include <algorithm>
#include <cstring>

#include "dui/dui.h"
#include "dui/layout.h"
#include "dui/zip_archive.h"
#include "win/debug_log.h"
#include "win/text_convert.h"

namespace DuiLib {
namespace {

HINSTANCE g_instance = nullptr;
std::wstring g_resourcePath;
std::wstring g_zipName;
std::optional<qx::dui::ZipArchive> g_zip;
std::vector<CPaintManagerUI*> g_managers;

// A BMP file as a 32-bit top-down premultiplied DIB; mask pixels become clear.
HBITMAP DecodeBmp(const std::string& bytes, const std::optional<uint32_t>& mask, SIZE& size) {
  if (bytes.size() < sizeof(BITMAPFILEHEADER) + sizeof(BITMAPINFOHEADER) || bytes[0] != 'B' || bytes[1] != 'M')
    return nullptr;
  BITMAPFILEHEADER file;
  std::memcpy(&file, bytes.data(), sizeof(file));
  const auto* info = reinterpret_cast<const BITMAPINFO*>(bytes.data() + sizeof(BITMAPFILEHEADER));
  BITMAPINFOHEADER header;
  std::memcpy(&header, info, sizeof(header));
  if (header.biWidth <= 0 || header.biHeight == 0 || header.biWidth > 8192 || header.biHeight > 8192 ||
      header.biHeight < -8192 || file.bfOffBits >= bytes.size())
    return nullptr;
  int width = header.biWidth;
  int height = header.biHeight < 0 ? -header.biHeight : header.biHeight;
  size_t stride = ((static_cast<size_t>(width) * header.biBitCount + 31) / 32) * 4;
  if (header.biCompression == BI_RGB && bytes.size() - file.bfOffBits < stride * height) return nullptr;

  BITMAPINFO target{};
  target.bmiHeader.biSize = sizeof(BITMAPINFOHEADER);
  target.bmiHeader.biWidth = width;
  target.bmiHeader.biHeight = -height;
  target.bmiHeader.biPlanes = 1;
  target.bmiHeader.biBitCount = 32;
  target.bmiHeader.biCompression = BI_RGB;
  void* bits = nullptr;
  HBITMAP bitmap = ::CreateDIBSection(nullptr, &target, DIB_RGB_COLORS, &bits, nullptr, 0);
  if (!bitmap) return nullptr;
  auto* pixels = static_cast<uint32_t*>(bits);
  const char* source = bytes.data() + file.bfOffBits;
  bool hasAlpha = false;
  if (header.biBitCount == 32 && header.biCompression == BI_RGB) {
    for (int y = 0; y < height; ++y) {
      int row = header.biHeight > 0 ? height - 1 - y : y;
      std::memcpy(pixels + static_cast<size_t>(y) * width, source + row * stride, static_cast<size_t>(width) * 4);
    }
    for (size_t i = 0; i < static_cast<size_t>(width) * height; ++i) hasAlpha = hasAlpha || (pixels[i] >> 24);
  } else {
    // GDI converts every other format (palettes, 16 and 24 bits, RLE).
    HDC dc = ::CreateCompatibleDC(nullptr);
    HGDIOBJ old = ::SelectObject(dc, bitmap);
    ::SetDIBitsToDevice(dc, 0, 0, width, height, 0, 0, 0, height, source, info, DIB_RGB_COLORS);
    ::GdiFlush();
    ::SelectObject(dc, old);
    ::DeleteDC(dc);
  }
  uint32_t maskRgb = mask ? (*mask & 0x00FFFFFF) : 0;
  for (size_t i = 0; i < static_cast<size_t>(width) * height; ++i) {
    uint32_t p = pixels[i];
    if (mask && (p & 0x00FFFFFF) == maskRgb) {
      pixels[i] = 0;
    } else if (!hasAlpha) {
      pixels[i] = p | 0xFF000000u;
    } else {
      uint32_t a = p >> 24;
      uint32_t r = ((p >> 16) & 0xFF) * a / 255, g = ((p >> 8) & 0xFF) * a / 255, b = (p & 0xFF) * a / 255;
      pixels[i] = (a << 24) | (r << 16) | (g << 8) | b;
    }
  }
  size = {width, height};
  return bitmap;
}

void Blend(HDC hdc, HBITMAP bitmap, const RECT& dest, const RECT& src) {
  HDC mem = ::CreateCompatibleDC(hdc);
  HGDIOBJ old = ::SelectObject(mem, bitmap);
  BLENDFUNCTION blend = {AC_SRC_OVER, 0, 255, AC_SRC_ALPHA};
  ::GdiAlphaBlend(hdc, dest.left, dest.top, dest.right - dest.left, dest.bottom - dest.top, mem, src.left, src.top,
                  src.right - src.left, src.bottom - src.top, blend);
  ::SelectObject(mem, old);
  ::DeleteDC(mem);
}

bool ReadFileW(const std::wstring& path, std::string& out) {
  HANDLE file = ::CreateFileW(path.c_str(), GENERIC_READ, FILE_SHARE_READ, nullptr, OPEN_EXISTING, 0, nullptr);
  if (file == INVALID_HANDLE_VALUE) return false;
  DWORD size = ::GetFileSize(file, nullptr);
  bool ok = size != INVALID_FILE_SIZE && size < (64u << 20);
  if (ok) {
    out.resize(size);
    DWORD read = 0;
    ok = ::ReadFile(file, out.data(), size, &read, nullptr) && read == size;
  }
  ::CloseHandle(file);
  return ok;
}

CControlUI* NewControl(std::string_view type) {
  if (type == "VerticalLayout") return new CVerticalLayoutUI;
  if (type == "HorizontalLayout") return new CHorizontalLayoutUI;
  if (type == "TabLayout") return new CTabLayoutUI;
  if (type == "Container") return new CContainerUI;
  if (type == "Button") return new CButtonUI;
  if (type == "Option") return new COptionUI;
  if (type == "Label" || type == "Text") return new CLabelUI;
  if (type == "Edit") return new CEditUI;
  if (type == "RichEdit") return new CRichEditUI;
  if (type == "Progress") return new CProgressUI;
  if (type == "Control") return new CControlUI;
  return nullptr;
}

CControlUI* BuildControl(const qx::dui::LayoutNode& node, IDialogBuilderCallback* callback, CPaintManagerUI* manager) {
  CControlUI* control = NewControl(node.type);
  if (!control && callback) control = callback->CreateControl(qx::win::Utf8ToWide(node.type));
  if (!control) {
    qx::win::DebugLog("layout: unknown control %s\n", node.type.c_str());
    return nullptr;
  }
  // Attributes in document order: a repeated one overrides the earlier.
  for (const auto& [name, value] : node.attributes) control->SetAttribute(name, value);
  control->SetManager(manager);
  if (auto* container = dynamic_cast<CContainerUI*>(control)) {
    for (const auto& child : node.children) {
      if (CControlUI* item = BuildControl(child, callback, manager)) {
        item->SetParent(container);
        container->Add(item);
      }
    }
  }
  return control;
}

}  // namespace

// -------------------------------------------------------------- set-up

void CPaintManagerUI::SetInstance(HINSTANCE instance) { g_instance = instance; }
HINSTANCE CPaintManagerUI::GetInstance() { return g_instance; }

std::wstring CPaintManagerUI::GetInstancePath() {
  wchar_t path[MAX_PATH] = {};
  ::GetModuleFileNameW(g_instance, path, MAX_PATH);
  std::wstring p = path;
  size_t slash = p.find_last_of(L'\\');
  return slash == std::wstring::npos ? std::wstring() : p.substr(0, slash + 1);
}

void CPaintManagerUI::SetResourcePath(std::wstring path) { g_resourcePath = std::move(path); }
const std::wstring& CPaintManagerUI::GetResourcePath() { return g_resourcePath; }
const std::wstring& CPaintManagerUI::GetResourceZip() { return g_zipName; }

void CPaintManagerUI::SetResourceZip(const void* data, size_t size) {
  if (g_zipName == L"membuffer") return;
  g_zipName = L"membuffer";
  g_zip = qx::dui::ZipArchive::Open(data, size);
  if (!g_zip) qx::win::DebugLog("skin: the resource zip cannot be read\n");
}

bool CPaintManagerUI::LoadResourceFile(std::wstring_view name, std::string& out) {
  if (!g_zipName.empty()) {
    if (!g_zip) return false;
    const qx::dui::ZipEntry* entry = g_zip->Find(qx::win::WideToUtf8(name));
    return entry && g_zip->Extract(*entry, out);
  }
  return ReadFileW(g_resourcePath + std::wstring(name), out);
}

bool CPaintManagerUI::TranslateMessage(const MSG* msg) {
  // The filters of the window the message is for, or of one that holds it
  // (the keys of a native control go to the page around it).
  for (HWND w = msg->hwnd; w; w = ::GetParent(w)) {
    for (CPaintManagerUI* manager : g_managers) {
      if (manager->window_ != w) continue;
      for (IMessageFilterUI* filter : std::vector(manager->preFilters_)) {
        bool handled = false;
        filter->MessageHandler(msg->message, msg->wParam, msg->lParam, handled);
        if (handled) return true;
      }
    }
  }
  return false;
}

// -------------------------------------------------------------- instance

CPaintManagerUI::~CPaintManagerUI() {
  std::erase(g_managers, this);
  if (root_ && root_->GetManager() == this) delete root_;
  for (auto& [id, font] : fonts_) ::DeleteObject(font);
  if (defaultFont_) ::DeleteObject(defaultFont_);
  for (auto& [file, image] : images_) ::DeleteObject(image.bitmap);
}

void CPaintManagerUI::Init(HWND window) {
  window_ = window;
  if (std::find(g_managers.begin(), g_managers.end(), this) == g_managers.end()) g_managers.push_back(this);
}

bool CPaintManagerUI::AttachDialog(CControlUI* root) {
  if (!root) return false;
  root_ = root;
  root_->SetManager(this);
  root_->ForEach([this](CControlUI* c) { RegisterName(c); });
  Relayout();
  return true;
}

void CPaintManagerUI::RegisterName(CControlUI* control) {
  if (!control->GetName().empty()) names_.emplace(control->GetName(), control);
}

CControlUI* CPaintManagerUI::FindControl(std::wstring_view name) const {
  auto it = names_.find(name);
  return it == names_.end() ? nullptr : it->second;
}

bool CPaintManagerUI::AddNotifier(INotifyUI* notifier) {
  if (std::find(notifiers_.begin(), notifiers_.end(), notifier) != notifiers_.end()) return false;
  notifiers_.push_back(notifier);
  return true;
}

bool CPaintManagerUI::RemoveNotifier(INotifyUI* notifier) { return std::erase(notifiers_, notifier) > 0; }

bool CPaintManagerUI::AddPreMessageFilter(IMessageFilterUI* filter) {
  if (std::find(preFilters_.begin(), preFilters_.end(), filter) != preFilters_.end()) return false;
  preFilters_.push_back(filter);
  return true;
}

bool CPaintManagerUI::RemovePreMessageFilter(IMessageFilterUI* filter) { return std::erase(preFilters_, filter) > 0; }

void CPaintManagerUI::SendNotify(CControlUI* control, std::wstring type) {
  TNotifyUI msg;
  msg.sType = std::move(type);
  msg.pSender = control;
  if (!control->OnNotify(msg)) return;
  for (INotifyUI* notifier : std::vector(notifiers_)) notifier->Notify(msg);
}

void CPaintManagerUI::SetInitSize(int cx, int cy) {
  initSize_ = {cx, cy};
  if (window_ && cx > 0 && cy > 0)
    ::SetWindowPos(window_, nullptr, 0, 0, cx, cy, SWP_NOZORDER | SWP_NOMOVE | SWP_NOACTIVATE);
}

void CPaintManagerUI::AddFont(int id, const std::wstring& face, int size, bool bold, bool underline, bool italic) {
  HFONT font = ::CreateFontW(-size, 0, 0, 0, bold ? FW_BOLD : FW_NORMAL, italic, underline, FALSE, DEFAULT_CHARSET,
                             OUT_DEFAULT_PRECIS, CLIP_DEFAULT_PRECIS, CLEARTYPE_QUALITY, DEFAULT_PITCH, face.c_str());
  if (!font) return;
  auto [it, inserted] = fonts_.emplace(id, font);
  if (!inserted) {
    ::DeleteObject(it->second);
    it->second = font;
  }
}

HFONT CPaintManagerUI::GetFont(int id) {
  auto it = fonts_.find(id);
  if (it != fonts_.end()) return it->second;
  if (!defaultFont_) {
    defaultFont_ = ::CreateFontW(-12, 0, 0, 0, FW_NORMAL, FALSE, FALSE, FALSE, DEFAULT_CHARSET, OUT_DEFAULT_PRECIS,
                                 CLIP_DEFAULT_PRECIS, CLEARTYPE_QUALITY, DEFAULT_PITCH, L"Microsoft YaHei");
  }
  return defaultFont_;
}

const CPaintManagerUI::Image* CPaintManagerUI::LoadSkinImage(const std::string& file,
                                                             const std::optional<uint32_t>& mask) {
  std::string key = file;
  if (mask) {
    key += '|';
    key += std::to_string(*mask);
  }
  auto it = images_.find(key);
  if (it == images_.end()) {
    Image image;
    std::string bytes;
    if (LoadResourceFile(qx::win::Utf8ToWide(file), bytes)) image.bitmap = DecodeBmp(bytes, mask, image.size);
    if (!image.bitmap) qx::win::DebugLog("skin: image %s cannot be read\n", file.c_str());
    it = images_.emplace(key, image).first;
  }
  return it->second.bitmap ? &it->second : nullptr;
}

void CPaintManagerUI::DrawImagePart(HDC hdc, const std::wstring& description, const RECT& dest, double fraction) {
  auto parsed = qx::dui::ParseImageDescription(qx::win::WideToUtf8(description));
  if (!parsed) return;
  const Image* image = LoadSkinImage(parsed->file, parsed->mask);
  if (!image) return;
  RECT src = {0, 0, image->size.cx, image->size.cy};
  if (parsed->source) {
    src = {parsed->source->left, parsed->source->top, parsed->source->right, parsed->source->bottom};
    src.right = std::min<LONG>(src.right, image->size.cx);
    src.bottom = std::min<LONG>(src.bottom, image->size.cy);
  }
  if (src.right <= src.left || src.bottom <= src.top) return;
  RECT to = dest;
  if (fraction < 1.0) {
    fraction = std::max(0.0, fraction);
    to.right = to.left + static_cast<LONG>((dest.right - dest.left) * fraction);
    src.right = src.left + std::max<LONG>(1, static_cast<LONG>((src.right - src.left) * fraction));
    if (to.right <= to.left) return;
  }
  Blend(hdc, image->bitmap, to, src);
}

void CPaintManagerUI::DrawImage(HDC hdc, const std::wstring& description, const RECT& dest) {
  DrawImagePart(hdc, description, dest, 1.0);
}

void CPaintManagerUI::Invalidate(const RECT& rc) {
  if (window_) ::InvalidateRect(window_, &rc, FALSE);
}

// A page's root hosted in another window belongs to that window's manager.
void CPaintManagerUI::Layout() {
  needLayout_ = false;
  if (!root_ || root_->GetManager() != this || !window_) return;
  RECT client;
  ::GetClientRect(window_, &client);
  root_->SetPos(client);
  root_->ForEach([](CControlUI* c) { c->SyncNativeWindow(); });
}

void CPaintManagerUI::Relayout() {
  Layout();
  if (window_) ::InvalidateRect(window_, nullptr, FALSE);
}

void CPaintManagerUI::Paint() {
  PAINTSTRUCT ps;
  HDC dc = ::BeginPaint(window_, &ps);
  if (needLayout_) Layout();
  RECT client;
  ::GetClientRect(window_, &client);
  int cx = std::max<LONG>(1, client.right), cy = std::max<LONG>(1, client.bottom);
  HDC mem = ::CreateCompatibleDC(dc);
  HBITMAP canvas = ::CreateCompatibleBitmap(dc, cx, cy);
  HGDIOBJ old = ::SelectObject(mem, canvas);
  ::FillRect(mem, &ps.rcPaint, static_cast<HBRUSH>(::GetStockObject(WHITE_BRUSH)));
  if (root_ && root_->GetManager() == this) root_->DoPaint(mem, ps.rcPaint);
  ::BitBlt(dc, ps.rcPaint.left, ps.rcPaint.top, ps.rcPaint.right - ps.rcPaint.left, ps.rcPaint.bottom - ps.rcPaint.top,
           mem, ps.rcPaint.left, ps.rcPaint.top, SRCCOPY);
  ::SelectObject(mem, old);
  ::DeleteObject(canvas);
  ::DeleteDC(mem);
  ::EndPaint(window_, &ps);
}

CControlUI* CPaintManagerUI::ControlAt(POINT pt) const {
  if (!root_ || root_->GetManager() != this) return nullptr;
  CControlUI* hit = root_->FindControlAt(pt);
  return hit && hit->IsEnabled() ? hit : nullptr;
}

bool CPaintManagerUI::MessageHandler(UINT msg, WPARAM wParam, LPARAM lParam, LRESULT& result) {
  result = 0;
  POINT pt = {static_cast<short>(LOWORD(lParam)), static_cast<short>(HIWORD(lParam))};
  switch (msg) {
    case WM_ERASEBKGND:
      result = 1;
      return true;
    case WM_PAINT:
      Paint();
      return true;
    case WM_SIZE:
      Relayout();
      return false;
    case WM_MOUSEMOVE: {
      if (!tracking_) {
        TRACKMOUSEEVENT track = {sizeof(track), TME_LEAVE, window_, 0};
        tracking_ = ::TrackMouseEvent(&track) != FALSE;
      }
      CControlUI* now = ControlAt(pt);
      if (now != hot_) {
        if (hot_) hot_->OnMouseLeave();
        hot_ = now;
        if (hot_) hot_->OnMouseEnter();
      }
      return true;
    }
    case WM_MOUSELEAVE:
      tracking_ = false;
      if (hot_) hot_->OnMouseLeave();
      hot_ = nullptr;
      return true;
    case WM_LBUTTONDOWN:
    case WM_LBUTTONDBLCLK:
      if (editing_) static_cast<CEditUI*>(editing_)->EndEdit();
      ::SetFocus(window_);
      pressed_ = ControlAt(pt);
      if (pressed_) {
        ::SetCapture(window_);
        pressed_->OnButtonDown(pt);
      }
      return true;
    case WM_LBUTTONUP: {
      CControlUI* pressed = pressed_;
      pressed_ = nullptr;
      if (!pressed) return true;
      ::ReleaseCapture();
      bool inside = ControlAt(pt) == pressed;
      pressed->OnButtonUp(pt, inside);
      if (inside) pressed->OnClick();
      return true;
    }
    case kEndEditMessage:
      if (editing_ && reinterpret_cast<CControlUI*>(lParam) == editing_) static_cast<CEditUI*>(editing_)->EndEdit();
      return true;
    case WM_CTLCOLORSTATIC:
    case WM_CTLCOLOREDIT:
      // The read-only agreement box stays white, like the page around it.
      ::SetBkColor(reinterpret_cast<HDC>(wParam), RGB(255, 255, 255));
      result = reinterpret_cast<LRESULT>(::GetStockObject(WHITE_BRUSH));
      return true;
    default:
      return false;
  }
}

// ---------------------------------------------------------------- builder

CControlUI* CDialogBuilder::Create(std::wstring_view file, IDialogBuilderCallback* callback, CPaintManagerUI* manager) {
  std::string text;
  if (!CPaintManagerUI::LoadResourceFile(file, text)) {
    qx::win::DebugLogW(L"layout: %ls cannot be read\n", std::wstring(file).c_str());
    return nullptr;
  }
  auto layout = qx::dui::ParseLayout(text, [](std::string_view name, std::string& out) {
    return CPaintManagerUI::LoadResourceFile(qx::win::Utf8ToWide(name), out);
  });
  if (!layout || layout->controls.empty()) return nullptr;
  if (manager) {
    for (const auto& font : layout->fonts)
      manager->AddFont(font.id, qx::win::Utf8ToWide(font.face), font.size, font.bold, font.underline, font.italic);
    manager->SetCaptionRect(
        RECT{layout->caption.left, layout->caption.top, layout->caption.right, layout->caption.bottom});
    manager->SetInitSize(layout->width, layout->height);
  }
  return BuildControl(layout->controls.front(), callback, manager);
}

}  // namespace DuiLib
