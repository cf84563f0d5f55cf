// The combine lists: the Combine button, the lists' menu, opening and dropping files, the rows.

#include <QContextMenuEvent>
#include <QMimeData>
#include <QRegularExpression>
#include <QSignalSpy>
#include <QtTest>

#include "TestFiles.h"
#include "WindowTestSupport.h"
#include "app/PaneLinks.h"
#include "app/WindowPlayer.h"
#include "combine/ui/CTopCombineView.h"
#include "combine/ui/CTopListView.h"
#include "combine/ui/CombineListCtrl.h"
#include "combine/ui/TopCombineBtnView.h"
#include "gui2_Support.h"
#include "repository/ui/CTopTabView.h"
#include "repository/ui/CTopTabViewPage.h"
#include "repository/ui/SubRepositoryListBox.h"
#include "widgets/CGdipButton.h"

namespace vantrel {

namespace fs = std::filesystem;

namespace {

// A private repository with the given (not necessarily valid) files in each sub-repository,
// and the panes that combine from it.
struct CombineBench {
    explicit CombineBench(const std::vector<std::string>& fills) {
        for (const std::string& name : fills)
            test::WriteBytes(CRepository::Folder(SubRepository::Fill) / name, {0});
        for (const char* name : {"a.mid", "b.mid"})
            test::WriteBytes(CRepository::Folder(SubRepository::Intro) / name, {0});
        tabs.RefreshAllPages();
    }

    void Select(SubRepository sub, const QStringList& names) {
        tabs.SetCurrentTab(sub);
        SubRepositoryListBox& list = tabs.Page(sub).List();
        list.clearSelection();
        for (const QString& name : names)
            list.findItems(name, Qt::MatchExactly).front()->setSelected(true);
    }

    QStringList Rows(SubRepository sub) {
        QStringList rows;
        CombineListCtrl& list = combine.Pane(sub).List();
        for (int row = 0; row < list.topLevelItemCount(); ++row)
            rows.push_back(list.topLevelItem(row)->text(0));
        return rows;
    }

    // The panes take the repository root when they are made, so it is set first.
    static bool UseRoot(const ScopedTempDir& folder) {
        CRepository::SetRoot(folder.Path() / "Repository");
        CRepository::CreateFolders();
        return true;
    }

    test::ScriptedPrompt prompt;
    ScopedTempDir temp;
    bool rootSet = UseRoot(temp);
    CTopTabView tabs{prompt};
    WindowPlayer player;
    CTopCombineView combine{prompt, player};
    TopCombineBtnView button{prompt, TabSelection(tabs), combine};
};

std::vector<std::string> Names(int first, int last) {
    std::vector<std::string> names;
    for (int i = first; i <= last; ++i)
        names.push_back("f" + std::to_string(i) + ".mid");
    return names;
}

const char kFillsFull[] = "File number has reached 8\xEF\xBC\x81";

// A bass line of 512 notes in 4/4 at 120 BPM: more than a block holds.
std::vector<std::uint8_t> LongPattern() {
    SmfWriter writer(1, 192);
    writer.AddTrack().TimeSignature(0, 4, 2).Tempo(0, 500000).EndOfTrack(768 * 16);
    SmfTrack& bass = writer.AddTrack();
    for (std::uint32_t i = 0; i < 512; ++i)
        bass.Note(i * 24, 12, static_cast<std::uint8_t>(36 + i % 24), 100, 20);
    bass.EndOfTrack(768 * 16);
    return writer.Encode();
}

}  // namespace

class CombineListsTest : public QObject {
    Q_OBJECT
  private Q_SLOTS:
    void SixFillsListedAndThreeSelectedTellsFirstThenAddsTwo() {
        CombineBench bench(Names(1, 9));
        bench.Select(SubRepository::Fill,
                     {"f1.mid", "f2.mid", "f3.mid", "f4.mid", "f5.mid", "f6.mid"});
        bench.button.CombineButton().click();
        QVERIFY(bench.prompt.messages.empty());
        bench.Select(SubRepository::Fill, {"f9.mid", "f7.mid", "f8.mid"});
        bench.button.CombineButton().click();
        QCOMPARE(bench.prompt.messages, std::vector<std::string>{kFillsFull});
        QCOMPARE(bench.Rows(SubRepository::Fill),
                 (QStringList{"f1.mid", "f2.mid", "f3.mid", "f4.mid", "f5.mid", "f6.mid", "f7.mid",
                              "f8.mid"}));

        // Full: told again, nothing changes.
        bench.Select(SubRepository::Fill, {"f9.mid"});
        bench.button.CombineButton().click();
        QCOMPARE(bench.prompt.messages.size(), std::size_t{2});
        QCOMPARE(bench.Rows(SubRepository::Fill).size(), 8);
    }

    void IntroIsReplacedAndNoSelectionIsTold() {
        CombineBench bench({});
        bench.Select(SubRepository::Intro, {});
        bench.button.CombineButton().click();
        QCOMPARE(bench.prompt.messages,
                 std::vector<std::string>{"Please select the MIDI files first!"});
        bench.Select(SubRepository::Intro, {"a.mid"});
        bench.button.CombineButton().click();
        bench.Select(SubRepository::Intro, {"b.mid"});
        bench.button.CombineButton().click();
        QCOMPARE(bench.Rows(SubRepository::Intro), QStringList{"b.mid"});
        QVERIFY(bench.Rows(SubRepository::Fill).isEmpty());
    }

    void DeleteRemovesTheSelectedRowsKeepingTheOrderAndTheFiles() {
        CombineBench bench(Names(1, 4));
        bench.Select(SubRepository::Fill, {"f1.mid", "f2.mid", "f3.mid", "f4.mid"});
        bench.button.CombineButton().click();
        CombineListCtrl& list = bench.combine.Pane(SubRepository::Fill).List();
        QSignalSpy refreshes(&list, &CombineListCtrl::EntriesRefreshRequested);

        list.OnDelete();  // nothing selected: not even a refresh
        QCOMPARE(refreshes.count(), 0);

        list.topLevelItem(1)->setSelected(true);
        QStringList offered;
        list.SetMenuRunner([&](QMenu& menu, const QPoint&) {
            offered = test::MenuTexts(menu);
            menu.actions().front()->trigger();
        });
        list.resize(150, 300);
        list.ShowMenu(list.visualItemRect(list.topLevelItem(1)).center());
        QCOMPARE(offered, (QStringList{"Delete", "Refresh"}));
        QCOMPARE(bench.Rows(SubRepository::Fill), (QStringList{"f1.mid", "f3.mid", "f4.mid"}));
        QVERIFY(fs::exists(CRepository::Folder(SubRepository::Fill) / "f2.mid"));

        list.SetMenuRunner([&](QMenu& menu, const QPoint&) { offered = test::MenuTexts(menu); });
        list.ShowMenu(QPoint(5, list.viewport()->height() - 3));
        QCOMPARE(offered, QStringList{"Refresh"});
    }

    void DoubleClickOpensTheRowsFile() {
        CombineBench bench({});
        bench.Select(SubRepository::Intro, {"a.mid"});
        bench.button.CombineButton().click();
        CombineListCtrl& list = bench.combine.Pane(SubRepository::Intro).List();
        std::vector<fs::path> opened;
        list.SetFileOpener([&](const fs::path& file) { opened.push_back(file); });
        list.resize(150, 100);
        QTest::mouseDClick(list.viewport(), Qt::LeftButton, {},
                           list.visualItemRect(list.topLevelItem(0)).center());
        QTest::mouseDClick(list.viewport(), Qt::LeftButton, {},
                           QPoint(5, list.viewport()->height() - 2));
        QCOMPARE(opened,
                 std::vector<fs::path>{CRepository::Folder(SubRepository::Intro) / "a.mid"});
    }

    void DroppedMidiFilesAreCheckedImportedAndListed() {
        CombineBench bench({});
        const fs::path outside = bench.temp.Path() / "outside";
        fs::create_directories(outside);
        fs::copy_file(fs::path(VANTREL_EXAMPLES_DIR) / "fill1.mid", outside / "good.MID");
        test::WriteBytes(outside / "broken.mid", test::Hex("4D 54 68 64 00"));
        test::WriteBytes(outside / "notes.txt", {1});
        QSignalSpy changed(&bench.combine, &CTopCombineView::RepositoryChanged);

        QMimeData data;
        data.setUrls(
            {QUrl::fromLocalFile(QString::fromStdString((outside / "broken.mid").string())),
             QUrl::fromLocalFile(QString::fromStdString((outside / "notes.txt").string())),
             QUrl::fromLocalFile(QString::fromStdString((outside / "good.MID").string()))});
        CombineListCtrl& list = bench.combine.Pane(SubRepository::Fill).List();
        list.resize(150, 200);
        QDragEnterEvent enter(QPoint(10, 10), Qt::CopyAction, &data, Qt::LeftButton, {});
        QApplication::sendEvent(list.viewport(), &enter);
        QVERIFY(enter.isAccepted());
        QDropEvent drop(QPointF(10, 10), Qt::CopyAction, &data, Qt::LeftButton, {});
        QApplication::sendEvent(list.viewport(), &drop);
        QVERIFY(drop.isAccepted());

        QVERIFY(!bench.prompt.messages.empty());
        QCOMPARE(bench.prompt.messages.back(), std::string("broken.mid:  File is not supported!"));
        QCOMPARE(bench.Rows(SubRepository::Fill), QStringList{"good.MID"});
        QVERIFY(fs::exists(CRepository::Folder(SubRepository::Fill) / "good.MID"));
        QVERIFY(!fs::exists(CRepository::Folder(SubRepository::Fill) / "broken.mid"));
        QVERIFY(!fs::exists(CRepository::Folder(SubRepository::Fill) / "notes.txt"));
        QCOMPARE(changed.count(), 1);
    }

    void RowsShowBeatTempoAndBytesAgainstTheirBlockRedWhenOver() {
        CombineBench bench({});
        const fs::path fills = CRepository::Folder(SubRepository::Fill);
        QStringList names;
        for (int i = 1; i <= 8; ++i) {
            const std::string name = "f" + std::to_string(i) + ".mid";
            test::WriteBytes(fills / name, i < 8 ? test::AcceptedPattern() : LongPattern());
            names.push_back(QString::fromStdString(name));
        }
        bench.tabs.RefreshAllPages();
        bench.Select(SubRepository::Fill, names);
        bench.button.CombineButton().click();
        bench.Select(SubRepository::Intro, {"a.mid"});
        bench.button.CombineButton().click();

        CombineListCtrl& list = bench.combine.Pane(SubRepository::Fill).List();
        QCOMPARE(list.headerItem()->text(CombineListCtrl::kBeatColumn), QStringLiteral("Beat"));
        QCOMPARE(list.headerItem()->text(CombineListCtrl::kTempoColumn), QStringLiteral("Tempo"));
        QCOMPARE(list.headerItem()->text(CombineListCtrl::kBytesColumn), QStringLiteral("Bytes"));
        const QTreeWidgetItem* first = list.topLevelItem(0);
        QCOMPARE(first->text(0), QStringLiteral("f1.mid"));
        QCOMPARE(first->text(CombineListCtrl::kBeatColumn), QStringLiteral("4/4"));
        QCOMPARE(first->text(CombineListCtrl::kTempoColumn), QStringLiteral("BPM: 120"));
        const QRegularExpression fitting(QStringLiteral("^[1-9][0-9]{0,2} / 2,048$"));
        QVERIFY(fitting.match(first->text(CombineListCtrl::kBytesColumn)).hasMatch());
        QVERIFY(first->foreground(CombineListCtrl::kBytesColumn) != QBrush(Qt::red));

        const QString seventh = list.topLevelItem(6)->text(CombineListCtrl::kBytesColumn);
        const QString eighth = list.topLevelItem(7)->text(CombineListCtrl::kBytesColumn);
        QVERIFY2(seventh.endsWith(QStringLiteral(" / 2,048")), qPrintable(seventh));
        QVERIFY2(eighth.endsWith(QStringLiteral(" / 2,042")), qPrintable(eighth));
        QVERIFY(list.topLevelItem(6)->foreground(CombineListCtrl::kBytesColumn) != QBrush(Qt::red));
        QCOMPARE(list.topLevelItem(7)->foreground(CombineListCtrl::kBytesColumn).color(),
                 QColor(Qt::red));

        // A file that does not convert has no texts and no byte count.
        const QTreeWidgetItem* intro =
            bench.combine.Pane(SubRepository::Intro).List().topLevelItem(0);
        QCOMPARE(intro->text(CombineListCtrl::kBeatColumn), QString());
        QCOMPARE(intro->text(CombineListCtrl::kBytesColumn), QStringLiteral("- / 2,048"));
        QVERIFY(bench.prompt.shown.empty());
    }

    void KeysOpenDeleteAndShowTheMenuOfTheCurrentRow() {
        CombineBench bench(Names(1, 3));
        bench.Select(SubRepository::Fill, {"f1.mid", "f2.mid", "f3.mid"});
        bench.button.CombineButton().click();
        CombineListCtrl& list = bench.combine.Pane(SubRepository::Fill).List();
        list.resize(300, 200);
        list.setCurrentItem(list.topLevelItem(1));
        std::vector<fs::path> opened;
        list.SetFileOpener([&](const fs::path& file) { opened.push_back(file); });
        QTest::keyClick(&list, Qt::Key_Return);
        QCOMPARE(opened,
                 std::vector<fs::path>{CRepository::Folder(SubRepository::Fill) / "f2.mid"});

        const QStringList menu{"Delete", "Refresh"};
        QCOMPARE(test::MenusFromKeys(list), (std::vector<QStringList>{menu, menu}));

        QTest::keyClick(&list, Qt::Key_Delete);
        QCOMPARE(bench.Rows(SubRepository::Fill), (QStringList{"f1.mid", "f3.mid"}));
        QVERIFY(fs::exists(CRepository::Folder(SubRepository::Fill) / "f2.mid"));
    }

    void IntroAndEndingHoldOneFileAroundTheFillsAndThePlayStrip() {
        QVERIFY(!CTopCombineView::Rows(100, 50, 46));
        const auto rows = CTopCombineView::Rows(270, 50, 46);
        QVERIFY(rows.has_value());
        QCOMPARE(rows->size(), std::size_t{4});
        QCOMPARE((*rows)[0].ideal, 50);
        QCOMPARE((*rows)[1].ideal, 270 - 3 * 4 - 2 * 50 - 46);
        QCOMPARE((*rows)[2].ideal, 50);
        QCOMPARE((*rows)[3].ideal, 46);
        CombineBench bench({});
        bench.combine.resize(272, 270);
        bench.combine.show();
        const int oneFile = bench.combine.Pane(SubRepository::Intro).List().OneRowHeight();
        QCOMPARE(bench.combine.Pane(SubRepository::Intro).height(), oneFile);
        QCOMPARE(bench.combine.Pane(SubRepository::Ending).height(), oneFile);
        QCOMPARE(bench.combine.Pane(SubRepository::Fill).height(), 270 - 3 * 4 - 2 * oneFile - 46);
    }
};

}  // namespace vantrel

QTEST_MAIN(vantrel::CombineListsTest)
#include "gui2_CombineListsTest.moc"
