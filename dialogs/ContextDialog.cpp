#include "dialogs/ContextDialog.h"

namespace orvale {

void editList(int) {}

}  // namespace orvale
