#include "repository/ui/MakeItFitDlg.h"

#include <QDialogButtonBox>
#include <QFormLayout>
#include <QLabel>
#include <QPlainTextEdit>
#include <QPushButton>
#include <QSpinBox>
#include <QVBoxLayout>

#include "fit/FitMidi.h"
#include "fit/FitReportText.h"

namespace vantrel {

MakeItFitDlg::MakeItFitDlg(std::filesystem::path source, QWidget* parent)
    : QDialog(parent), source_(std::move(source)) {
    setObjectName(QStringLiteral("MakeItFitDlg"));
    setWindowTitle(QStringLiteral("Make it fit\u2026"));
    auto* intro = new QLabel(
        QString::fromStdString(source_.filename().string()) +
            QStringLiteral(": a fitted copy, made as below, is imported under this name on OK. "
                           "The file itself stays as it is."),
        this);
    intro->setWordWrap(true);
    measures_ = new QSpinBox(this);
    measures_->setObjectName(QStringLiteral("Measures"));
    measures_->setRange(0, 999);
    measures_->setSpecialValueText(QStringLiteral("all"));
    report_ = new QPlainTextEdit(this);
    report_->setObjectName(QStringLiteral("FitReport"));
    report_->setReadOnly(true);

    auto* buttons = new QDialogButtonBox(QDialogButtonBox::Ok | QDialogButtonBox::Cancel, this);
    ok_ = buttons->button(QDialogButtonBox::Ok);

    auto* options = new QFormLayout;
    options->addRow(QStringLiteral("Keep the first measures:"), measures_);
    auto* layout = new QVBoxLayout(this);
    layout->addWidget(intro);
    layout->addLayout(options);
    layout->addWidget(report_, 1);
    layout->addWidget(buttons);
    resize(680, 400);

    connect(buttons, &QDialogButtonBox::accepted, this, &QDialog::accept);
    connect(buttons, &QDialogButtonBox::rejected, this, &QDialog::reject);
    connect(measures_, &QSpinBox::valueChanged, this, [this] { Refit(); });
    Refit();
}

void MakeItFitDlg::Refit() {
    FitOptions options;
    if (measures_->value() > 0)
        options.measures = static_cast<std::uint32_t>(measures_->value());
    result_ = FitMidiFile(source_, options);
    QString text;
    for (const std::string& line : FitReportLines(result_))
        text += QString::fromStdString(line) + QLatin1Char('\n');
    report_->setPlainText(text);
    ok_->setEnabled(!result_.refused && result_.checkErrors.empty());
}

}  // namespace vantrel
