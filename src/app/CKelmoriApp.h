#pragma once

#include <QApplication>
#include <QPointer>
#include <memory>

#include "device/ui/DesktopDeviceLink.h"
#include "widgets/MessageBoxPrompt.h"

namespace vantrel {

class CMainFrame;
class CSplashWnd;

// The application object: reads the command line, builds the main window behind the splash
// picture and closes the splash once the event loop runs.
class CKelmoriApp : public QApplication {
    Q_OBJECT
  public:
    CKelmoriApp(int& argc, char** argv);
    ~CKelmoriApp() override;

    // False when the program cannot start; the caller then ends without running the loop.
    bool InitInstance();

    void ShowSplashScreen();
    void HideSplashScreen();

  private:
    MessageBoxPrompt prompt_;
    // Before the frame: the ports are closed only after every pane is gone.
    std::unique_ptr<DesktopDeviceLink> deviceLink_;
    std::unique_ptr<CMainFrame> frame_;
    QPointer<CSplashWnd> splash_;
    bool splashWanted_ = false;
};

}  // namespace vantrel
