// The program with the tracker as it was before it learnt to rest: a tick every 50 ms whatever
// happens, and every probe point asked in turn. Built for the benchmark only, which runs it
// beside the program as it is and prints the two side by side.
#include <windows.h>

#include "app/Program.h"
#include "engine/Tracker.h"

int WINAPI WinMain(HINSTANCE, HINSTANCE, LPSTR, int) {
    orvale::UseFixedTickForBenchmark();
    return orvale::RunProgram();
}
