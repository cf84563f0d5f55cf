#pragma once

#include <QAbstractButton>
#include <QPixmap>

namespace vantrel {

// A button drawn from two pictures: one shown normally, the other while the mouse is over it or
// presses it. The pictures are SVG resources rendered at the button's size, so they stay sharp
// whatever size the layout gives; the background shows through their transparent parts.
class CGdipButton : public QAbstractButton {
    Q_OBJECT
  public:
    CGdipButton(const QString& normalPicture, const QString& activePicture,
                QWidget* parent = nullptr);

    // True while the second picture is shown.
    bool ShowsActivePicture() const;

  protected:
    void paintEvent(QPaintEvent* event) override;
    void resizeEvent(QResizeEvent* event) override;
    void enterEvent(QEnterEvent* event) override;
    void leaveEvent(QEvent* event) override;
    // Return and Enter press a focused button as Space does.
    void keyPressEvent(QKeyEvent* event) override;

  private:
    QString normalPicture_;
    QString activePicture_;
    QPixmap normal_;
    QPixmap active_;
};

}  // namespace vantrel
