// Connects the bars' clicks to what they do: the bar engine reports a click, the actions run
// it, the bar editor edits a bar. Only the application shell knows all three.
#pragma once

namespace orvale {

// Hands the bar windows their handlers; called once at start-up, before the first bar exists.
void ConnectBarHandlers();

}  // namespace orvale
