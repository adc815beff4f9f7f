#pragma once
#include "win/WinApp.h"

// The application: names itself, binds the settings to its registry key and starts the mode the
// command line asks for.
class CSaverApp : public CWinApp {
public:
    CSaverApp() : CWinApp(nullptr) {}

    // True when a preview or full-screen window runs as the main window; false ends the program
    // (after the configure sequence, or for a switch it does not know).
    bool StartUp() override;

private:
    bool StartPreview();
    bool StartFullScreen();
};
