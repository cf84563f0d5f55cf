#pragma once

#include <QDialog>
#include <filesystem>
#include <functional>

#include "fit/FitResult.h"

class QPlainTextEdit;
class QPushButton;
class QSpinBox;

namespace vantrel {

// "Make it fit…", offered after an import refused a file: fits a copy of the file (the file
// itself is only read) and shows every change, the notes in and out of each channel and the
// bytes against the keyboard's block, with a choice of how many measures to keep. OK, offered
// once the copy passes the pattern rules, means: import the fitted copy under the file's name.
class MakeItFitDlg : public QDialog {
    Q_OBJECT
  public:
    explicit MakeItFitDlg(std::filesystem::path source, QWidget* parent = nullptr);

    QPushButton& OkButton() { return *ok_; }
    QSpinBox& MeasuresBox() { return *measures_; }
    QPlainTextEdit& Report() { return *report_; }
    // The fit shown.
    const FitResult& Result() const { return result_; }

  private:
    void Refit();

    std::filesystem::path source_;
    FitResult result_;
    QPushButton* ok_;
    QSpinBox* measures_;
    QPlainTextEdit* report_;
};

// Runs the dialog; true when the user chose OK. Tests answer it in place.
using FitDialogRunner = std::function<bool(MakeItFitDlg&)>;

}  // namespace vantrel
