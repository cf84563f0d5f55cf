#pragma once

#include <QWidget>

class QTextBrowser;

namespace vantrel {

// The user guide in a window of the program's own, for a desktop with no program that shows
// web pages. Links inside the guide are followed in the same window; links to other places are
// handed to the desktop.
class GuideWindow : public QWidget {
    Q_OBJECT
  public:
    // guide: the guide's HTML file.
    explicit GuideWindow(const QString& guide, QWidget* parent = nullptr);

    QTextBrowser& Browser() { return *browser_; }

  private:
    QTextBrowser* browser_;
};

}  // namespace vantrel
