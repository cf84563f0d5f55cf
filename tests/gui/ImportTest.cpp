// Importing into the current tab's sub-repository: by the Import button, by dropping the
// browser's selection on a tab list, and by dropping files from the desktop, with scripted
// answers to the messages and questions.

#include <QMimeData>
#include <QSignalSpy>
#include <QUrl>
#include <QtTest>

#include "ScriptedPrompt.h"
#include "WindowTestSupport.h"
#include "app/CBottomView.h"
#include "app/CMainFrame.h"
#include "app/CTopView.h"
#include "controls/ui/CCJShellList.h"
#include "controls/ui/ShellListModel.h"
#include "device/ui/CMiddleView.h"
#include "repository/ui/CTopTabView.h"
#include "repository/ui/CTopTabViewPage.h"
#include "repository/ui/SubRepositoryListBox.h"
#include "widgets/CGdipButton.h"

namespace vantrel {

namespace fs = std::filesystem;

class ImportTest : public QObject {
    Q_OBJECT

  private Q_SLOTS:
    void init() {
        prompt_ = test::ScriptedPrompt();
        repository_ = std::make_unique<test::TempRepository>();
        source_ = std::make_unique<ScopedTempDir>();
        test::WriteBytes(Source() / "a.mid", test::AcceptedPattern("A"));
        test::WriteBytes(Source() / "b.mid", test::AcceptedPattern("B"));
        test::WriteBytes(Source() / "bad.mid", test::RefusedPattern());
        test::WriteBytes(Source() / "c.mid", test::AcceptedPattern("C"));
        fs::create_directory(Source() / "folder.mid");
        frame_ = std::make_unique<CMainFrame>(prompt_);
        frame_->show();
        QVERIFY(QTest::qWaitForWindowExposed(frame_.get()));
        Browser().Fill(QString::fromStdString(Source().string()));
    }
    void cleanup() {
        frame_.reset();
        source_.reset();
        repository_.reset();
    }

    void ImportButtonCopiesCheckedFilesIntoTheCurrentTab() {
        Tabs().SetCurrentTab(SubRepository::Fill);
        SelectInBrowser({"folder.mid", "a.mid", "bad.mid", "c.mid"});
        QTest::mouseClick(&frame_->Middle().ImportButton(), Qt::LeftButton);

        QCOMPARE(prompt_.messages.back(), std::string("bad.mid:  File is not supported!"));
        QVERIFY(prompt_.questions.empty());
        QCOMPARE(test::ListTexts(Tabs().Page(SubRepository::Fill).List()),
                 (QStringList{"a.mid", "c.mid"}));
        QCOMPARE(test::ReadBytes(Fill() / "c.mid"), test::ReadBytes(Source() / "c.mid"));
        QVERIFY(!fs::exists(Fill() / "bad.mid"));
        // The check leaves nothing beside the user's files.
        QVERIFY(!fs::exists(Source() / "bad.sty"));
        QVERIFY(!fs::exists(Source() / "bad.dat"));
        QVERIFY(!fs::exists(Source() / "a.sty"));
    }

    void ARefusalNamesItsFileAndATruncatedFileGetsAReason() {
        auto truncated = test::AcceptedPattern("Cut");
        truncated.resize(truncated.size() - 4);
        test::WriteBytes(Source() / "cut.mid", truncated);
        Browser().Refresh();
        SelectInBrowser({"a.mid", "bad.mid", "cut.mid"});
        frame_->Middle().OnImport();

        const std::vector<std::string> refusals{"bad.mid:  File is not supported!",
                                                "cut.mid:  File is not supported!"};
        QCOMPARE(prompt_.messages.size(), std::size_t{3});
        QCOMPARE(prompt_.messages[0],
                 std::string("MIDI file containing track 1-8 is not supported!"));
        QCOMPARE(prompt_.details[0], std::string("bad.mid"));
        QCOMPARE(prompt_.messages[1], refusals[0]);
        QCOMPARE(prompt_.details[1],
                 std::string("MIDI file containing track 1-8 is not supported!"));
        QCOMPARE(prompt_.messages[2], refusals[1]);
        QCOMPARE(prompt_.details[2],
                 std::string("cut.mid is not a complete MIDI file: 1 of 2 tracks are present"));
        QVERIFY(fs::exists(Intro() / "a.mid"));
        QVERIFY(!fs::exists(Intro() / "cut.mid"));
    }

    void CancelAtAnOverwriteStopsTheRest() {
        test::WriteBytes(Intro() / "b.mid", {7});
        SelectInBrowser({"a.mid", "b.mid", "c.mid"});
        prompt_.answers = {PromptAnswer::Cancel};
        frame_->Middle().OnImport();
        QCOMPARE(prompt_.questions, std::vector<std::string>{"Overwrite b.mid?"});
        QVERIFY(fs::exists(Intro() / "a.mid"));
        QCOMPARE(test::ReadBytes(Intro() / "b.mid"), std::vector<std::uint8_t>{7});
        QVERIFY(!fs::exists(Intro() / "c.mid"));
        QCOMPARE(test::ListTexts(Tabs().Page(SubRepository::Intro).List()),
                 (QStringList{"a.mid", "b.mid"}));
    }

    void NoAtAnOverwriteSkipsOnlyThatFile() {
        test::WriteBytes(Intro() / "b.mid", {7});
        SelectInBrowser({"a.mid", "b.mid", "c.mid"});
        prompt_.answers = {PromptAnswer::No};
        frame_->Middle().OnImport();
        QCOMPARE(test::ReadBytes(Intro() / "b.mid"), std::vector<std::uint8_t>{7});
        QVERIFY(fs::exists(Intro() / "c.mid"));
    }

    void DroppingTheBrowserSelectionOnAnyTabListImportsIntoTheCurrentTab() {
        Tabs().SetCurrentTab(SubRepository::Fill);
        SelectInBrowser({"a.mid", "bad.mid"});
        const std::unique_ptr<QMimeData> data(Browser().SelectionMimeData());
        // The Ending list is hidden behind the Fill tab; which list takes the drop does not
        // matter.
        QVERIFY(Drop(Tabs().Page(SubRepository::Ending).List(), *data));
        QCOMPARE(prompt_.messages.back(), std::string("bad.mid:  File is not supported!"));
        QVERIFY(fs::exists(Fill() / "a.mid"));
        QVERIFY(!fs::exists(Ending() / "a.mid"));
        QCOMPARE(test::ListTexts(Tabs().Page(SubRepository::Fill).List()), QStringList{"a.mid"});
    }

    void DropsOfOtherDataOrElsewhereImportNothing() {
        SelectInBrowser({"a.mid"});
        QMimeData text;
        text.setText(QStringLiteral("a.mid"));
        QVERIFY(!Drop(Tabs().Page(SubRepository::Intro).List(), text));
        // The browser's own selection released over the browser itself imports nothing.
        const std::unique_ptr<QMimeData> selection(Browser().SelectionMimeData());
        QVERIFY(!Drop(Browser(), *selection));
        QVERIFY(!fs::exists(Intro() / "a.mid"));
        QVERIFY(prompt_.shown.empty());
    }

    void FilesFromTheDesktopAreImportedLikeBrowserFiles() {
        Tabs().SetCurrentTab(SubRepository::Ending);
        test::WriteBytes(Ending() / "c.mid", {7});
        QMimeData data;
        data.setUrls({Url("bad.mid"), Url("c.mid"), Url("a.mid")});
        prompt_.answers = {PromptAnswer::Cancel};
        QVERIFY(Drop(Tabs().Page(SubRepository::Ending).List(), data));
        // The converter may explain first; the import's own message and question follow.
        QCOMPARE(prompt_.messages.back(), std::string("bad.mid:  File is not supported!"));
        QCOMPARE(prompt_.shown.back(), std::string("Overwrite c.mid?"));
        QVERIFY(!fs::exists(Ending() / "a.mid"));
        QCOMPARE(test::ListTexts(Tabs().Page(SubRepository::Ending).List()), QStringList{"c.mid"});
    }

    void RefreshReadsTheListsAndTheBrowserAgain() {
        test::WriteBytes(Fill() / "outside.mid", {1});
        test::WriteBytes(Source() / "new.mid", {1});
        QSignalSpy refreshed(&frame_->Middle(), &CMiddleView::RefreshedAll);
        QTest::mouseClick(&frame_->Middle().RefreshButton(), Qt::LeftButton);
        QCOMPARE(refreshed.count(), 1);
        QCOMPARE(test::ListTexts(Tabs().Page(SubRepository::Fill).List()),
                 QStringList{"outside.mid"});
        QTRY_VERIFY(!Browser().IsListing());
        QVERIFY(Browser().Model().rowCount() == 6);
        QCOMPARE(Browser().Model().Row(4).name, QStringLiteral("c.mid"));
        QCOMPARE(Browser().Model().Row(5).name, QStringLiteral("new.mid"));
    }

  private:
    fs::path Source() const { return source_->Path(); }
    fs::path Intro() const { return CRepository::Folder(SubRepository::Intro); }
    fs::path Fill() const { return CRepository::Folder(SubRepository::Fill); }
    fs::path Ending() const { return CRepository::Folder(SubRepository::Ending); }
    CTopTabView& Tabs() { return frame_->Top().TabView(); }
    CCJShellList& Browser() { return frame_->Bottom().List(); }
    QUrl Url(const char* name) const {
        return QUrl::fromLocalFile(QString::fromStdString((Source() / name).string()));
    }

    void SelectInBrowser(const QStringList& names) {
        CCJShellList& list = Browser();
        QVERIFY(QTest::qWaitFor([&list] { return !list.IsListing(); }, 5000));
        list.clearSelection();
        for (int row = 0; row < list.Model().rowCount(); ++row) {
            if (names.contains(list.Model().Row(row).name)) {
                list.selectionModel()->select(
                    list.Model().index(row, 0),
                    QItemSelectionModel::Select | QItemSelectionModel::Rows);
            }
        }
        QCOMPARE(list.SelectedNames().size(), names.size());
    }

    // Drags data over a list and releases it there; true when the list took it.
    static bool Drop(QAbstractItemView& list, const QMimeData& data) {
        const QPointF point = list.viewport()->rect().center();
        QDragEnterEvent enter(point.toPoint(), Qt::CopyAction, &data, Qt::LeftButton,
                              Qt::NoModifier);
        QApplication::sendEvent(list.viewport(), &enter);
        if (!enter.isAccepted()) {
            return false;
        }
        QDropEvent drop(point, Qt::CopyAction, &data, Qt::LeftButton, Qt::NoModifier);
        QApplication::sendEvent(list.viewport(), &drop);
        return drop.isAccepted();
    }

    test::ScriptedPrompt prompt_;
    std::unique_ptr<test::TempRepository> repository_;
    std::unique_ptr<ScopedTempDir> source_;
    std::unique_ptr<CMainFrame> frame_;
};

}  // namespace vantrel

QTEST_MAIN(vantrel::ImportTest)
#include "ImportTest.moc"
