// Saves the settings file over and over until it is killed, so that a test can kill a save at
// any moment: it loads two settings files and saves them in turn as the third.
//   settings_saver.exe <first file> <second file> <settings file>
#include <windows.h>

#include <shellapi.h>

#include "model/SettingsDocument.h"

int WINAPI WinMain(HINSTANCE, HINSTANCE, LPSTR, int) {
    int count = 0;
    LPWSTR* args = CommandLineToArgvW(GetCommandLineW(), &count);
    if (!args || count < 4) return 2;
    orvale::SettingsDocument documents[2];
    documents[0].Load(args[1]);
    documents[1].Load(args[2]);
    for (int turn = 0;; turn ^= 1) documents[turn].Save(args[3]);
}
