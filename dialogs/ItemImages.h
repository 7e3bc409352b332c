// The bar editor's pictures of its rows: one image list, the list view's normal and small image
// list, of the small-icon size at the dialog's DPI (16 x 16 at 96 DPI). Images are never removed
// while the dialog is open. At a new DPI the list is made again at the new size, from the rows'
// items: each icon loaded at that size, not the old pictures stretched.
#pragma once

#include <windows.h>

#include <vector>

#include "model/BarModel.h"
#include "win/Handles.h"

namespace orvale {

class ItemImages {
public:
    // Makes the image list of the list view `list` at `dpi`.
    void Attach(HWND list, UINT dpi);
    // Appends the picture of `item` (its icon rule, or a built-in item's icon): its index, or -1
    // when it has none.
    int Add(const BarItem& item);
    // Makes the image list again at `dpi` from `rows`, the items of the list view's rows in order,
    // and gives each row its new picture.
    void ChangeDpi(UINT dpi, const std::vector<BarItem>& rows);

private:
    int AddTo(HIMAGELIST images, const BarItem& item) const;
    HIMAGELIST Make() const;

    HWND list_ = nullptr;
    int size_ = 16;
    win::ImageListHandle images_;
};

}  // namespace orvale
