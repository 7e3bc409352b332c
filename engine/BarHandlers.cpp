#include "engine/BarHandlers.h"

#include <utility>

namespace orvale {
namespace {

BarHandlers g_handlers;

}  // namespace

void SetBarHandlers(BarHandlers handlers) { g_handlers = std::move(handlers); }

const BarHandlers& CurrentBarHandlers() { return g_handlers; }

}  // namespace orvale
