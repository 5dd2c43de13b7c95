// Stands in for the System Information tool in the Windows checks: it
// writes its command line into "<its own path>.started" and ends.
#include <windows.h>

#include <cstdio>
#include <string>

int WINAPI WinMain(HINSTANCE, HINSTANCE, LPSTR, int show)
{
    char self[MAX_PATH];
    const DWORD length = GetModuleFileNameA(nullptr, self, MAX_PATH);
    if (length == 0 || length >= MAX_PATH) {
        return 1;
    }
    const std::string marker = std::string(self, length) + ".started";
    std::FILE* out = std::fopen(marker.c_str(), "wb");
    if (out == nullptr) {
        return 1;
    }
    const bool written = std::fprintf(out, "%s\n%d\n", GetCommandLineA(), show) > 0;
    return std::fclose(out) == 0 && written ? 0 : 1;
}
