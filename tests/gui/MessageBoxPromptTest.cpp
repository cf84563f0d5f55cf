// The window's message boxes: the text exactly as given, the detail line under it, and the
// buttons the keyboard presses.

#include <functional>
#include <utility>

#include <QAbstractButton>
#include <QApplication>
#include <QMessageBox>
#include <QTimer>
#include <QtTest>

#include "widgets/MessageBoxPrompt.h"

namespace vantrel {

class MessageBoxPromptTest : public QObject {
    Q_OBJECT

  private Q_SLOTS:
    void TheDetailIsTheInformativeTextUnderAnUnchangedText() {
        MessageBoxPrompt prompt;
        QString text, detail;
        AnswerNextBox([&](QMessageBox& box) {
            text = box.text();
            detail = box.informativeText();
            QTest::keyClick(&box, Qt::Key_Return);
        });
        prompt.MessageWithDetail("cut.mid:  File is not supported!",
                                 "cut.mid is not a complete MIDI file");
        QCOMPARE(text, QStringLiteral("cut.mid:  File is not supported!"));
        QCOMPARE(detail, QStringLiteral("cut.mid is not a complete MIDI file"));

        AnswerNextBox([&](QMessageBox& box) {
            detail = box.informativeText();
            box.button(QMessageBox::Yes)->click();
        });
        QCOMPARE(prompt.AskWithDetail("Overwrite?", PromptButtons::YesNo, "Slot 2: Rock"),
                 PromptAnswer::Yes);
        QCOMPARE(detail, QStringLiteral("Slot 2: Rock"));

        AnswerNextBox([&](QMessageBox& box) {
            detail = box.informativeText();
            QTest::keyClick(&box, Qt::Key_Escape);
        });
        QCOMPARE(prompt.Ask("Overwrite a.mid?", PromptButtons::YesNoCancel), PromptAnswer::Cancel);
        QVERIFY(detail.isEmpty());
    }

  private:
    // Runs act on the next modal box once it is shown. Each poll hands act on by value, so no
    // callable refers to itself and nothing outlives the answered box.
    static void AnswerNextBox(std::function<void(QMessageBox&)> act) {
        QTimer::singleShot(0, [act = std::move(act)] { PollForBox(act); });
    }

    static void PollForBox(const std::function<void(QMessageBox&)>& act) {
        if (auto* box = qobject_cast<QMessageBox*>(QApplication::activeModalWidget())) {
            act(*box);
        } else {
            QTimer::singleShot(10, [act] { PollForBox(act); });
        }
    }
};

}  // namespace vantrel

QTEST_MAIN(vantrel::MessageBoxPromptTest)
#include "MessageBoxPromptTest.moc"
