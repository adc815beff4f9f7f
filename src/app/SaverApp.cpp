#include "SaverApp.h"

#include "app/Configure.h"
#include "app/Modes.h"
#include "view/SaverWnd.h"
#include "view/SimView.h"

bool CSaverApp::StartUp()
{
    SetAppName("Ascenda");
    SetRegistryKey("Orvane's Registry Bits");
    switch (SelectMode(m_argc, m_argv)) {
    case SAVER_CONFIGURE:
        RunConfigure();
        return false;
    case SAVER_PREVIEW:
        return StartPreview();
    case SAVER_FULL_SCREEN:
        return StartFullScreen();
    case SAVER_NONE:
        break;
    }
    return false;
}

// The windows become the main window before they are created: a creation that fails destroys
// the window (and the self-deleting object) at once, and the main-window binding then ends the
// message loop instead of leaving it running with no window.

bool CSaverApp::StartPreview()
{
    HWND parent = FindPreviewParent(m_argc, m_argv);
    if (parent == nullptr)
        return false;
    CSimView* view = new CSimView(true);
    RECT client = {};
    ::GetClientRect(parent, &client);
    m_pMainWnd = view;
    view->CreateView(0, WS_CHILD | WS_VISIBLE, client, CWnd::FromHandle(parent), 0, nullptr);
    return true;
}

bool CSaverApp::StartFullScreen()
{
    CSaverWnd* window = new CSaverWnd;
    m_pMainWnd = window;
    // A saver that cannot show itself ends at once, with nothing left running.
    return window->CreateFullScreen();
}
