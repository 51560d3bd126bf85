/* dll_probe.exe NAME...: loads each named library the plain way (LoadLibraryA with the default
   search path, as a program that does not restrict it would) and prints where each came from.
   The planted-library test runs it beside SETUP.EXE to show that its planted libraries would be
   taken by such a program. Exit code: the number of names that could not be loaded. */
#include <windows.h>

#include <stdio.h>

int main(int argc, char** argv) {
    int failed = 0;
    int i;
    for (i = 1; i < argc; i++) {
        char path[MAX_PATH] = "";
        HMODULE module = LoadLibraryA(argv[i]);
        if (module == NULL) {
            failed++;
            printf("%s: not loaded, error %lu\n", argv[i], GetLastError());
            continue;
        }
        GetModuleFileNameA(module, path, MAX_PATH);
        printf("%s: %s\n", argv[i], path);
        /* A planted library exports nothing: gone again before a system library calls into it. */
        FreeLibrary(module);
    }
    return failed;
}
