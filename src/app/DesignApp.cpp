#include "app/DesignApp.h"

#include "app/MainFrame.h"
#include "platform/Picture.h"

#include <QGuiApplication>
#include <QScreen>

CDesignApp::CDesignApp() = default;
CDesignApp::~CDesignApp() = default;

bool CDesignApp::InitInstance()
{
    m_pMainWnd = std::make_unique<CMainFrame>();
    // Without a window manager nothing would honour "maximised": take the
    // screen's available area first, then ask for the maximised state.
    if (const QScreen* screen = QGuiApplication::primaryScreen())
        m_pMainWnd->setGeometry(screen->availableGeometry());
    m_pMainWnd->showMaximized();
    m_pMainWnd->update();
    return true;
}

int CDesignApp::ExitInstance()
{
    // The main window goes before the application object does.
    m_pMainWnd.reset();
    CPicture::ClearCache();
    return 1;
}
