#include "audio/device/wasapi_probe.h"

#ifndef NOMINMAX
#define NOMINMAX
#endif
#include <windows.h>
#include <mfapi.h>
#include <mftransform.h>
#include <objbase.h>
#include <wmcodecdsp.h>

namespace raziz::device {

bool wasapi_resampler_available() {
  const HRESULT com = CoInitializeEx(nullptr, COINIT_MULTITHREADED);
  bool available = false;
  if (SUCCEEDED(MFStartup(MF_VERSION, MFSTARTUP_NOSOCKET))) {
    IUnknown* unknown = nullptr;
    if (SUCCEEDED(CoCreateInstance(CLSID_CResamplerMediaObject, nullptr, CLSCTX_INPROC_SERVER, IID_IUnknown,
                                   reinterpret_cast<void**>(&unknown))) &&
        unknown) {
      IMFTransform* transform = nullptr;
      available = SUCCEEDED(unknown->QueryInterface(IID_PPV_ARGS(&transform))) && transform;
      if (transform) transform->Release();
      unknown->Release();
    }
    MFShutdown();
  }
  if (SUCCEEDED(com)) CoUninitialize();
  return available;
}

}  // namespace raziz::device
