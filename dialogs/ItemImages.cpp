#include "dialogs/ItemImages.h"

#include <commctrl.h>

#include "model/BuiltInItems.h"
#include "win/Dpi.h"
#include "win/SizedIcons.h"

namespace orvale {

HIMAGELIST ItemImages::Make() const {
    return ImageList_Create(size_, size_, ILC_COLOR32 | ILC_MASK, 1, 1);
}

void ItemImages::Attach(HWND list, UINT dpi) {
    list_ = list;
    size_ = win::MetricForDpi(SM_CXSMICON, dpi);
    images_.Reset(Make());
    ListView_SetImageList(list_, images_.Get(), LVSIL_NORMAL);
    ListView_SetImageList(list_, images_.Get(), LVSIL_SMALL);
}

int ItemImages::AddTo(HIMAGELIST images, const BarItem& item) const {
    HICON icon = nullptr;
    if (item.IsAttributed()) {
        icon = loadItemIcon(item, size_);
    } else if (const BuiltInItem* builtIn = FindBuiltIn(item.Type())) {
        icon = win::LoadResourceIcon(nullptr, builtIn->icon, size_);
    }
    if (!icon) return -1;  // no image: the row shows none
    // The list keeps a copy.
    const int index = ImageList_AddIcon(images, icon);
    DestroyIcon(icon);
    return index;
}

int ItemImages::Add(const BarItem& item) { return AddTo(images_.Get(), item); }

void ItemImages::ChangeDpi(UINT dpi, const std::vector<BarItem>& rows) {
    const int size = win::MetricForDpi(SM_CXSMICON, dpi);
    if (!list_ || size == size_) return;
    size_ = size;
    win::ImageListHandle fresh(Make());
    for (size_t row = 0; row < rows.size(); ++row) {
        LVITEMW entry = {};
        entry.mask = LVIF_IMAGE;
        entry.iItem = static_cast<int>(row);
        entry.iImage = AddTo(fresh.Get(), rows[row]);
        ListView_SetItem(list_, &entry);
    }
    // The list view shares the lists (LVS_SHAREIMAGELISTS): the old one goes once replaced.
    ListView_SetImageList(list_, fresh.Get(), LVSIL_NORMAL);
    ListView_SetImageList(list_, fresh.Get(), LVSIL_SMALL);
    images_ = std::move(fresh);
}

}  // namespace orvale
