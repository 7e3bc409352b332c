#include "Scale.h"

namespace testing_support {

ScaleOfNewPrograms::ScaleOfNewPrograms(DWORD dpi) {
    if (RegCreateKeyExW(HKEY_CURRENT_USER, L"Control Panel\\Desktop", 0, nullptr, 0,
                        KEY_QUERY_VALUE | KEY_SET_VALUE, nullptr, &key_, nullptr)) {
        key_ = nullptr;
        return;
    }
    DWORD size = sizeof before_;
    had_ = !RegQueryValueExW(key_, L"LogPixels", nullptr, nullptr,
                             reinterpret_cast<BYTE*>(&before_), &size);
    RegSetValueExW(key_, L"LogPixels", 0, REG_DWORD, reinterpret_cast<const BYTE*>(&dpi),
                   sizeof dpi);
}

ScaleOfNewPrograms::~ScaleOfNewPrograms() {
    if (!key_) return;
    if (had_) {
        RegSetValueExW(key_, L"LogPixels", 0, REG_DWORD, reinterpret_cast<const BYTE*>(&before_),
                       sizeof before_);
    } else {
        RegDeleteValueW(key_, L"LogPixels");
    }
    RegCloseKey(key_);
}

}  // namespace testing_support
