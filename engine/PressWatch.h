// While another program's menu is open beside the bars, that program owns the mouse: a press
// on a bar goes to it (it closes the menu there), and often the release too, so the bar would
// never hear of the click. The watch looks at the mouse buttons every few milliseconds while
// bars stand beside such a menu, and hands a press made over a bar to that bar.
#pragma once

namespace orvale {

// Starts (true) or stops the watch; starting it again while it runs changes nothing.
void WatchPressesOnBars(bool on);

}  // namespace orvale
