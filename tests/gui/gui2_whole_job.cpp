// The whole job through the main window over the in-process virtual keyboard: connect, import
// the example style's files, combine them, pick a free slot, upload, and see the slot filled.

#include <QTimer>
#include <QtTest>
#include <functional>

#include "app/CMainFrame.h"
#include "app/CTopView.h"
#include "combine/ui/CTopMiddleView.h"
#include "combine/ui/TopCombineBtnView.h"
#include "device/ui/CMiddleView.h"
#include "device/ui/CTopLeftView.h"
#include "device/ui/DevListCtrl.h"
#include "device/ui/DeviceConnectAction.h"
#include "gui2_Support.h"
#include "repository/ui/CTopTabView.h"
#include "repository/ui/CTopTabViewPage.h"
#include "repository/ui/SubRepositoryListBox.h"
#include "widgets/CGdipButton.h"
#include "widgets/CXProgressCtrl.h"
#include "widgets/MidiTypeIcon.h"

namespace vantrel {

namespace {

const QString kKeyboard = QString::fromLatin1(kVirtualKeyboardName);
const char kConnectFirst[] = "Please connect device\xEF\xBC\x81";

// The scripted prompt, with a look at the window each time a message is shown.
class WatchingPrompt final : public UserPrompt {
  public:
    void Message(const std::string& text) override {
        if (onMessage)
            onMessage(text);
        script.Message(text);
    }
    PromptAnswer Ask(const std::string& text, PromptButtons buttons) override {
        return script.Ask(text, buttons);
    }
    test::ScriptedPrompt script;
    std::function<void(const std::string&)> onMessage;
};

QString Example(const char* name) {
    return QString::fromLatin1(VANTREL_EXAMPLES_DIR) + QLatin1Char('/') + QString::fromLatin1(name);
}

void ImportAndCombine(CMainFrame& frame, SubRepository sub, const QStringList& files) {
    CTopTabView& tabs = frame.Top().TabView();
    tabs.SetCurrentTab(sub);
    QStringList paths;
    for (const QString& file : files)
        paths.push_back(Example(file.toLatin1().constData()));
    frame.Middle().OnFilesDropped(paths);
    SubRepositoryListBox& list = tabs.Page(sub).List();
    for (const QString& file : files)
        list.findItems(file, Qt::MatchExactly).front()->setSelected(true);
    frame.Top().CombineButtonView().CombineButton().click();
}

}  // namespace

class WholeJobTest : public QObject {
    Q_OBJECT
  private slots:
    void ConnectCombineUploadAndTheSlotShowsTheStoredStyle() {
        test::KeyboardLink keyboard;
        WatchingPrompt prompt;
        CMainFrame frame(prompt);
        frame.show();

        frame.Connector().SetChooserRunner(
            [](CMidiDeviceDlg& dialog) { return test::ChooseAndOk(dialog, kKeyboard, kKeyboard); });
        frame.Middle().ConnectButton().click();
        CTopLeftView& slotPane = frame.Top().SlotsView();
        QCOMPARE(slotPane.Rows().size(), std::size_t{16});

        ImportAndCombine(frame, SubRepository::Intro, {"intro.mid"});
        ImportAndCombine(frame, SubRepository::Fill, {"fill1.mid", "fill2.mid", "fill3.mid"});
        ImportAndCombine(frame, SubRepository::Ending, {"ending.mid"});
        QCOMPARE(prompt.script.messages,
                 std::vector<std::string>{std::string(kVirtualKeyboardName) + " Connected!"});

        slotPane.List().topLevelItem(3)->setSelected(true);
        CTopMiddleView& download = frame.Top().DownloadView();
        CXProgressCtrl& bar = download.Progress();
        QVERIFY(!bar.isVisible());
        int positionMidway = -1;
        int positionAtSuccess = -1;
        bool visibleAtSuccess = false;
        prompt.onMessage = [&](const std::string& text) {
            if (text == kConnectFirst)
                positionMidway = bar.GetPos();
            if (text == "Download successfully!") {
                positionAtSuccess = bar.GetPos();
                visibleAtSuccess = bar.isVisible();
            }
        };
        // A second click while the transfer runs: the first wait of the link lets it through.
        QTimer::singleShot(0, &download, [&] { download.UploadButton().click(); });
        download.UploadButton().click();

        QCOMPARE(prompt.script.questions, std::vector<std::string>{});
        QCOMPARE(prompt.script.messages,
                 (std::vector<std::string>{std::string(kVirtualKeyboardName) + " Connected!",
                                           kConnectFirst, "Download successfully!"}));
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
