// The application object: starts the picture layer, builds and shows the
// main window, and ends with exit code 1.
#pragma once

#include <memory>

class CMainFrame;

class CDesignApp {
public:
    CDesignApp();
    ~CDesignApp();

    // Creates the main window and shows it maximised. Returns true.
    bool InitInstance();
    // The end hook: shuts the picture layer down; its result is the exit code.
    int ExitInstance();

    CMainFrame* MainWindow() const { return m_pMainWnd.get(); }

private:
    std::unique_ptr<CMainFrame> m_pMainWnd;
};
