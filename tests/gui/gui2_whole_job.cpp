// The whole job through the main window over the in-process virtual keyboard: connect, import
// the example style's files, combine them, pick a free slot, upload, and see the slot filled.

#include <QTimer>
#include <QtTest>

#include "combine/ui/CTopMiddleView.h"
#include "device/ui/CTopLeftView.h"
#include "device/ui/DevListCtrl.h"
#include "gui2_WindowJob.h"
#include "widgets/CXProgressCtrl.h"
#include "widgets/MidiTypeIcon.h"

namespace vantrel {

namespace {
}  // namespace

using test::WatchingPrompt;

class WholeJobTest : public QObject {
    Q_OBJECT
  private Q_SLOTS:
    void ConnectCombineUploadAndTheSlotShowsTheStoredStyle() {
        test::KeyboardLink keyboard;
        WatchingPrompt prompt;
        CMainFrame frame(prompt);
        frame.show();

        test::ConnectAndCombine(frame);
        CTopLeftView& slotPane = frame.Top().SlotsView();
        QCOMPARE(slotPane.Rows().size(), std::size_t{16});
        QCOMPARE(prompt.script.messages,
                 std::vector<std::string>{std::string(kVirtualKeyboardName) + " Connected!"});

        slotPane.List().topLevelItem(3)->setSelected(true);
        CTopMiddleView& download = frame.Top().DownloadView();
        CXProgressCtrl& bar = download.Progress();
        QVERIFY(!bar.isVisible());
        int positionMidway = -1;
        int positionAtSuccess = -1;
        bool visibleAtSuccess = false;
        bool uploadEnabledMidway = true;
        prompt.onMessage = [&](const std::string& text) {
            if (text == "Download successfully!") {
                positionAtSuccess = bar.GetPos();
                visibleAtSuccess = bar.isVisible();
            }
        };
        // A second click while the transfer runs meets a disabled button: no box, no second
        // transfer.
        QTimer::singleShot(0, &download, [&] {
            positionMidway = bar.GetPos();
            uploadEnabledMidway = download.UploadButton().isEnabled();
            download.UploadButton().click();
        });
        QVERIFY(test::UploadAndWait(download));

        QVERIFY(!uploadEnabledMidway);
        QCOMPARE(prompt.script.questions, std::vector<std::string>{});
        QCOMPARE(prompt.script.messages,
                 (std::vector<std::string>{std::string(kVirtualKeyboardName) + " Connected!",
                                           "Download successfully!"}));
        QVERIFY(positionMidway >= 0 && positionMidway < 892);
        QCOMPARE(bar.maximum(), 892);
        QCOMPARE(positionAtSuccess, 892);
        QVERIFY(visibleAtSuccess);
        QVERIFY(!bar.isVisible());
        QCOMPARE(slotPane.Rows()[3], std::string("Style 004"));
        // The line says what this program put there.
        const QString note = slotPane.List().topLevelItem(3)->toolTip(0);
        QVERIFY2(note.startsWith(QStringLiteral("Stored by this program on ")), qPrintable(note));
        QVERIFY2(note.contains(QStringLiteral("\nIntro: intro.mid, ")), qPrintable(note));
        QVERIFY2(note.contains(QStringLiteral("\nFill 3: fill3.mid, ")), qPrintable(note));
        QCOMPARE(slotPane.List().topLevelItem(2)->toolTip(0), QString());
        QCOMPARE(slotPane.List().topLevelItem(3)->icon(0).cacheKey(), MidiTypeIcon().cacheKey());
        const auto stored = keyboard.keyboard->Keyboard().Slot(3);
        QVERIFY(stored.has_value());
        QCOMPARE(stored->image.size(), std::size_t{20474});
        QVERIFY(!std::filesystem::exists(CRepository::Root() / "Total.mix"));
    }
};

}  // namespace vantrel

QTEST_MAIN(vantrel::WholeJobTest)
#include "gui2_whole_job.moc"
