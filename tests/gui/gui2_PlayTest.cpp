// The combine column at the window's default size, and hearing parts from the window: Play, the
// measure as it goes, Stop, Space, a second Play, the whole style, a bad chart, a part that does
// not convert, closing the window. The sound goes into a recording output, not the sound card.

#include <QHeaderView>
#include <QLabel>
#include <QLineEdit>
#include <QPushButton>
#include <QSettings>
#include <QToolButton>
#include <QtTest>
#include <map>
#include <mutex>

#include "WindowTestSupport.h"
#include "app/WindowPlayer.h"
#include "combine/ui/CTopCombineView.h"
#include "combine/ui/CTopListView.h"
#include "combine/ui/CombineListCtrl.h"
#include "common/ScopedTempDir.h"
#include "gui2_WindowJob.h"
#include "widgets/PlayStrip.h"

namespace vantrel {

namespace {

// Keeps every message the player sends, from the player's thread.
class RecordingOutput final : public play::EventOutput {
  public:
    bool Send(std::span<const std::uint8_t> message) override {
        const std::lock_guard lock(mutex_);
        messages_.emplace_back(message.begin(), message.end());
        return true;
    }
    std::vector<std::vector<std::uint8_t>> Messages() const {
        const std::lock_guard lock(mutex_);
        return messages_;
    }

  private:
    mutable std::mutex mutex_;
    std::vector<std::vector<std::uint8_t>> messages_;
};

// Notes switched on and not yet off, by channel and key.
int HeldNotes(const std::vector<std::vector<std::uint8_t>>& messages) {
    std::map<std::pair<int, int>, int> held;
    for (const auto& message : messages) {
        if (message.size() < 3)
            continue;
        const int kind = message[0] & 0xF0;
        const std::pair key{message[0] & 0x0F, static_cast<int>(message[1])};
        if (kind == 0x90 && message[2] != 0)
            ++held[key];
        else if ((kind == 0x80 || kind == 0x90) && held[key] > 0)
            --held[key];
    }
    int total = 0;
    for (const auto& [key, count] : held)
        total += count;
    return total;
}

bool AllNotesOffOnEveryAccompanimentChannel(
    const std::vector<std::vector<std::uint8_t>>& messages) {
    for (int channel = 10; channel <= 16; ++channel) {
        const std::vector<std::uint8_t> off{static_cast<std::uint8_t>(0xB0 | (channel - 1)), 0x7B,
                                            0x00};
        if (std::find(messages.begin(), messages.end(), off) == messages.end())
            return false;
    }
    return true;
}

// The real window at its default size with the example style imported and combined, playing
// into a recording output.
struct PlayWindow {
    PlayWindow() {
        frame.Player().SetOutputMaker([this](std::string&) { return output; });
        frame.SetSettingsSource([this] {
            return std::make_unique<QSettings>(
                QString::fromStdString((settingsFolder.Path() / "vantrel.ini").string()),
                QSettings::IniFormat);
        });
        frame.show();
        test::ImportAndCombine(frame, SubRepository::Intro, {"intro.mid"});
        test::ImportAndCombine(frame, SubRepository::Fill, {"fill1.mid", "fill2.mid"});
        test::ImportAndCombine(frame, SubRepository::Ending, {"ending.mid"});
    }

    CTopCombineView& Combine() { return frame.Top().CombineView(); }
    CombineListCtrl& List(SubRepository sub) { return Combine().Pane(sub).List(); }
    PlayStrip& Strip() { return Combine().Strip(); }
    void SelectRow(SubRepository sub, int row) {
        List(sub).clearSelection();
        List(sub).topLevelItem(row)->setSelected(true);
    }

    test::TempRepository repository;
    ScopedTempDir settingsFolder;
    test::WatchingPrompt prompt;
    CMainFrame frame{prompt};
    std::shared_ptr<RecordingOutput> output = std::make_shared<RecordingOutput>();
};

}  // namespace

class PlayTest : public QObject {
    Q_OBJECT
  private Q_SLOTS:
    void EveryCombineListShowsItsFileAndColumnsAtTheDefaultSize() {
        PlayWindow window;
        QVERIFY(QTest::qWaitForWindowExposed(&window.frame));
        QCOMPARE(window.frame.size(), QSize(800, 600));
        for (const SubRepository sub : kSubRepositories) {
            CombineListCtrl& list = window.List(sub);
            const QRect viewport = list.viewport()->rect();
            QTreeWidgetItem* first = list.topLevelItem(0);
            QVERIFY(first != nullptr);
            QVERIFY2(viewport.contains(list.visualItemRect(first)), list.objectName().toLatin1());
            for (int column : {CombineListCtrl::kBeatColumn, CombineListCtrl::kTempoColumn,
                               CombineListCtrl::kBytesColumn}) {
                const int left = list.header()->sectionViewportPosition(column);
                const int width = list.header()->sectionSize(column);
                QVERIFY(left >= 0 && left + width <= viewport.width());
                QVERIFY2(list.fontMetrics().horizontalAdvance(first->text(column)) < width,
                         first->text(column).toLatin1());
            }
            // The name keeps room for a short file name.
            QVERIFY(list.header()->sectionSize(0) >= 60);
        }
        PlayStrip& strip = window.Strip();
        QVERIFY(strip.isVisible());
        const QRect column = window.Combine().rect();
        for (QWidget* control :
             std::initializer_list<QWidget*>{&strip.PlayButton(), &strip.StopButton(),
                                             &strip.ChartField(), &strip.StatusLabel()}) {
            const QRect placed(control->mapTo(&window.Combine(), QPoint(0, 0)), control->size());
            QVERIFY2(column.contains(placed), control->objectName().toLatin1());
        }
        QVERIFY(strip.ChartField().width() >= 150);
    }

    void PlayShowsTheMeasureAndStopReleasesEveryNote() {
        PlayWindow window;
        window.SelectRow(SubRepository::Fill, 0);
        window.Strip().ChartField().setText(QStringLiteral("C | Am | F | G7"));
        window.Strip().PlayButton().click();
        QVERIFY(window.frame.Player().Playing());
        QTRY_VERIFY(
            window.Strip().StatusLabel().text().startsWith(QStringLiteral("Measure 1 of ")));
        QVERIFY2(window.Strip().StatusLabel().text().contains(QStringLiteral("(fill1)")),
                 qPrintable(window.Strip().StatusLabel().text()));
        QTRY_VERIFY_WITH_TIMEOUT(
            window.Strip().StatusLabel().text().startsWith(QStringLiteral("Measure 2 of ")), 5000);
        QVERIFY(window.Strip().StatusLabel().text().contains(QStringLiteral(": Am")));
        QVERIFY(!window.output->Messages().empty());

        window.Strip().StopButton().click();
        QVERIFY(!window.frame.Player().Playing());
        const auto messages = window.output->Messages();
        QCOMPARE(HeldNotes(messages), 0);
        QVERIFY(AllNotesOffOnEveryAccompanimentChannel(messages));
        QVERIFY(!window.Strip().StopButton().isEnabled());

        // The chart played is kept for the next run.
        QSettings kept(
            QString::fromStdString((window.settingsFolder.Path() / "vantrel.ini").string()),
            QSettings::IniFormat);
        QCOMPARE(kept.value(QStringLiteral("play/chart")).toString(),
                 QStringLiteral("C | Am | F | G7"));
    }

    void SpacePlaysAndStopsAndASecondPlayReplacesTheFirst() {
        PlayWindow window;
        window.SelectRow(SubRepository::Intro, 0);
        QTest::keyClick(&window.List(SubRepository::Intro), Qt::Key_Space);
        QVERIFY(window.frame.Player().Playing());
        QTRY_VERIFY(window.Strip().StatusLabel().text().contains(QStringLiteral("(intro)")));

        window.SelectRow(SubRepository::Ending, 0);
        window.Strip().PlayButton().click();
        QVERIFY(window.frame.Player().Playing());
        QTRY_VERIFY(window.Strip().StatusLabel().text().contains(QStringLiteral("(ending)")));

        QTest::keyClick(&window.List(SubRepository::Ending), Qt::Key_Space);
        QVERIFY(!window.frame.Player().Playing());
        QCOMPARE(HeldNotes(window.output->Messages()), 0);
    }

    void SpaceOnASubRepositoryTabPlaysItsSelection() {
        PlayWindow window;
        CTopTabView& tabs = window.frame.Top().TabView();
        tabs.SetCurrentTab(SubRepository::Fill);
        SubRepositoryListBox& list = tabs.Page(SubRepository::Fill).List();
        list.clearSelection();
        list.findItems(QStringLiteral("fill2.mid"), Qt::MatchExactly).front()->setSelected(true);
        QTest::keyClick(&list, Qt::Key_Space);
        QVERIFY(window.frame.Player().Playing());
        QTRY_VERIFY(window.Strip().StatusLabel().text().contains(QStringLiteral("(fill2)")));
        QTest::keyClick(&list, Qt::Key_Space);
        QVERIFY(!window.frame.Player().Playing());
    }

    void PlayStyleGoesThroughEveryPartAndClosingTheWindowStops() {
        PlayWindow window;
        window.frame.Top().DownloadView().PlayStyleButton().click();
        QVERIFY(window.frame.Player().Playing());
        QTRY_VERIFY(window.Strip().StatusLabel().text().contains(QStringLiteral("(intro)")));
        window.frame.close();
        QVERIFY(!window.frame.Player().Playing());
        QCOMPARE(HeldNotes(window.output->Messages()), 0);
    }

    void ABadChartOrAPartThatDoesNotConvertSaysWhyAndPlaysNothing() {
        PlayWindow window;
        window.SelectRow(SubRepository::Fill, 1);
        window.Strip().ChartField().setText(QStringLiteral("C | Hx7"));
        window.Strip().PlayButton().click();
        QVERIFY(!window.frame.Player().Playing());
        QVERIFY2(window.Strip().StatusLabel().text().contains(QStringLiteral("Hx7")),
                 qPrintable(window.Strip().StatusLabel().text()));

        test::WriteBytes(window.repository.Sub(SubRepository::Fill) / "broken.mid", {'M', 'T'});
        window.Combine().Lists().OnCombine(SubRepository::Fill, {"broken.mid"}, window.prompt);
        window.Combine().Pane(SubRepository::Fill).RefreshEntries();
        window.SelectRow(SubRepository::Fill, 2);
        window.Strip().ChartField().setText(QStringLiteral("C"));
        window.Strip().PlayButton().click();
        QVERIFY(!window.frame.Player().Playing());
        QVERIFY2(window.Strip().StatusLabel().text().startsWith(QStringLiteral("broken.mid: ")),
                 qPrintable(window.Strip().StatusLabel().text()));
        QVERIFY(window.output->Messages().empty());
        QVERIFY(
            !std::filesystem::exists(window.repository.Sub(SubRepository::Fill) / "broken.dat"));
    }
};

}  // namespace vantrel

QTEST_MAIN(vantrel::PlayTest)
#include "gui2_PlayTest.moc"
