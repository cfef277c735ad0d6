// The small direct-UI layer under the pages: windowless controls laid out
// from XML in the skin zip, painted by one paint manager per native window.
#pragma once
#include <windows.h>

#include <functional>
#include <map>
#include <memory>
#include <optional>
#include <string>
#include <string_view>
#include <vector>

#include "dui/markup.h"

namespace DuiLib {

class CControlUI;
class CPaintManagerUI;

// What a control reports; the pages read the type and the sender.
struct TNotifyUI {
  std::wstring sType;
  CControlUI* pSender = nullptr;
  WPARAM wParam = 0;
  LPARAM lParam = 0;
};

class INotifyUI {
 public:
  virtual void Notify(TNotifyUI& msg) = 0;

 protected:
  ~INotifyUI() = default;
};

class IMessageFilterUI {
 public:
  virtual LRESULT MessageHandler(UINT msg, WPARAM wParam, LPARAM lParam, bool& handled) = 0;

 protected:
  ~IMessageFilterUI() = default;
};

class IDialogBuilderCallback {
 public:
  // Lets a page build control classes of its own; nothing means "not mine".
  virtual CControlUI* CreateControl(const std::wstring&) { return nullptr; }

 protected:
  ~IDialogBuilderCallback() = default;
};

class CNotifyPump {
 public:
  virtual ~CNotifyPump() = default;
};

class CDelegateBase {
 public:
  virtual ~CDelegateBase() = default;
  virtual bool Invoke(TNotifyUI& msg) = 0;
};

template <class O, class T>
class CDelegate : public CDelegateBase {
 public:
  using Fn = bool (T::*)(TNotifyUI&);
  CDelegate(O* object, Fn fn) : object_(object), fn_(fn) {}
  bool Invoke(TNotifyUI& msg) override { return (object_->*fn_)(msg); }

 private:
  O* object_;
  Fn fn_;
};

template <class O, class T>
std::unique_ptr<CDelegateBase> MakeDelegate(O* object, bool (T::*fn)(TNotifyUI&)) {
  return std::make_unique<CDelegate<O, T>>(object, fn);
}

// A control's subscribers; the event goes on while every handler returns true.
class CEventSource {
 public:
  void operator+=(std::unique_ptr<CDelegateBase> d) { delegates_.push_back(std::move(d)); }
  bool operator()(TNotifyUI& msg) {
    for (auto& d : delegates_) {
      if (!d->Invoke(msg)) return false;
    }
    return true;
  }

 private:
  std::vector<std::unique_ptr<CDelegateBase>> delegates_;
};

class CControlUI {
 public:
  CControlUI();
  virtual ~CControlUI();
  CControlUI(const CControlUI&) = delete;
  CControlUI& operator=(const CControlUI&) = delete;

  virtual std::wstring_view GetClass() const { return L"Control"; }
  virtual void SetAttribute(std::string_view name, std::string_view value);

  const std::wstring& GetName() const { return name_; }
  void SetName(std::wstring name) { name_ = std::move(name); }
  const std::wstring& GetText() const { return text_; }
  virtual void SetText(std::wstring text);
  void SetBkImage(std::wstring image);
  const std::wstring& GetBkImage() const { return bkImage_; }
  void SetBkColor(DWORD argb);

  bool IsVisible() const { return visible_; }
  virtual void SetVisible(bool visible);
  bool IsEnabled() const { return enabled_; }
  virtual void SetEnabled(bool enabled);
  // Visible here and in every parent.
  bool IsEffectivelyVisible() const;

  bool IsFloat() const { return float_; }
  SIZE GetFixedXY() const { return fixedXY_; }
  int GetFixedWidth() const { return fixedWidth_; }
  int GetFixedHeight() const { return fixedHeight_; }
  const RECT& GetPos() const { return rect_; }
  virtual void SetPos(const RECT& rc);

  CControlUI* GetParent() const { return parent_; }
  void SetParent(CControlUI* parent) { parent_ = parent; }
  CPaintManagerUI* GetManager() const { return manager_; }
  virtual void SetManager(CPaintManagerUI* manager);

  // Controls that take the mouse (buttons, options, edit boxes).
  virtual bool IsInteractive() const { return false; }
  virtual CControlUI* FindControlAt(POINT pt);
  virtual void ForEach(const std::function<void(CControlUI*)>& fn) { fn(this); }

  virtual void DoPaint(HDC hdc, const RECT& clip);
  virtual void OnMouseEnter();
  virtual void OnMouseLeave();
  virtual void OnButtonDown(POINT pt);
  virtual void OnButtonUp(POINT pt, bool inside);
  virtual void OnClick();
  // Native child windows follow the control's effective visibility.
  virtual void SyncNativeWindow() {}

  void Invalidate();

  CEventSource OnNotify;

 protected:
  friend class CTabLayoutUI;
  void PaintImage(HDC hdc, const std::wstring& description, const RECT& dest);
  RECT TextRect() const;
  void PaintText(HDC hdc, const std::wstring& text, DWORD argb);
  DWORD TextColorForState() const;

  std::wstring name_;
  std::wstring text_;
  std::wstring bkImage_;
  DWORD bkColor_ = 0;
  DWORD textColor_ = 0xFF000000;
  DWORD disabledTextColor_ = 0xFFA7A6AA;
  DWORD hotTextColor_ = 0;
  DWORD pushedTextColor_ = 0;
  int font_ = -1;
  UINT align_ = DT_CENTER;
  qx::dui::Rect textPadding_;
  bool visible_ = true;
  bool enabled_ = true;
  bool float_ = false;
  SIZE fixedXY_ = {0, 0};
  int fixedWidth_ = 0;
  int fixedHeight_ = 0;
  bool hot_ = false;
  bool pushed_ = false;
  RECT rect_ = {0, 0, 0, 0};
  CControlUI* parent_ = nullptr;
  CPaintManagerUI* manager_ = nullptr;
};

class IContainerUI {
 public:
  virtual int GetCount() const = 0;
  virtual bool Add(CControlUI* control) = 0;
  virtual CControlUI* GetItemAt(int index) const = 0;

 protected:
  ~IContainerUI() = default;
};

class CContainerUI : public CControlUI, public IContainerUI {
 public:
  ~CContainerUI() override;
  std::wstring_view GetClass() const override { return L"Container"; }
  int GetCount() const override { return static_cast<int>(items_.size()); }
  bool Add(CControlUI* control) override;
  CControlUI* GetItemAt(int index) const override;
  void SetManager(CPaintManagerUI* manager) override;
  void SetPos(const RECT& rc) override;
  void SetVisible(bool visible) override;
  CControlUI* FindControlAt(POINT pt) override;
  void ForEach(const std::function<void(CControlUI*)>& fn) override;
  void DoPaint(HDC hdc, const RECT& clip) override;

 protected:
  void PlaceFloat(CControlUI* item);
  std::vector<CControlUI*> items_;  // owned
};

class CVerticalLayoutUI : public CContainerUI {
 public:
  std::wstring_view GetClass() const override { return L"VerticalLayout"; }
  void SetPos(const RECT& rc) override;
};

class CHorizontalLayoutUI : public CContainerUI {
 public:
  std::wstring_view GetClass() const override { return L"HorizontalLayout"; }
  void SetPos(const RECT& rc) override;
};

class CTabLayoutUI : public CContainerUI {
 public:
  std::wstring_view GetClass() const override { return L"TabLayout"; }
  bool Add(CControlUI* control) override;
  void SetPos(const RECT& rc) override;
  bool SelectItem(int index, bool triggerEvent = true);
  int GetCurSel() const { return selected_; }

 private:
  int selected_ = 0;
};

class CLabelUI : public CControlUI {
 public:
  std::wstring_view GetClass() const override { return L"Label"; }
  void SetAttribute(std::string_view name, std::string_view value) override;
  void DoPaint(HDC hdc, const RECT& clip) override;
};

class CButtonUI : public CLabelUI {
 public:
  CButtonUI();
  std::wstring_view GetClass() const override { return L"Button"; }
  void SetAttribute(std::string_view name, std::string_view value) override;
  bool IsInteractive() const override { return true; }
  void DoPaint(HDC hdc, const RECT& clip) override;

 protected:
  std::wstring normalImage_, hotImage_, pushedImage_, disabledImage_;
};

class COptionUI : public CButtonUI {
 public:
  std::wstring_view GetClass() const override { return L"Option"; }
  void SetAttribute(std::string_view name, std::string_view value) override;
  bool IsSelected() const { return selected_; }
  void Selected(bool selected, bool triggerEvent = true);
  void OnClick() override;
  void DoPaint(HDC hdc, const RECT& clip) override;

 private:
  bool selected_ = false;
  std::wstring selectedImage_;
};

// Drawn while idle (text, or the grey placeholder when empty); a native EDIT
// takes over while the user types.
class CEditUI : public CLabelUI {
 public:
  ~CEditUI() override;
  std::wstring_view GetClass() const override { return L"Edit"; }
  void SetAttribute(std::string_view name, std::string_view value) override;
  bool IsInteractive() const override { return true; }
  void SetText(std::wstring text) override;
  void DoPaint(HDC hdc, const RECT& clip) override;
  void OnClick() override;
  void SyncNativeWindow() override;
  void EndEdit();

 private:
  std::wstring normalImage_, hotImage_;
  std::wstring tipValue_;
  DWORD tipColor_ = 0xFFBABABA;
  HWND edit_ = nullptr;
};

// A read-only native rich-edit (plain multi-line EDIT when no rich-edit
// library is present), created once its manager's window exists.
class CRichEditUI : public CControlUI {
 public:
  ~CRichEditUI() override;
  std::wstring_view GetClass() const override { return L"RichEdit"; }
  void SetAttribute(std::string_view name, std::string_view value) override;
  void SetText(std::wstring text) override;
  void SetManager(CPaintManagerUI* manager) override;
  void SyncNativeWindow() override;
  HWND GetNativeWindow() const { return window_; }

 private:
  void CreateNative();
  HWND window_ = nullptr;
  HBRUSH brush_ = nullptr;
  bool vscroll_ = false;
};

class CProgressUI : public CLabelUI {
 public:
  std::wstring_view GetClass() const override { return L"Progress"; }
  void SetAttribute(std::string_view name, std::string_view value) override;
  void SetValue(int value);
  int GetValue() const { return value_; }
  void DoPaint(HDC hdc, const RECT& clip) override;

 private:
  std::wstring foreImage_;
  int min_ = 0, max_ = 100, value_ = 0;
};

// One per native window: the control tree, fonts, images, mouse state.
class CPaintManagerUI {
 public:
  CPaintManagerUI() = default;
  ~CPaintManagerUI();
  CPaintManagerUI(const CPaintManagerUI&) = delete;
  CPaintManagerUI& operator=(const CPaintManagerUI&) = delete;

  static void SetInstance(HINSTANCE instance);
  static HINSTANCE GetInstance();
  static std::wstring GetInstancePath();
  static void SetResourcePath(std::wstring path);
  static const std::wstring& GetResourcePath();
  // The skin zip in memory; the bytes must stay readable for the whole run.
  // A second call is ignored.
  static void SetResourceZip(const void* data, size_t size);
  static const std::wstring& GetResourceZip();
  // A member of the skin zip (or a file under the resource path).
  static bool LoadResourceFile(std::wstring_view name, std::string& out);
  // Hands a message to the filters of the window it is for (or of the
  // window that holds it); true when one of them consumed it.
  static bool TranslateMessage(const MSG* msg);

  void Init(HWND window);
  HWND GetPaintWindow() const { return window_; }
  bool AttachDialog(CControlUI* root);
  CControlUI* GetRoot() const { return root_; }
  CControlUI* FindControl(std::wstring_view name) const;
  void RegisterName(CControlUI* control);
  bool AddNotifier(INotifyUI* notifier);
  bool RemoveNotifier(INotifyUI* notifier);
  bool AddPreMessageFilter(IMessageFilterUI* filter);
  bool RemovePreMessageFilter(IMessageFilterUI* filter);
  void SendNotify(CControlUI* control, std::wstring type);

  void SetInitSize(int cx, int cy);
  SIZE GetInitSize() const { return initSize_; }
  void SetCaptionRect(const RECT& rc) { caption_ = rc; }
  const RECT& GetCaptionRect() const { return caption_; }
  void AddFont(int id, const std::wstring& face, int size, bool bold, bool underline, bool italic);
  HFONT GetFont(int id);
  // Draws an image description (file and source rectangle) into dest;
  // nothing when the image is missing.
  void DrawImage(HDC hdc, const std::wstring& description, const RECT& dest);
  void DrawImagePart(HDC hdc, const std::wstring& description, const RECT& dest, double fraction);
  // Lays the tree out again and lets native child windows follow.
  void Relayout();
  void SetEditing(CControlUI* edit) { editing_ = edit; }
  CControlUI* GetEditing() const { return editing_; }
  static constexpr UINT kEndEditMessage = WM_APP + 0x3A0;

  void NeedUpdate() { needLayout_ = true; }
  void Invalidate(const RECT& rc);
  bool MessageHandler(UINT msg, WPARAM wParam, LPARAM lParam, LRESULT& result);

 private:
  void Layout();
  void Paint();
  CControlUI* ControlAt(POINT pt) const;

  HWND window_ = nullptr;
  CControlUI* root_ = nullptr;
  std::map<std::wstring, CControlUI*, std::less<>> names_;
  std::vector<INotifyUI*> notifiers_;
  std::vector<IMessageFilterUI*> preFilters_;
  std::map<int, HFONT> fonts_;
  HFONT defaultFont_ = nullptr;
  struct Image {
    HBITMAP bitmap = nullptr;
    SIZE size = {0, 0};
  };
  const Image* LoadSkinImage(const std::string& file, const std::optional<uint32_t>& mask);
  std::map<std::string, Image> images_;
  CControlUI* editing_ = nullptr;
  SIZE initSize_ = {0, 0};
  RECT caption_ = {0, 0, 0, 0};
  bool needLayout_ = true;
  CControlUI* hot_ = nullptr;
  CControlUI* pressed_ = nullptr;
  bool tracking_ = false;
};

// Builds a control tree from a layout file of the skin zip.
class CDialogBuilder {
 public:
  CControlUI* Create(std::wstring_view file, IDialogBuilderCallback* callback, CPaintManagerUI* manager);
};

class CWindowWnd {
 public:
  CWindowWnd() = default;
  virtual ~CWindowWnd() = default;
  CWindowWnd(const CWindowWnd&) = delete;
  CWindowWnd& operator=(const CWindowWnd&) = delete;

  HWND GetHWND() const { return window_; }
  operator HWND() const { return window_; }

  HWND Create(HWND parent, const char* name, DWORD style, DWORD exStyle, int x = CW_USEDEFAULT, int y = CW_USEDEFAULT,
              int cx = CW_USEDEFAULT, int cy = CW_USEDEFAULT, HMENU menu = nullptr);
  void ShowWindow(bool show = true, bool takeFocus = true);
  UINT ShowModal();
  void Close(UINT ret = IDOK);
  void CenterWindow();
  LRESULT SendMessage(UINT msg, WPARAM wParam = 0, LPARAM lParam = 0);

 protected:
  virtual const char* GetWindowClassName() const = 0;
  virtual const char* GetSuperClassName() const { return nullptr; }
  virtual UINT GetClassStyle() const { return CS_DBLCLKS; }
  virtual LRESULT HandleMessage(UINT msg, WPARAM wParam, LPARAM lParam);
  virtual void OnFinalMessage(HWND) {}

  static LRESULT CALLBACK WindowProc(HWND hwnd, UINT msg, WPARAM wParam, LPARAM lParam);

  HWND window_ = nullptr;
};

// The window shadow: set up once at start-up; no page turns it on.
class CWndShadow {
 public:
  static bool Initialize(HINSTANCE instance);
  static bool IsLayeredSupported();
};

class WindowImplBase : public CWindowWnd,
                       public CNotifyPump,
                       public INotifyUI,
                       public IMessageFilterUI,
                       public IDialogBuilderCallback {
 public:
  WindowImplBase() = default;
  ~WindowImplBase() override = default;

  void Notify(TNotifyUI& msg) override;
  LRESULT MessageHandler(UINT msg, WPARAM wParam, LPARAM lParam, bool& handled) override;
  CPaintManagerUI& PaintManager() { return paintManager_; }

 protected:
  LRESULT HandleMessage(UINT msg, WPARAM wParam, LPARAM lParam) override;
  void OnFinalMessage(HWND hwnd) override;
  virtual void InitWindow() {}
  virtual void OnClick(TNotifyUI& msg);
  virtual std::wstring GetSkinFolder() = 0;
  virtual std::wstring GetSkinFile() = 0;
  virtual LRESULT ResponseDefaultKeyEvent(WPARAM wParam);
  virtual UINT GetResourceType() const { return 1; }

  virtual LRESULT OnClose(UINT msg, WPARAM wParam, LPARAM lParam, BOOL& handled);
  virtual LRESULT OnDestroy(UINT, WPARAM, LPARAM, BOOL& handled);
  virtual LRESULT OnNcActivate(UINT msg, WPARAM wParam, LPARAM lParam, BOOL& handled);
  virtual LRESULT OnNcCalcSize(UINT msg, WPARAM wParam, LPARAM lParam, BOOL& handled);
  virtual LRESULT OnNcPaint(UINT msg, WPARAM wParam, LPARAM lParam, BOOL& handled);
  virtual LRESULT OnNcHitTest(UINT msg, WPARAM wParam, LPARAM lParam, BOOL& handled);
  virtual LRESULT OnGetMinMaxInfo(UINT msg, WPARAM wParam, LPARAM lParam, BOOL& handled);
  virtual LRESULT OnSysCommand(UINT msg, WPARAM wParam, LPARAM lParam, BOOL& handled);
  virtual LRESULT OnCreate(UINT msg, WPARAM wParam, LPARAM lParam, BOOL& handled);

  CPaintManagerUI paintManager_;
};

}  // namespace DuiLib
