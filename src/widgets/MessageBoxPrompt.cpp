#include "widgets/MessageBoxPrompt.h"

#include <QMessageBox>
#include <QPushButton>

namespace vantrel {

namespace {

int Show(QWidget* parent, const std::string& text, const std::string& detail,
         QMessageBox::StandardButtons buttons) {
    QMessageBox box(QMessageBox::NoIcon, QStringLiteral("Vantrel"), QString::fromStdString(text),
                    buttons, parent);
    if (!detail.empty()) {
        box.setInformativeText(QString::fromStdString(detail));
    }
    return box.exec();
}

PromptAnswer AnswerOf(int button) {
    switch (button) {
        case QMessageBox::Yes:
            return PromptAnswer::Yes;
        case QMessageBox::Cancel:
            return PromptAnswer::Cancel;
        default:
            // Escape picks Cancel where it is offered, otherwise No.
            return PromptAnswer::No;
    }
}

QMessageBox::StandardButtons Offered(PromptButtons buttons) {
    QMessageBox::StandardButtons offered = QMessageBox::Yes | QMessageBox::No;
    if (buttons == PromptButtons::YesNoCancel) {
        offered |= QMessageBox::Cancel;
    }
    return offered;
}

}  // namespace

void MessageBoxPrompt::Message(const std::string& text) {
    MessageWithDetail(text, {});
}

PromptAnswer MessageBoxPrompt::Ask(const std::string& text, PromptButtons buttons) {
    return AskWithDetail(text, buttons, {});
}

void MessageBoxPrompt::MessageWithDetail(const std::string& text, const std::string& detail) {
    Show(parent_, text, detail, QMessageBox::Ok);
}

PromptAnswer MessageBoxPrompt::AskWithDetail(const std::string& text, PromptButtons buttons,
                                             const std::string& detail) {
    return AnswerOf(Show(parent_, text, detail, Offered(buttons)));
}

bool MessageBoxPrompt::Offer(const std::string& text, const std::string& action) {
    QMessageBox box(QMessageBox::NoIcon, QStringLiteral("Vantrel"), QString::fromStdString(text),
                    QMessageBox::Close, parent_);
    QPushButton* chosen = box.addButton(QString::fromStdString(action), QMessageBox::AcceptRole);
    box.exec();
    return box.clickedButton() == chosen;
}

}  // namespace vantrel
