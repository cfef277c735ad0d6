// The controls the layouts use: attributes, layout and painting.
#include <richedit.h>

#include <algorithm>

#include "dui/dui.h"
#include "win/text_convert.h"

namespace DuiLib {
namespace {

using qx::win::Utf8ToWide;

COLORREF ToColorRef(DWORD argb) { return RGB((argb >> 16) & 0xFF, (argb >> 8) & 0xFF, argb & 0xFF); }

DWORD ColorOr(std::string_view value, DWORD fallback) { return qx::dui::ParseColor(value).value_or(fallback); }

bool Contains(const RECT& rc, POINT pt) { return ::PtInRect(&rc, pt) != FALSE; }

}  // namespace

// ---------------------------------------------------------------- CControlUI

CControlUI::CControlUI() = default;
CControlUI::~CControlUI() = default;

void CControlUI::SetAttribute(std::string_view name, std::string_view value) {
  if (name == "name") {
    name_ = Utf8ToWide(value);
  } else if (name == "text") {
    text_ = Utf8ToWide(value);
  } else if (name == "pos") {
    if (auto rc = qx::dui::ParseRect(value)) {
      fixedXY_ = {rc->left, rc->top};
      if (rc->right > rc->left) fixedWidth_ = rc->right - rc->left;
      if (rc->bottom > rc->top) fixedHeight_ = rc->bottom - rc->top;
    }
  } else if (name == "float") {
    float_ = qx::dui::ParseBool(value);
  } else if (name == "width") {
    fixedWidth_ = qx::dui::ParseInt(value).value_or(0);
  } else if (name == "height") {
    fixedHeight_ = qx::dui::ParseInt(value).value_or(0);
  } else if (name == "bkimage") {
    bkImage_ = Utf8ToWide(value);
  } else if (name == "bkcolor") {
    bkColor_ = ColorOr(value, 0);
  } else if (name == "textcolor") {
    textColor_ = ColorOr(value, textColor_);
  } else if (name == "disabledtextcolor") {
    disabledTextColor_ = ColorOr(value, disabledTextColor_);
  } else if (name == "hottextcolor") {
    hotTextColor_ = ColorOr(value, 0);
  } else if (name == "pushedtextcolor") {
    pushedTextColor_ = ColorOr(value, 0);
  } else if (name == "font") {
    font_ = qx::dui::ParseInt(value).value_or(-1);
  } else if (name == "align") {
    align_ = value.find("left") != std::string_view::npos    ? DT_LEFT
             : value.find("right") != std::string_view::npos ? DT_RIGHT
                                                             : DT_CENTER;
  } else if (name == "textpadding") {
    textPadding_ = qx::dui::ParseRect(value).value_or(qx::dui::Rect{});
  } else if (name == "visible") {
    visible_ = qx::dui::ParseBool(value);
  } else if (name == "enabled") {
    enabled_ = qx::dui::ParseBool(value);
  }
}

void CControlUI::SetText(std::wstring text) {
  text_ = std::move(text);
  Invalidate();
}

void CControlUI::SetBkImage(std::wstring image) {
  bkImage_ = std::move(image);
  Invalidate();
}

void CControlUI::SetBkColor(DWORD argb) {
  bkColor_ = argb;
  Invalidate();
}

void CControlUI::SetVisible(bool visible) {
  if (visible_ == visible) return;
  visible_ = visible;
  if (manager_) manager_->Relayout();
}

void CControlUI::SetEnabled(bool enabled) {
  enabled_ = enabled;
  Invalidate();
}

bool CControlUI::IsEffectivelyVisible() const {
  for (const CControlUI* c = this; c; c = c->parent_) {
    if (!c->visible_) return false;
  }
  return true;
}

void CControlUI::SetPos(const RECT& rc) { rect_ = rc; }

void CControlUI::SetManager(CPaintManagerUI* manager) { manager_ = manager; }

CControlUI* CControlUI::FindControlAt(POINT pt) {
  return visible_ && IsInteractive() && Contains(rect_, pt) ? this : nullptr;
}

void CControlUI::Invalidate() {
  if (manager_) manager_->Invalidate(rect_);
}

RECT CControlUI::TextRect() const {
  RECT rc = rect_;
  rc.left += textPadding_.left;
  rc.top += textPadding_.top;
  rc.right -= textPadding_.right;
  rc.bottom -= textPadding_.bottom;
  return rc;
}

void CControlUI::PaintImage(HDC hdc, const std::wstring& description, const RECT& dest) {
  if (manager_ && !description.empty()) manager_->DrawImage(hdc, description, dest);
}

void CControlUI::PaintText(HDC hdc, const std::wstring& text, DWORD argb) {
  if (text.empty() || !manager_) return;
  RECT rc = TextRect();
  HGDIOBJ old = ::SelectObject(hdc, manager_->GetFont(font_));
  ::SetBkMode(hdc, TRANSPARENT);
  ::SetTextColor(hdc, ToColorRef(argb));
  ::DrawTextW(hdc, text.c_str(), static_cast<int>(text.size()), &rc,
              align_ | DT_SINGLELINE | DT_VCENTER | DT_NOPREFIX | DT_NOCLIP);
  ::SelectObject(hdc, old);
}

DWORD CControlUI::TextColorForState() const {
  if (!enabled_) return disabledTextColor_;
  if (pushed_ && pushedTextColor_) return pushedTextColor_;
  if (hot_ && hotTextColor_) return hotTextColor_;
  return textColor_;
}

void CControlUI::DoPaint(HDC hdc, const RECT&) {
  if (bkColor_ >> 24) {
    HBRUSH brush = ::CreateSolidBrush(ToColorRef(bkColor_));
    ::FillRect(hdc, &rect_, brush);
    ::DeleteObject(brush);
  }
  PaintImage(hdc, bkImage_, rect_);
}

void CControlUI::OnMouseEnter() {
  hot_ = true;
  Invalidate();
}

void CControlUI::OnMouseLeave() {
  hot_ = false;
  Invalidate();
}

void CControlUI::OnButtonDown(POINT) {
  pushed_ = true;
  Invalidate();
}

void CControlUI::OnButtonUp(POINT, bool) {
  pushed_ = false;
  Invalidate();
}

void CControlUI::OnClick() {
  if (manager_) manager_->SendNotify(this, L"click");
}

// -------------------------------------------------------------- containers

CContainerUI::~CContainerUI() {
  for (CControlUI* item : items_) delete item;
}

bool CContainerUI::Add(CControlUI* control) {
  if (!control) return false;
  control->SetParent(this);
  control->SetManager(manager_);
  items_.push_back(control);
  if (manager_) manager_->Relayout();
  return true;
}

CControlUI* CContainerUI::GetItemAt(int index) const {
  return index >= 0 && index < GetCount() ? items_[static_cast<size_t>(index)] : nullptr;
}

void CContainerUI::SetManager(CPaintManagerUI* manager) {
  CControlUI::SetManager(manager);
  for (CControlUI* item : items_) item->SetManager(manager);
}

void CContainerUI::SetVisible(bool visible) { CControlUI::SetVisible(visible); }

void CContainerUI::PlaceFloat(CControlUI* item) {
  SIZE xy = item->GetFixedXY();
  RECT rc = {rect_.left + xy.cx, rect_.top + xy.cy, 0, 0};
  rc.right = rc.left + item->GetFixedWidth();
  rc.bottom = rc.top + item->GetFixedHeight();
  item->SetPos(rc);
}

void CContainerUI::SetPos(const RECT& rc) {
  CControlUI::SetPos(rc);
  for (CControlUI* item : items_) {
    if (item->IsFloat()) {
      PlaceFloat(item);
    } else {
      item->SetPos(rc);
    }
  }
}

CControlUI* CContainerUI::FindControlAt(POINT pt) {
  if (!visible_ || !Contains(rect_, pt)) return nullptr;
  for (auto it = items_.rbegin(); it != items_.rend(); ++it) {
    if (CControlUI* hit = (*it)->FindControlAt(pt)) return hit;
  }
  return nullptr;
}

void CContainerUI::ForEach(const std::function<void(CControlUI*)>& fn) {
  fn(this);
  for (CControlUI* item : items_) item->ForEach(fn);
}

void CContainerUI::DoPaint(HDC hdc, const RECT& clip) {
  CControlUI::DoPaint(hdc, clip);
  for (CControlUI* item : items_) {
    RECT overlap;
    const RECT& pos = item->GetPos();
    if (item->IsVisible() && ::IntersectRect(&overlap, &clip, &pos)) item->DoPaint(hdc, clip);
  }
}

// Children without a fixed extent share what the fixed ones leave.
void CVerticalLayoutUI::SetPos(const RECT& rc) {
  CControlUI::SetPos(rc);
  int fixed = 0, flexible = 0;
  for (CControlUI* item : items_) {
    if (item->IsFloat() || !item->IsVisible()) continue;
    if (item->GetFixedHeight() > 0) {
      fixed += item->GetFixedHeight();
    } else {
      ++flexible;
    }
  }
  int share = flexible ? std::max(0, static_cast<int>(rc.bottom - rc.top) - fixed) / flexible : 0;
  int y = rc.top;
  for (CControlUI* item : items_) {
    if (item->IsFloat()) {
      PlaceFloat(item);
      continue;
    }
    if (!item->IsVisible()) continue;
    int h = item->GetFixedHeight() > 0 ? item->GetFixedHeight() : share;
    int w = item->GetFixedWidth() > 0 ? item->GetFixedWidth() : rc.right - rc.left;
    item->SetPos(RECT{rc.left, y, rc.left + w, y + h});
    y += h;
  }
}

void CHorizontalLayoutUI::SetPos(const RECT& rc) {
  CControlUI::SetPos(rc);
  int fixed = 0, flexible = 0;
  for (CControlUI* item : items_) {
    if (item->IsFloat() || !item->IsVisible()) continue;
    if (item->GetFixedWidth() > 0) {
      fixed += item->GetFixedWidth();
    } else {
      ++flexible;
    }
  }
  int share = flexible ? std::max(0, static_cast<int>(rc.right - rc.left) - fixed) / flexible : 0;
  int x = rc.left;
  for (CControlUI* item : items_) {
    if (item->IsFloat()) {
      PlaceFloat(item);
      continue;
    }
    if (!item->IsVisible()) continue;
    int w = item->GetFixedWidth() > 0 ? item->GetFixedWidth() : share;
    int h = item->GetFixedHeight() > 0 ? item->GetFixedHeight() : rc.bottom - rc.top;
    item->SetPos(RECT{x, rc.top, x + w, rc.top + h});
    x += w;
  }
}

bool CTabLayoutUI::Add(CControlUI* control) {
  if (!control) return false;
  // Only the selected item shows.
  if (GetCount() != selected_) control->visible_ = false;
  return CContainerUI::Add(control);
}

void CTabLayoutUI::SetPos(const RECT& rc) {
  CControlUI::SetPos(rc);
  for (CControlUI* item : items_) {
    RECT itemRc = rc;
    if (item->GetFixedHeight() > 0) itemRc.bottom = itemRc.top + item->GetFixedHeight();
    item->SetPos(itemRc);
  }
}

bool CTabLayoutUI::SelectItem(int index, bool triggerEvent) {
  if (index < 0 || index >= GetCount()) return false;
  selected_ = index;
  for (int i = 0; i < GetCount(); ++i) items_[static_cast<size_t>(i)]->visible_ = i == index;
  if (manager_) {
    manager_->Relayout();
    if (triggerEvent) manager_->SendNotify(this, L"tabselect");
  }
  return true;
}

// ------------------------------------------------------------------ labels

void CLabelUI::SetAttribute(std::string_view name, std::string_view value) { CControlUI::SetAttribute(name, value); }

void CLabelUI::DoPaint(HDC hdc, const RECT& clip) {
  CControlUI::DoPaint(hdc, clip);
  PaintText(hdc, text_, enabled_ ? textColor_ : disabledTextColor_);
}

CButtonUI::CButtonUI() { align_ = DT_CENTER; }

void CButtonUI::SetAttribute(std::string_view name, std::string_view value) {
  if (name == "normalimage") {
    normalImage_ = Utf8ToWide(value);
  } else if (name == "hotimage") {
    hotImage_ = Utf8ToWide(value);
  } else if (name == "pushedimage") {
    pushedImage_ = Utf8ToWide(value);
  } else if (name == "disabledimage") {
    disabledImage_ = Utf8ToWide(value);
  } else {
    CLabelUI::SetAttribute(name, value);
  }
}

void CButtonUI::DoPaint(HDC hdc, const RECT& clip) {
  CControlUI::DoPaint(hdc, clip);
  const std::wstring* image = &normalImage_;
  if (!enabled_ && !disabledImage_.empty()) {
    image = &disabledImage_;
  } else if (enabled_ && pushed_ && hot_ && !pushedImage_.empty()) {
    image = &pushedImage_;
  } else if (enabled_ && hot_ && !hotImage_.empty()) {
    image = &hotImage_;
  }
  PaintImage(hdc, *image, rect_);
  PaintText(hdc, text_, TextColorForState());
}

void COptionUI::SetAttribute(std::string_view name, std::string_view value) {
  if (name == "selected") {
    selected_ = qx::dui::ParseBool(value);
  } else if (name == "selectedimage") {
    selectedImage_ = Utf8ToWide(value);
  } else {
    CButtonUI::SetAttribute(name, value);
  }
}

void COptionUI::Selected(bool selected, bool triggerEvent) {
  selected_ = selected;
  Invalidate();
  if (triggerEvent && manager_) manager_->SendNotify(this, L"selectchanged");
}

void COptionUI::OnClick() {
  Selected(!selected_);
  CButtonUI::OnClick();
}

void COptionUI::DoPaint(HDC hdc, const RECT& clip) {
  if (!selected_) {
    CButtonUI::DoPaint(hdc, clip);
    return;
  }
  CControlUI::DoPaint(hdc, clip);
  PaintImage(hdc, selectedImage_.empty() ? normalImage_ : selectedImage_, rect_);
  PaintText(hdc, text_, TextColorForState());
}

// -------------------------------------------------------------------- edit

namespace {

constexpr wchar_t kEditOwnerProp[] = L"QxEditOwner";
constexpr wchar_t kEditProcProp[] = L"QxEditProc";

LRESULT CALLBACK EditProc(HWND hwnd, UINT msg, WPARAM wParam, LPARAM lParam) {
  auto old = reinterpret_cast<WNDPROC>(::GetPropW(hwnd, kEditProcProp));
  if (msg == WM_KILLFOCUS || (msg == WM_KEYDOWN && wParam == VK_RETURN)) {
    // Ending the edit destroys this window: do it after this message.
    ::PostMessageW(::GetParent(hwnd), CPaintManagerUI::kEndEditMessage, 0,
                   reinterpret_cast<LPARAM>(::GetPropW(hwnd, kEditOwnerProp)));
  }
  return ::CallWindowProcW(old, hwnd, msg, wParam, lParam);
}

}  // namespace

CEditUI::~CEditUI() {
  if (edit_) ::DestroyWindow(edit_);
}

void CEditUI::SetAttribute(std::string_view name, std::string_view value) {
  if (name == "normalimage") {
    normalImage_ = Utf8ToWide(value);
  } else if (name == "hotimage" || name == "focusedimage") {
    if (name == "hotimage") hotImage_ = Utf8ToWide(value);
  } else if (name == "tipvalue") {
    tipValue_ = Utf8ToWide(value);
  } else if (name == "tipvaluecolor") {
    tipColor_ = ColorOr(value, tipColor_);
  } else {
    CLabelUI::SetAttribute(name, value);
  }
}

void CEditUI::SetText(std::wstring text) {
  if (edit_) ::SetWindowTextW(edit_, text.c_str());
  CLabelUI::SetText(std::move(text));
}

void CEditUI::DoPaint(HDC hdc, const RECT& clip) {
  CControlUI::DoPaint(hdc, clip);
  PaintImage(hdc, hot_ && !hotImage_.empty() ? hotImage_ : normalImage_, rect_);
  if (edit_) return;
  UINT align = align_;
  align_ = DT_LEFT;
  if (text_.empty()) {
    PaintText(hdc, tipValue_, tipColor_);
  } else {
    PaintText(hdc, text_, enabled_ ? textColor_ : disabledTextColor_);
  }
  align_ = align;
}

void CEditUI::OnClick() {
  if (!edit_ && manager_ && manager_->GetPaintWindow() && enabled_) {
    RECT rc = TextRect();
    HFONT font = manager_->GetFont(font_);
    // One line high, centred like the drawn text.
    TEXTMETRICW tm{};
    HDC dc = ::GetDC(manager_->GetPaintWindow());
    HGDIOBJ old = ::SelectObject(dc, font);
    ::GetTextMetricsW(dc, &tm);
    ::SelectObject(dc, old);
    ::ReleaseDC(manager_->GetPaintWindow(), dc);
    int h = tm.tmHeight + 2;
    int top = rc.top + std::max(0, static_cast<int>(rc.bottom - rc.top) - h) / 2;
    edit_ = ::CreateWindowExW(0, L"EDIT", text_.c_str(), WS_CHILD | WS_VISIBLE | ES_AUTOHSCROLL, rc.left, top,
                              rc.right - rc.left, h, manager_->GetPaintWindow(), nullptr,
                              CPaintManagerUI::GetInstance(), nullptr);
    if (edit_) {
      ::SendMessageW(edit_, WM_SETFONT, reinterpret_cast<WPARAM>(font), TRUE);
      ::SetPropW(edit_, kEditOwnerProp, this);
      ::SetPropW(
          edit_, kEditProcProp,
          reinterpret_cast<HANDLE>(::SetWindowLongPtrW(edit_, GWLP_WNDPROC, reinterpret_cast<LONG_PTR>(EditProc))));
      ::SendMessageW(edit_, EM_SETSEL, 0, -1);
      ::SetFocus(edit_);
      manager_->SetEditing(this);
      Invalidate();
    }
  }
  CLabelUI::OnClick();
}

void CEditUI::EndEdit() {
  if (!edit_) return;
  HWND edit = edit_;
  edit_ = nullptr;
  int length = ::GetWindowTextLengthW(edit);
  std::wstring text(static_cast<size_t>(length) + 1, L'\0');
  ::GetWindowTextW(edit, text.data(), length + 1);
  text.resize(static_cast<size_t>(length));
  ::SetWindowLongPtrW(edit, GWLP_WNDPROC, reinterpret_cast<LONG_PTR>(::GetPropW(edit, kEditProcProp)));
  ::RemovePropW(edit, kEditProcProp);
  ::RemovePropW(edit, kEditOwnerProp);
  ::DestroyWindow(edit);
  if (manager_ && manager_->GetEditing() == this) manager_->SetEditing(nullptr);
  text_ = std::move(text);
  Invalidate();
}

void CEditUI::SyncNativeWindow() {
  if (edit_ && !IsEffectivelyVisible()) EndEdit();
}

// ---------------------------------------------------------------- rich edit

namespace {

// The rich-edit library is loaded on first use, after the entry point has
// narrowed where DLLs come from; a plain multi-line EDIT stands in without it.
const wchar_t* RichEditClass() {
  static const wchar_t* cls = [] {
    // Stays loaded for the rest of the process: the window class lives in it.
    if (::LoadLibraryW(L"msftedit.dll")) return L"RICHEDIT50W";  // cppcheck-suppress leakNoVarFunctionCall
    if (::LoadLibraryW(L"riched20.dll")) return L"RichEdit20W";  // cppcheck-suppress leakNoVarFunctionCall
    return L"EDIT";
  }();
  return cls;
}

}  // namespace

CRichEditUI::~CRichEditUI() {
  if (window_) ::DestroyWindow(window_);
  if (brush_) ::DeleteObject(brush_);
}

void CRichEditUI::SetAttribute(std::string_view name, std::string_view value) {
  if (name == "vscrollbar") {
    vscroll_ = qx::dui::ParseBool(value);
  } else {
    CControlUI::SetAttribute(name, value);
  }
}

void CRichEditUI::SetText(std::wstring text) {
  text_ = std::move(text);
  if (window_) ::SetWindowTextW(window_, text_.c_str());
}

void CRichEditUI::SetManager(CPaintManagerUI* manager) {
  CControlUI::SetManager(manager);
  if (!window_ && manager && manager->GetPaintWindow()) CreateNative();
}

void CRichEditUI::CreateNative() {
  const wchar_t* cls = RichEditClass();
  DWORD style = WS_CHILD | ES_MULTILINE | ES_READONLY | ES_AUTOVSCROLL | (vscroll_ ? WS_VSCROLL : 0);
  window_ = ::CreateWindowExW(0, cls, L"", style, 0, 0, 0, 0, manager_->GetPaintWindow(), nullptr,
                              CPaintManagerUI::GetInstance(), nullptr);
  if (!window_) return;
  ::SetPropW(window_, L"QxRichEditOwner", this);
  ::SendMessageW(window_, WM_SETFONT, reinterpret_cast<WPARAM>(manager_->GetFont(font_)), FALSE);
  COLORREF bk = bkColor_ >> 24 ? ToColorRef(bkColor_) : RGB(255, 255, 255);
  if (std::wstring_view(cls) != L"EDIT") {
    ::SendMessageW(window_, EM_SETBKGNDCOLOR, 0, bk);
  }
  brush_ = ::CreateSolidBrush(bk);
  ::SetWindowTextW(window_, text_.c_str());
}

void CRichEditUI::SyncNativeWindow() {
  if (!window_) return;
  bool show = IsEffectivelyVisible();
  if (show) {
    ::SetWindowPos(window_, HWND_TOP, rect_.left, rect_.top, rect_.right - rect_.left, rect_.bottom - rect_.top,
                   SWP_NOACTIVATE | SWP_SHOWWINDOW);
  } else if (::IsWindowVisible(window_)) {
    ::ShowWindow(window_, SW_HIDE);
  }
}

// ----------------------------------------------------------------- progress

void CProgressUI::SetAttribute(std::string_view name, std::string_view value) {
  if (name == "foreimage") {
    foreImage_ = Utf8ToWide(value);
  } else if (name == "min") {
    min_ = qx::dui::ParseInt(value).value_or(0);
  } else if (name == "max") {
    max_ = qx::dui::ParseInt(value).value_or(100);
  } else if (name == "value") {
    value_ = qx::dui::ParseInt(value).value_or(0);
  } else {
    CLabelUI::SetAttribute(name, value);
  }
}

void CProgressUI::SetValue(int value) {
  value_ = std::clamp(value, min_, max_);
  Invalidate();
}

void CProgressUI::DoPaint(HDC hdc, const RECT& clip) {
  CControlUI::DoPaint(hdc, clip);
  if (max_ > min_ && value_ > min_ && manager_) {
    double fraction = static_cast<double>(value_ - min_) / (max_ - min_);
    manager_->DrawImagePart(hdc, foreImage_, rect_, fraction);
  }
  PaintText(hdc, text_, textColor_);
}

}  // namespace DuiLib
