#include "app/StarterSettings.h"

#include "resources/resource.h"
#include "win/Handles.h"

namespace orvale {
namespace {

struct Bytes {
    const void* data = nullptr;
    DWORD size = 0;
};

// The starter settings as the program's resources hold them; empty when they are missing.
Bytes StarterSettingsResource() {
    HMODULE module = GetModuleHandleW(nullptr);
    HRSRC found = FindResourceW(module, MAKEINTRESOURCEW(IDR_STARTER_SETTINGS),
                                MAKEINTRESOURCEW(10));  // RT_RCDATA
    HGLOBAL loaded = found ? LoadResource(module, found) : nullptr;
    Bytes bytes;
    if (loaded) {
        bytes.data = LockResource(loaded);
        bytes.size = bytes.data ? SizeofResource(module, found) : 0;
    }
    return bytes;
}

}  // namespace

bool WriteStarterSettingsIfMissing(const std::wstring& path) {
    const Bytes starter = StarterSettingsResource();
    if (starter.size == 0) return false;
    // CREATE_NEW fails when any file of that name exists: the check and the creation are one
    // step, so no file the user has is ever replaced.
    win::KernelHandle file(CreateFileW(path.c_str(), GENERIC_WRITE, 0, nullptr, CREATE_NEW,
                                       FILE_ATTRIBUTE_NORMAL, nullptr));
    if (!file) return false;
    DWORD written = 0;
    const bool complete = WriteFile(file.Get(), starter.data, starter.size, &written, nullptr) &&
                          written == starter.size;
    file.Reset();
    // A half-written file (a full disk) would load as half the bars; the file is ours, so it
    // goes, and the program starts with no settings as it would have before.
    if (!complete) DeleteFileW(path.c_str());
    return complete;
}

}  // namespace orvale
