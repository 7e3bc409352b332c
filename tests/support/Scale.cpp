#include "Scale.h"

namespace testing_support {
namespace {

const wchar_t* const kDesktop = L"Control Panel\\Desktop";

void SetLogPixels(DWORD dpi) {
    RegSetKeyValueW(HKEY_CURRENT_USER, kDesktop, L"LogPixels", REG_DWORD, &dpi, sizeof dpi);
}

}  // namespace

ScaleOfNewPrograms::ScaleOfNewPrograms(DWORD dpi) {
    DWORD size = sizeof before_;
    had_ = RegGetValueW(HKEY_CURRENT_USER, kDesktop, L"LogPixels", RRF_RT_REG_DWORD, nullptr,
                        &before_, &size) == ERROR_SUCCESS;
    SetLogPixels(dpi);
}

ScaleOfNewPrograms::~ScaleOfNewPrograms() {
    if (had_) {
        SetLogPixels(before_);
    } else {
        RegDeleteKeyValueW(HKEY_CURRENT_USER, kDesktop, L"LogPixels");
    }
}

}  // namespace testing_support
