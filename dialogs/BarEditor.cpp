#include "dialogs/BarEditor.h"

namespace orvale {

// The bar editor has not been written yet: nothing opens and nothing changes.
bool EditBar(BarDef&) { return false; }

}  // namespace orvale
