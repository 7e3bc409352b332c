#include "engine/IconCache.h"

#include <map>

#include "win/SizedIcons.h"

namespace orvale {
namespace {

// By what the icon is loaded from; an entry lives on only while some button holds its icon.
std::map<std::wstring, std::weak_ptr<const win::IconHandle>> g_icons;

constexpr size_t kForgetExpiredAt = 256;

std::wstring SizedKey(const std::wstring& key, int size) {
    return key + L"\n" + std::to_wstring(size);
}

template <typename Load>
SharedIcon Cached(const std::wstring& key, Load load) {
    auto found = g_icons.find(key);
    if (found != g_icons.end()) {
        if (SharedIcon icon = found->second.lock()) return icon;
    }
    if (g_icons.size() >= kForgetExpiredAt) {
        for (auto it = g_icons.begin(); it != g_icons.end();) {
            it = it->second.expired() ? g_icons.erase(it) : std::next(it);
        }
    }
    SharedIcon icon = std::make_shared<const win::IconHandle>(load());
    g_icons[key] = icon;
    return icon;
}

}  // namespace

SharedIcon ItemIcon(const BarItem& item, int size) {
    // The item's icon rule: what it takes the icon from decides which items share it.
    const std::wstring& ipth = item.Ipth();
    std::wstring key = !ipth.empty() && ipth != L"default"
                           ? L"file\n" + ipth + L"\n" + std::to_wstring(item.Inum())
                           : L"shell\n" + item.Pth();
    return Cached(SizedKey(key, size), [&] { return loadItemIcon(item, size); });
}

SharedIcon ProgramIcon(int resourceId, int size) {
    return Cached(SizedKey(L"resource\n" + std::to_wstring(resourceId), size), [&] {
        // A private copy, so it is destroyed like every other icon.
        return win::LoadResourceIcon(nullptr, resourceId, size);
    });
}

SharedIcon FileIcon(const std::wstring& path, int size) {
    return Cached(SizedKey(L"file\n" + path + L"\n0", size),
                  [&] { return win::LoadFileIcon(path, 0, size); });
}

SharedIcon OwnIcon(HICON icon) { return std::make_shared<const win::IconHandle>(icon); }

}  // namespace orvale
