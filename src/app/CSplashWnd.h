#pragma once

#include <QPixmap>
#include <QWidget>

namespace vantrel {

// The picture shown while the main window is built. It has no title, centres itself on the
// screen and is closed by the application on the first tick of the event loop.
class CSplashWnd : public QWidget {
    Q_OBJECT
  public:
    static constexpr int kWidth = 800;
    static constexpr int kHeight = 600;

    // Null when the picture cannot be loaded: the program then starts without a splash.
    static CSplashWnd* Create();

  protected:
    void paintEvent(QPaintEvent* event) override;

  private:
    explicit CSplashWnd(QPixmap picture);
    QPixmap picture_;
};

}  // namespace vantrel
