// Speed of the settings file held as one document, for the full model (32 bars of 64
// attributed items and 32 window lists of 100 entries), for a quarter and a half of it and for
// twice as much, so that the growth shows:
//   - building the model into an empty document and saving it as a new file;
//   - the exit save when nothing changed (every key written again, then saved);
//   - the exit save when every value changed;
//   - loading the file and reading the model the way the loader does.
// Each figure is the median of 15 runs.
#include <windows.h>

#include <algorithm>
#include <cstdio>
#include <functional>
#include <string>
#include <vector>

#include "Harness.h"
#include "model/SettingsDocument.h"

using namespace orvale;

namespace {

double NowMs() {
    LARGE_INTEGER frequency, now;
    QueryPerformanceFrequency(&frequency);
    QueryPerformanceCounter(&now);
    return 1000.0 * static_cast<double>(now.QuadPart) / static_cast<double>(frequency.QuadPart);
}

double MedianMs(const std::function<void()>& run) {
    std::vector<double> times;
    for (int i = 0; i < 15; ++i) {
        double start = NowMs();
        run();
        times.push_back(NowMs() - start);
    }
    std::sort(times.begin(), times.end());
    return times[times.size() / 2];
}

std::wstring Format(const wchar_t* format, int a, int b = 0) {
    wchar_t text[64];
    swprintf(text, 64, format, a, b);
    return text;
}

// Writes every key of the model in the order of the full save; `round` changes every value.
void WriteModel(SettingsDocument& document, int items, int entries, int round) {
    const std::wstring tag = std::to_wstring(round);
    document.Write(L"TaskBar+", L"en", L"1");
    document.Write(L"TaskBar+", L"horiz", std::to_wstring(round % 2));
    for (int bar = 1; bar <= 32; ++bar) {
        for (int item = 0; item <= items; ++item) {
            const std::wstring section = Format(L"menu+:%02d:%02d", bar, item);
            if (item == items) {
                document.Write(section, L"type", L"0");
                break;
            }
            document.Write(section, L"type", L"101");
            document.Write(section, L"wnd", L"Untitled - Notepad " + tag);
            document.Write(section, L"pth", L"C:\\Program Files\\Tool " + tag + L"\\tool.exe");
            document.Write(section, L"ipth", L"default");
            document.Write(section, L"inum", std::to_wstring(round));
            document.Write(section, L"par", L"/open report-" + tag + L".txt");
            document.Write(section, L"dir", L"C:\\Work\\" + tag);
            document.Write(section, L"tt", Format(L"Item %d of bar %d ", item, bar) + tag);
        }
        const std::wstring section = Format(L"Menu+%02d", bar);
        document.Write(section, L"en", L"1");
        document.Write(section, L"horiz", std::to_wstring(round % 2));
        document.Write(section, L"name", L"Bar " + std::to_wstring(bar) + L" " + tag);
    }
    for (int list = 0; list < 32; ++list) {
        const std::wstring section = Format(L"wndctx%d", list);
        for (int entry = 0; entry < entries; ++entry) {
            document.Write(section, std::to_wstring(entry),
                           Format(L"Window %d - %d ", list, entry) + tag);
        }
        document.Write(section, std::to_wstring(entries), L".");
        document.Write(section, L"inc", L"0");
    }
}

// Reads the model the way the loader does: items until a "type" of 0 or a missing one, lists
// until "." or a missing entry.
size_t ReadModel(const SettingsDocument& document) {
    size_t values = 0;
    std::wstring value;
    for (int bar = 1; bar <= 32; ++bar) {
        const std::wstring section = Format(L"Menu+%02d", bar);
        values += document.Find(section, L"en", value) + document.Find(section, L"name", value);
        for (int item = 0;; ++item) {
            const std::wstring items = Format(L"menu+:%02d:%02d", bar, item);
            if (!document.Find(items, L"type", value) || value == L"0") break;
            for (const wchar_t* key : {L"wnd", L"pth", L"ipth", L"inum", L"par", L"dir", L"tt"}) {
                values += document.Find(items, key, value);
            }
        }
    }
    for (int list = 0; list < 32; ++list) {
        const std::wstring section = Format(L"wndctx%d", list);
        for (int entry = 0; document.Find(section, std::to_wstring(entry), value) && value != L".";
             ++entry) {
            ++values;
        }
    }
    return values;
}

void Measure(const std::wstring& path, int items, int entries) {
    DeleteFileW(path.c_str());
    double build = MedianMs([&] {
        SettingsDocument document;
        WriteModel(document, items, entries, 0);
        document.Save(path);
    });
    SettingsDocument document;
    document.Load(path);
    int round = 0;
    double unchanged = MedianMs([&] {
        WriteModel(document, items, entries, 0);
        document.Save(path);
    });
    double changed = MedianMs([&] {
        WriteModel(document, items, entries, ++round);
        document.Save(path);
    });
    size_t values = 0;
    double load = MedianMs([&] {
        SettingsDocument loaded;
        loaded.Load(path);
        values = ReadModel(loaded);
    });
    const std::string bytes = testing_support::ReadFile(std::string(path.begin(), path.end()));
    std::printf(
        "32 bars x %d items, 32 lists x %d entries (%zu KB, %zu values read): "
        "build and first save %.1f ms, exit save unchanged %.1f ms, exit save all "
        "changed %.1f ms, load and read %.1f ms\n",
        items, entries, bytes.size() / 1024, values, build, unchanged, changed, load);
}

}  // namespace

int main() {
    testing_support::TempDir folder;
    const std::string path = folder.File("ov32data.ini");
    const std::wstring widePath(path.begin(), path.end());
    for (int quarters : {1, 2, 4, 8}) Measure(widePath, 16 * quarters, 25 * quarters);
    return 0;
}
