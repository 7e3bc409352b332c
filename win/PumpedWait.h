// A wait that keeps the thread's windows alive: timer ticks, hook reports and clicks are
// handled while a command waits.
#pragma once

namespace win {

// Waits `ms` milliseconds while dispatching this thread's messages, sleeping 1 ms between
// polls. A quit message is left for the message loop and ends the wait at once.
void PumpedWait(unsigned ms);

}  // namespace win
