#pragma once
// The one way the driver's sources include the Win32 headers: wide-character API, no min/max macros, and
// without the GetProp/SetProp macros that would rename TGadget's members of the same names.

#ifndef UNICODE
#define UNICODE
#endif
#ifndef _UNICODE
#define _UNICODE
#endif
#ifndef NOMINMAX
#define NOMINMAX
#endif

#include <windows.h>
#include <commctrl.h>
#include <ole2.h>
#include <richedit.h>
#include <shellapi.h>

#undef GetProp
#undef SetProp
