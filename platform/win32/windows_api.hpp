#pragma once

// The one way this backend includes the Windows headers.
#include <windows.h>
// Those above come first: the ones below depend on them.
#include <commctrl.h>
#include <mmsystem.h>
#include <windowsx.h>

// wingdi.h's RGB macro would rewrite the runtime's own RGB() wherever its
// header is read afterwards. That function packs a colour exactly as a
// COLORREF does, so it serves here too.
#undef RGB
// The host's own member of this name would be renamed to the W function.
#undef SystemParametersInfo
