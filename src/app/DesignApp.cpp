#include "app/DesignApp.h"

#include "app/MainFrame.h"
#include "platform/FocusKeeper.h"
#include "platform/Picture.h"

#include <QGuiApplication>
#include <QScreen>

CDesignApp::CDesignApp() = default;
CDesignApp::~CDesignApp() = default;

bool CDesignApp::InitInstance()
{
    m_pMainWnd = std::make_unique<CMainFrame>();
    if (const QScreen* screen = QGuiApplication::primaryScreen()) {
        const QRect available = screen->availableGeometry();
        if (WindowManagerIsRunning()) {
            // The size Restore gives back: three quarters of the available
            // area, centred, so the restored window can be moved and sized.
            const QSize normal = available.size() * 3 / 4;
            m_pMainWnd->resize(normal);
            m_pMainWnd->move(available.center() - QPoint(normal.width() / 2, normal.height() / 2));
        } else {
            // Nothing honours "maximised" without a window manager: the
            // window takes the available area itself.
            m_pMainWnd->setGeometry(available);
        }
    }
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
