#include <windows.h>

#include <cstdlib>

#include "WinApp.h"

// The program's entry point. The arguments come from the C runtime, already split the usual way.
int WINAPI WinMain(HINSTANCE instance, HINSTANCE, LPSTR, int)
{
    return RunApplication(instance, __argc, __argv);
}
