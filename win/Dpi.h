// How big things are drawn: the DPI of a window or of a monitor, and sizes scaled from the ones
// the program was designed at, 96 DPI (a 24-pixel button, a 16-pixel icon).
//
// The program declares itself aware of each monitor's DPI (its manifest), and of the system's
// where a system knows nothing finer. The calls that answer per window and per monitor came
// with later systems; each is looked up when first needed. Where they are missing, the program
// is aware of the system's DPI only, and that is the answer everywhere (96 when even the
// screen does not say).
#pragma once

#include <windows.h>

namespace win {

constexpr UINT kDesignDpi = 96;

// The system's DPI: what a program sees on every monitor unless it is aware of each one.
UINT SystemDpi();
// The DPI the system draws `window` at: its monitor's for a program aware of each monitor.
UINT DpiForWindow(HWND window);
// The DPI of a monitor, as this program sees it.
UINT DpiForMonitor(HMONITOR monitor);
UINT DpiForWindowsMonitor(HWND window);

// `pixels` at 96 DPI, at `dpi`.
int Scale(int pixels, UINT dpi);
// A system metric (SM_CXSMICON, SM_CYMENUCHECK...) as the system gives it at `dpi`.
int MetricForDpi(int index, UINT dpi);
// The frame around the client area of a window with these styles at `dpi`, on each side.
RECT FrameForDpi(DWORD style, DWORD exStyle, UINT dpi);
// The system's fonts and non-client sizes at `dpi`.
NONCLIENTMETRICSW NonClientMetricsForDpi(UINT dpi);

// Under per-monitor awareness a dialog made from a template is rescaled by the system when its
// DPI changes; a window that sizes itself (a bar) asks it not to. Nothing where that is not done.
void KeepDialogFromRescaling(HWND dialog);

}  // namespace win
