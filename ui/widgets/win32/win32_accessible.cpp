#include "ui/widgets/win32/win32_accessible.h"

#include <oleacc.h>

#include <atomic>
#include <string>

#include "ui/widgets/win32/win32_text.h"

namespace raziz::ui::win32 {
namespace {

// mingw-w64's import library carries a wrong IID_IAccessible (the call then fails with E_NOINTERFACE).
constexpr GUID kIAccessible = {0x618736e0, 0x3c3d, 0x11cf, {0x81, 0x0c, 0x00, 0xaa, 0x00, 0x38, 0x9b, 0x71}};

// oleacc.dll is loaded when a screen reader first asks, so a program nobody reads does not load it.
struct Oleacc {
  using CreateStd = HRESULT(WINAPI*)(HWND, LONG, REFIID, void**);
  using FromObject = LRESULT(WINAPI*)(REFIID, WPARAM, LPUNKNOWN);
  CreateStd create_std = nullptr;
  FromObject lresult_from_object = nullptr;
};

const Oleacc& Library() {
  static const Oleacc library = [] {
    Oleacc found;
    if (HMODULE dll = LoadLibraryW(L"oleacc.dll")) {
      found.create_std = reinterpret_cast<Oleacc::CreateStd>(
          reinterpret_cast<void*>(GetProcAddress(dll, "CreateStdAccessibleObject")));
      found.lresult_from_object =
          reinterpret_cast<Oleacc::FromObject>(reinterpret_cast<void*>(GetProcAddress(dll, "LresultFromObject")));
    }
    return found;
  }();
  return library;
}

bool IsSelf(const VARIANT& child) { return child.vt == VT_I4 && child.lVal == CHILDID_SELF; }

// The standard client object of a window, with a name of our own for the window itself; everything else
// (role, state, location, children, navigation, default action) is the standard object's.
class NamedAccessible final : public IAccessible, public IOleWindow {
 public:
  NamedAccessible(HWND hwnd, IAccessible* standard, std::wstring name)
      : hwnd_(hwnd), standard_(standard), name_(std::move(name)) {}
  NamedAccessible(const NamedAccessible&) = delete;
  NamedAccessible& operator=(const NamedAccessible&) = delete;

  // IUnknown.
  HRESULT STDMETHODCALLTYPE QueryInterface(REFIID riid, void** out) override {
    if (!out) return E_POINTER;
    if (IsEqualIID(riid, IID_IUnknown) || IsEqualIID(riid, IID_IDispatch) || IsEqualIID(riid, kIAccessible)) {
      *out = static_cast<IAccessible*>(this);
    } else if (IsEqualIID(riid, IID_IOleWindow)) {
      *out = static_cast<IOleWindow*>(this);
    } else {
      *out = nullptr;
      return E_NOINTERFACE;
    }
    AddRef();
    return S_OK;
  }
  ULONG STDMETHODCALLTYPE AddRef() override { return ++references_; }
  ULONG STDMETHODCALLTYPE Release() override {
    const ULONG left = --references_;
    if (left == 0) delete this;
    return left;
  }

  // IDispatch.
  HRESULT STDMETHODCALLTYPE GetTypeInfoCount(UINT* count) override { return standard_->GetTypeInfoCount(count); }
  HRESULT STDMETHODCALLTYPE GetTypeInfo(UINT i, LCID lcid, ITypeInfo** info) override {
    return standard_->GetTypeInfo(i, lcid, info);
  }
  HRESULT STDMETHODCALLTYPE GetIDsOfNames(REFIID riid, LPOLESTR* names, UINT count, LCID lcid, DISPID* ids) override {
    return standard_->GetIDsOfNames(riid, names, count, lcid, ids);
  }
  HRESULT STDMETHODCALLTYPE Invoke(DISPID id, REFIID riid, LCID lcid, WORD flags, DISPPARAMS* params, VARIANT* result,
                                   EXCEPINFO* exception, UINT* bad_argument) override {
    return standard_->Invoke(id, riid, lcid, flags, params, result, exception, bad_argument);
  }

  // IAccessible.
  HRESULT STDMETHODCALLTYPE get_accName(VARIANT child, BSTR* name) override {
    if (!IsSelf(child)) return standard_->get_accName(child, name);
    if (!name) return E_POINTER;
    *name = SysAllocString(name_.c_str());
    return *name ? S_OK : E_OUTOFMEMORY;
  }
  HRESULT STDMETHODCALLTYPE get_accParent(IDispatch** parent) override { return standard_->get_accParent(parent); }
  HRESULT STDMETHODCALLTYPE get_accChildCount(LONG* count) override { return standard_->get_accChildCount(count); }
  HRESULT STDMETHODCALLTYPE get_accChild(VARIANT child, IDispatch** out) override {
    return standard_->get_accChild(child, out);
  }
  HRESULT STDMETHODCALLTYPE get_accValue(VARIANT child, BSTR* value) override {
    return standard_->get_accValue(child, value);
  }
  HRESULT STDMETHODCALLTYPE get_accDescription(VARIANT child, BSTR* text) override {
    return standard_->get_accDescription(child, text);
  }
  HRESULT STDMETHODCALLTYPE get_accRole(VARIANT child, VARIANT* role) override {
    return standard_->get_accRole(child, role);
  }
  HRESULT STDMETHODCALLTYPE get_accState(VARIANT child, VARIANT* state) override {
    return standard_->get_accState(child, state);
  }
  HRESULT STDMETHODCALLTYPE get_accHelp(VARIANT child, BSTR* help) override {
    return standard_->get_accHelp(child, help);
  }
  HRESULT STDMETHODCALLTYPE get_accHelpTopic(BSTR* file, VARIANT child, LONG* topic) override {
    return standard_->get_accHelpTopic(file, child, topic);
  }
  HRESULT STDMETHODCALLTYPE get_accKeyboardShortcut(VARIANT child, BSTR* keys) override {
    return standard_->get_accKeyboardShortcut(child, keys);
  }
  HRESULT STDMETHODCALLTYPE get_accFocus(VARIANT* child) override { return standard_->get_accFocus(child); }
  HRESULT STDMETHODCALLTYPE get_accSelection(VARIANT* children) override {
    return standard_->get_accSelection(children);
  }
  HRESULT STDMETHODCALLTYPE get_accDefaultAction(VARIANT child, BSTR* action) override {
    return standard_->get_accDefaultAction(child, action);
  }
  HRESULT STDMETHODCALLTYPE accSelect(LONG how, VARIANT child) override { return standard_->accSelect(how, child); }
  HRESULT STDMETHODCALLTYPE accLocation(LONG* x, LONG* y, LONG* w, LONG* h, VARIANT child) override {
    return standard_->accLocation(x, y, w, h, child);
  }
  HRESULT STDMETHODCALLTYPE accNavigate(LONG direction, VARIANT start, VARIANT* end) override {
    return standard_->accNavigate(direction, start, end);
  }
  HRESULT STDMETHODCALLTYPE accHitTest(LONG x, LONG y, VARIANT* child) override {
    return standard_->accHitTest(x, y, child);
  }
  HRESULT STDMETHODCALLTYPE accDoDefaultAction(VARIANT child) override { return standard_->accDoDefaultAction(child); }
  HRESULT STDMETHODCALLTYPE put_accName(VARIANT child, BSTR name) override {
    return standard_->put_accName(child, name);
  }
  HRESULT STDMETHODCALLTYPE put_accValue(VARIANT child, BSTR value) override {
    return standard_->put_accValue(child, value);
  }

  // IOleWindow: which window this object stands for (WindowFromAccessibleObject).
  HRESULT STDMETHODCALLTYPE GetWindow(HWND* hwnd) override {
    if (!hwnd) return E_POINTER;
    *hwnd = hwnd_;
    return S_OK;
  }
  HRESULT STDMETHODCALLTYPE ContextSensitiveHelp(BOOL) override { return E_NOTIMPL; }

 private:
  ~NamedAccessible() { standard_->Release(); }

  HWND hwnd_;
  IAccessible* standard_;
  std::wstring name_;
  std::atomic<ULONG> references_{1};
};

}  // namespace

bool AnswerGetObject(HWND hwnd, WPARAM w, LPARAM l, std::string_view name, LRESULT& result) {
  if (static_cast<LONG>(static_cast<DWORD>(l)) != OBJID_CLIENT || name.empty()) return false;
  const Oleacc& oleacc = Library();
  if (!oleacc.create_std || !oleacc.lresult_from_object) return false;
  IAccessible* standard = nullptr;
  if (FAILED(oleacc.create_std(hwnd, OBJID_CLIENT, kIAccessible, reinterpret_cast<void**>(&standard))) || !standard)
    return false;
  auto* named = new NamedAccessible(hwnd, standard, Widen(name));
  // The answer holds its own reference (the caller's, once it takes the object); ours goes.
  result = oleacc.lresult_from_object(kIAccessible, w, static_cast<IAccessible*>(named));
  named->Release();
  return true;
}

void NameChanged(HWND hwnd) {
  if (hwnd) NotifyWinEvent(EVENT_OBJECT_NAMECHANGE, hwnd, OBJID_CLIENT, CHILDID_SELF);
}

}  // namespace raziz::ui::win32
