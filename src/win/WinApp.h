#pragma once
#include <windows.h>

#include <cstdint>
#include <memory>
#include <string>

#include "settings/SettingsStore.h"

class CWnd;

// The application object: its name, its registry key and the settings store bound to them, the
// main window, and the message loop. One object per process; AfxGetApp() finds it.
//
// The program's entry point (WinEntry.cpp, linked only into the real executable) fills in the
// instance and the arguments, calls StartUp and, when that returns true, Run. Test programs link
// the library without it and drive an application object of their own.
class CWinApp {
public:
    explicit CWinApp(const char* appName = nullptr);
    virtual ~CWinApp();
    CWinApp(const CWinApp&) = delete;
    CWinApp& operator=(const CWinApp&) = delete;

    // Start-up work: true runs the message loop, false ends the program at once.
    virtual bool StartUp() { return false; }
    // The message loop. It ends with WM_QUIT, which destroying the main window posts; with no main
    // window (none made, or its creation failed) it returns at once. Returns the exit code.
    virtual int Run();
    // Every queued message passes here before it is dispatched; true swallows it.
    virtual bool PreTranslateMessage(MSG* message);

    void SetAppName(const char* appName);
    const char* GetAppName() const { return m_appName.c_str(); }
    // Binds the settings to HKEY_CURRENT_USER\Software\<company>\<application name>.
    void SetRegistryKey(const char* company);
    const char* GetRegistryKey() const { return m_registryKey.c_str(); }
    // Uses another store from now on (tests); the caller keeps it alive. nullptr goes back to the
    // registry binding, or to no store at all.
    void SetStore(CSettingsStore* store) { m_borrowedStore = store; }

    // The store in force: with no store bound every read gives its default and writes are lost.
    CSettingsStore& GetStore();
    int32_t GetProfileInt(const char* section, const char* key, int32_t defaultValue);
    void WriteProfileInt(const char* section, const char* key, int32_t value);

    CWnd* m_pMainWnd = nullptr;
    HINSTANCE m_hInstance = nullptr;
    int m_argc = 0;
    char** m_argv = nullptr;

private:
    std::string m_appName;
    std::string m_registryKey;
    std::unique_ptr<CSettingsStore> m_registryStore;
    CSettingsStore* m_borrowedStore = nullptr;
};

// The application object of the process, or nullptr when there is none.
CWinApp* AfxGetApp();
// The application's settings store; with no application object, a store that reads defaults only.
CSettingsStore& AfxGetStore();

// What the entry point does: records instance and arguments, runs StartUp and, when it returns
// true, the message loop. Returns the process exit code.
int RunApplication(HINSTANCE instance, int argc, char** argv);
