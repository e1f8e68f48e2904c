// Stands in for a program that Lunavista launches (a browser): appends its own name and command
// line to the file named by LV_LAUNCH_LOG, then ends.
#define WIN32_LEAN_AND_MEAN
#include <windows.h>

#include <cstdio>
#include <cstdlib>

int main()
{
    const char* log = std::getenv("LV_LAUNCH_LOG");
    if (log == nullptr) {
        return 1;
    }
    std::FILE* out = std::fopen(log, "ab");
    if (out == nullptr) {
        return 1;
    }
    std::fprintf(out, "%s\n", GetCommandLineA());
    std::fclose(out);
    return 0;
}
