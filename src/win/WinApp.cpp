#include "WinApp.h"

#include "Wnd.h"
#include "settings/RegistryStore.h"

namespace {

CWinApp* g_app = nullptr;

// What an application with no store reads and writes: defaults only, nothing kept.
class CNoStore : public CSettingsStore {
public:
    int32_t Read(const char*, const char*, int32_t defaultValue) override { return defaultValue; }
    void Write(const char*, const char*, int32_t) override {}
    void Wipe() override {}
};

CNoStore g_noStore;

} // namespace

CWinApp* AfxGetApp()
{
    return g_app;
}

CSettingsStore& AfxGetStore()
{
    return g_app != nullptr ? g_app->GetStore() : g_noStore;
}

CWinApp::CWinApp(const char* appName)
{
    if (appName != nullptr)
        m_appName = appName;
    g_app = this;
}

CWinApp::~CWinApp()
{
    if (g_app == this)
        g_app = nullptr;
}

void CWinApp::SetAppName(const char* appName)
{
    m_appName = appName != nullptr ? appName : "";
    if (m_registryStore)
        SetRegistryKey(m_registryKey.c_str());
}

void CWinApp::SetRegistryKey(const char* company)
{
    m_registryKey = company != nullptr ? company : "";
    m_registryStore = std::make_unique<CRegistryStore>(m_registryKey.c_str(), m_appName.c_str());
}

CSettingsStore& CWinApp::GetStore()
{
    if (m_borrowedStore != nullptr)
        return *m_borrowedStore;
    if (m_registryStore)
        return *m_registryStore;
    return g_noStore;
}

int32_t CWinApp::GetProfileInt(const char* section, const char* key, int32_t defaultValue)
{
    return GetStore().Read(section, key, defaultValue);
}

void CWinApp::WriteProfileInt(const char* section, const char* key, int32_t value)
{
    GetStore().Write(section, key, value);
}

bool CWinApp::PreTranslateMessage(MSG* message)
{
    return PreTranslateThroughWindows(message);
}

int CWinApp::Run()
{
    if (m_pMainWnd == nullptr || !m_pMainWnd->IsWindow())
        return 0;
    MSG message = {};
    while (GetMessageA(&message, nullptr, 0, 0) > 0) {
        if (!PreTranslateMessage(&message)) {
            TranslateMessage(&message);
            DispatchMessageA(&message);
        }
        CWnd::DeleteTemporaryWrappers();
    }
    return static_cast<int>(message.wParam);
}

int RunApplication(HINSTANCE instance, int argc, char** argv)
{
    CWinApp* app = AfxGetApp();
    if (app == nullptr)
        return 1;
    app->m_hInstance = instance;
    app->m_argc = argc;
    app->m_argv = argv;
    if (!app->StartUp())
        return 0;
    return app->Run();
}
