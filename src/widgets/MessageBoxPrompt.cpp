#include "widgets/MessageBoxPrompt.h"

#include <QMessageBox>

namespace vantrel {

namespace {

int Show(QWidget* parent, const std::string& text, QMessageBox::StandardButtons buttons) {
    QMessageBox box(QMessageBox::NoIcon, QStringLiteral("Vantrel"), QString::fromStdString(text),
                    buttons, parent);
    return box.exec();
}

}  // namespace

void MessageBoxPrompt::Message(const std::string& text) {
    Show(parent_, text, QMessageBox::Ok);
}

PromptAnswer MessageBoxPrompt::Ask(const std::string& text, PromptButtons buttons) {
    QMessageBox::StandardButtons offered = QMessageBox::Yes | QMessageBox::No;
    if (buttons == PromptButtons::YesNoCancel) {
        offered |= QMessageBox::Cancel;
    }
    switch (Show(parent_, text, offered)) {
        case QMessageBox::Yes:
            return PromptAnswer::Yes;
        case QMessageBox::Cancel:
            return PromptAnswer::Cancel;
        default:
            // Escape picks Cancel where it is offered, otherwise No.
            return PromptAnswer::No;
    }
}

}  // namespace vantrel
