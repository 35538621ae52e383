// Looks at the program's windows from another process, as a screen reader would. Run beside the program,
// with the class of its top-level windows.
//
//   window-probe.exe names CLASS   for every top-level window of the class and every window inside it, one
//                                  line "role<TAB>name<TAB>value" from the client object
//                                  AccessibleObjectFromWindow gives (Microsoft Active Accessibility; empty
//                                  where there is none; an edit's value is its text)
//   window-probe.exe focus CLASS   "active<TAB>title" and "focus<TAB>class<TAB>text" of the program's
//                                  thread: which window is active and which holds the keyboard focus
//
// Output in UTF-8; exit status 1 when no window of the class exists.

#include <windows.h>
#include <oleacc.h>

#include <cstdio>
#include <string>
#include <vector>

namespace {

// mingw-w64's import library carries a wrong IID_IAccessible.
constexpr GUID kIAccessible = {0x618736e0, 0x3c3d, 0x11cf, {0x81, 0x0c, 0x00, 0xaa, 0x00, 0x38, 0x9b, 0x71}};

std::string Narrow(const wchar_t* text) {
  if (!text || !*text) return {};
  const int n = WideCharToMultiByte(CP_UTF8, 0, text, -1, nullptr, 0, nullptr, nullptr);
  std::string out(static_cast<std::size_t>(n > 0 ? n - 1 : 0), '\0');
  if (n > 1) WideCharToMultiByte(CP_UTF8, 0, text, -1, out.data(), n, nullptr, nullptr);
  return out;
}

void Describe(HWND hwnd) {
  IAccessible* object = nullptr;
  if (FAILED(AccessibleObjectFromWindow(hwnd, static_cast<DWORD>(OBJID_CLIENT), kIAccessible,
                                        reinterpret_cast<void**>(&object))) ||
      !object) {
    std::printf("?\t(no accessible object)\t\n");
    return;
  }
  VARIANT self;
  VariantInit(&self);
  self.vt = VT_I4;
  self.lVal = CHILDID_SELF;
  std::string role = "?";
  VARIANT r;
  VariantInit(&r);
  if (SUCCEEDED(object->get_accRole(self, &r)) && r.vt == VT_I4) {
    wchar_t text[128] = L"";
    GetRoleTextW(static_cast<DWORD>(r.lVal), text, 128);
    role = Narrow(text);
  }
  auto text = [&](HRESULT (STDMETHODCALLTYPE IAccessible::*get)(VARIANT, BSTR*)) {
    BSTR got = nullptr;
    std::string out;
    if ((object->*get)(self, &got) == S_OK && got) out = Narrow(got);
    if (got) SysFreeString(got);
    return out;
  };
  const std::string name = text(&IAccessible::get_accName);
  const std::string value = text(&IAccessible::get_accValue);
  object->Release();
  std::printf("%s\t%s\t%s\n", role.c_str(), name.c_str(), value.c_str());
}

BOOL CALLBACK EachChild(HWND hwnd, LPARAM) {
  Describe(hwnd);
  return TRUE;
}

}  // namespace

std::string TextOf(HWND hwnd) {
  wchar_t text[256] = L"";
  if (hwnd) GetWindowTextW(hwnd, text, 256);
  return Narrow(text);
}

std::string ClassOf(HWND hwnd) {
  wchar_t name[256] = L"";
  if (hwnd) GetClassNameW(hwnd, name, 256);
  return Narrow(name);
}

void Focus(HWND window) {
  GUITHREADINFO info{};
  info.cbSize = sizeof info;
  if (!GetGUIThreadInfo(GetWindowThreadProcessId(window, nullptr), &info)) {
    std::printf("?\t(no thread information)\n");
    return;
  }
  std::printf("active\t%s\n", info.hwndActive ? TextOf(info.hwndActive).c_str() : "(none)");
  if (info.hwndFocus) {
    std::printf("focus\t%s\t%s\n", ClassOf(info.hwndFocus).c_str(), TextOf(info.hwndFocus).c_str());
  } else {
    std::printf("focus\t(none)\n");
  }
}

int main(int argc, char** argv) {
  const std::string mode = argc == 3 ? argv[1] : "";
  if (mode != "names" && mode != "focus") {
    std::fprintf(stderr, "usage: window-probe names|focus CLASS\n");
    return 2;
  }
  CoInitialize(nullptr);
  std::vector<HWND> windows;
  const std::wstring cls(argv[2], argv[2] + std::char_traits<char>::length(argv[2]));
  for (HWND w = FindWindowExW(nullptr, nullptr, cls.c_str(), nullptr); w;
       w = FindWindowExW(nullptr, w, cls.c_str(), nullptr))
    windows.push_back(w);
  if (mode == "focus" && !windows.empty()) Focus(windows.front());
  for (HWND w : windows) {
    if (mode != "names") break;
    Describe(w);
    EnumChildWindows(w, EachChild, 0);  // every descendant, not only the children
  }
  std::fflush(stdout);
  CoUninitialize();
  return windows.empty() ? 1 : 0;
}
