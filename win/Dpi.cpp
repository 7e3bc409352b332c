#include "win/Dpi.h"

namespace win {
namespace {

// A function of a system library, or null on systems that lack it. The libraries are the
// system's own, loaded for the life of the program.
template <typename Fn>
Fn Lookup(const wchar_t* library, const char* name) {
    HMODULE module = GetModuleHandleW(library);
    if (!module) module = LoadLibraryW(library);
    if (!module) return nullptr;
    return reinterpret_cast<Fn>(reinterpret_cast<void (*)()>(GetProcAddress(module, name)));
}

// Windows 10 (1607 and later), Windows 8.1 for the monitor's DPI.
using GetDpiForSystemFn = UINT(WINAPI*)();
using GetDpiForWindowFn = UINT(WINAPI*)(HWND);
using GetThreadDpiAwarenessContextFn = HANDLE(WINAPI*)();
using GetAwarenessFromDpiAwarenessContextFn = int(WINAPI*)(HANDLE);
using GetProcessDpiAwarenessFn = HRESULT(WINAPI*)(HANDLE, int*);
using GetDpiForMonitorFn = HRESULT(WINAPI*)(HMONITOR, int, UINT*, UINT*);
using GetSystemMetricsForDpiFn = int(WINAPI*)(int, UINT);
using AdjustWindowRectExForDpiFn = BOOL(WINAPI*)(RECT*, DWORD, BOOL, DWORD, UINT);
using SystemParametersInfoForDpiFn = BOOL(WINAPI*)(UINT, UINT, void*, UINT, UINT);
using SetDialogDpiChangeBehaviorFn = BOOL(WINAPI*)(HWND, int, int);

constexpr int kPerMonitorAware = 2;   // DPI_AWARENESS_PER_MONITOR_AWARE, PROCESS_PER_MONITOR_DPI_AWARE
constexpr int kEffectiveDpi = 0;      // MDT_EFFECTIVE_DPI
constexpr int kDisableAllRescaling = 1;  // DDC_DISABLE_ALL

// Whether this program is aware of each monitor's DPI (the manifest asks for it; older
// systems make it aware of the system's DPI only).
bool AwareOfEachMonitor() {
    static const bool aware = [] {
        auto context = Lookup<GetThreadDpiAwarenessContextFn>(L"user32.dll",
                                                              "GetThreadDpiAwarenessContext");
        auto awareness = Lookup<GetAwarenessFromDpiAwarenessContextFn>(
            L"user32.dll", "GetAwarenessFromDpiAwarenessContext");
        if (context && awareness) return awareness(context()) == kPerMonitorAware;
        auto process = Lookup<GetProcessDpiAwarenessFn>(L"shcore.dll", "GetProcessDpiAwareness");
        int value = 0;
        return process && SUCCEEDED(process(nullptr, &value)) && value == kPerMonitorAware;
    }();
    return aware;
}

}  // namespace

UINT SystemDpi() {
    static const UINT dpi = [] {
        if (auto get = Lookup<GetDpiForSystemFn>(L"user32.dll", "GetDpiForSystem")) return get();
        HDC screen = GetDC(nullptr);
        const int pixels = screen ? GetDeviceCaps(screen, LOGPIXELSX) : 0;
        if (screen) ReleaseDC(nullptr, screen);
        return pixels > 0 ? static_cast<UINT>(pixels) : kDesignDpi;
    }();
    return dpi;
}

UINT DpiForWindow(HWND window) {
    static const auto get = Lookup<GetDpiForWindowFn>(L"user32.dll", "GetDpiForWindow");
    const UINT dpi = get && window ? get(window) : 0;
    return dpi ? dpi : SystemDpi();
}

UINT DpiForMonitor(HMONITOR monitor) {
    static const auto get = Lookup<GetDpiForMonitorFn>(L"shcore.dll", "GetDpiForMonitor");
    UINT x = 0, y = 0;
    if (monitor && get && AwareOfEachMonitor() && SUCCEEDED(get(monitor, kEffectiveDpi, &x, &y)) &&
        x > 0) {
        return x;
    }
    return SystemDpi();
}

UINT DpiForWindowsMonitor(HWND window) {
    return DpiForMonitor(MonitorFromWindow(window, MONITOR_DEFAULTTONEAREST));
}

int Scale(int pixels, UINT dpi) { return MulDiv(pixels, static_cast<int>(dpi), kDesignDpi); }

int MetricForDpi(int index, UINT dpi) {
    static const auto get = Lookup<GetSystemMetricsForDpiFn>(L"user32.dll", "GetSystemMetricsForDpi");
    if (get) return get(index, dpi);
    return MulDiv(GetSystemMetrics(index), static_cast<int>(dpi), static_cast<int>(SystemDpi()));
}

RECT FrameForDpi(DWORD style, DWORD exStyle, UINT dpi) {
    static const auto adjust =
        Lookup<AdjustWindowRectExForDpiFn>(L"user32.dll", "AdjustWindowRectExForDpi");
    RECT outer = {0, 0, 0, 0};
    if (!adjust || !adjust(&outer, style, FALSE, exStyle, dpi)) {
        AdjustWindowRectEx(&outer, style, FALSE, exStyle);
    }
    return {-outer.left, -outer.top, outer.right, outer.bottom};
}

NONCLIENTMETRICSW NonClientMetricsForDpi(UINT dpi) {
    static const auto get =
        Lookup<SystemParametersInfoForDpiFn>(L"user32.dll", "SystemParametersInfoForDpi");
    NONCLIENTMETRICSW metrics = {};
    metrics.cbSize = sizeof metrics;
    if (!get || !get(SPI_GETNONCLIENTMETRICS, sizeof metrics, &metrics, 0, dpi)) {
        SystemParametersInfoW(SPI_GETNONCLIENTMETRICS, sizeof metrics, &metrics, 0);
    }
    return metrics;
}

void KeepDialogFromRescaling(HWND dialog) {
    static const auto set =
        Lookup<SetDialogDpiChangeBehaviorFn>(L"user32.dll", "SetDialogDpiChangeBehavior");
    if (set) set(dialog, kDisableAllRescaling, kDisableAllRescaling);
}

}  // namespace win
