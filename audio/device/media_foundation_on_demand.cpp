// The five Media Foundation calls the WASAPI output makes, resolved from mfplat.dll when first used instead
// of being imported. Windows editions without Media Foundation (the N editions) then still start the program:
// the calls fail there, the WASAPI probe sees that, and sound goes through DirectSound.

#include <windows.h>

#include <mfapi.h>

namespace {

template <typename Function>
Function Resolve(const char* name) {
  static HMODULE library = LoadLibraryW(L"mfplat.dll");
  if (!library) return nullptr;
  return reinterpret_cast<Function>(reinterpret_cast<void*>(GetProcAddress(library, name)));
}

}  // namespace

extern "C" {

HRESULT WINAPI MFStartup(ULONG version, DWORD flags) {
  using Call = HRESULT(WINAPI*)(ULONG, DWORD);
  static const Call call = Resolve<Call>("MFStartup");
  return call ? call(version, flags) : E_NOTIMPL;
}

HRESULT WINAPI MFShutdown() {
  using Call = HRESULT(WINAPI*)();
  static const Call call = Resolve<Call>("MFShutdown");
  return call ? call() : E_NOTIMPL;
}

HRESULT WINAPI MFCreateMediaType(IMFMediaType** type) {
  using Call = HRESULT(WINAPI*)(IMFMediaType**);
  static const Call call = Resolve<Call>("MFCreateMediaType");
  return call ? call(type) : E_NOTIMPL;
}

HRESULT WINAPI MFCreateSample(IMFSample** sample) {
  using Call = HRESULT(WINAPI*)(IMFSample**);
  static const Call call = Resolve<Call>("MFCreateSample");
  return call ? call(sample) : E_NOTIMPL;
}

HRESULT WINAPI MFCreateMemoryBuffer(DWORD length, IMFMediaBuffer** buffer) {
  using Call = HRESULT(WINAPI*)(DWORD, IMFMediaBuffer**);
  static const Call call = Resolve<Call>("MFCreateMemoryBuffer");
  return call ? call(length, buffer) : E_NOTIMPL;
}

}  // extern "C"
