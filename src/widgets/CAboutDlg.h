#pragma once

#include <QDialog>

namespace vantrel {

// The About box: program icon, name and version, two lines of legal text and OK.
class CAboutDlg : public QDialog {
    Q_OBJECT
  public:
    explicit CAboutDlg(QWidget* parent = nullptr);
};

}  // namespace vantrel
