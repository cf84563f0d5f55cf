// The file browser on generated folders: which items are listed, the column texts, song names
// read in the background, delete, rename and the messages for items that disappeared.

#include <QDir>
#include <QFileInfo>
#include <QMenu>
#include <QSignalSpy>
#include <QtTest>

#include "ScriptedPrompt.h"
#include "WindowTestSupport.h"
#include "controls/ui/BrowseToFiles.h"
#include "controls/ui/BrowserDragPicture.h"
#include "controls/ui/CCJShellList.h"
#include "controls/ui/CCJShellTree.h"
#include "controls/ui/ShellListModel.h"
#include "controls/ui/ShellListTexts.h"

namespace vantrel {

namespace fs = std::filesystem;
using Column = ShellListModel::Column;

class FileBrowserTest : public QObject {
    Q_OBJECT

  private Q_SLOTS:
    void init() {
        folder_ = std::make_unique<ScopedTempDir>();
        tree_ = std::make_unique<CCJShellTree>(prompt_);
        list_ = std::make_unique<CCJShellList>(prompt_);
        list_->SetTree(tree_.get());
        prompt_ = test::ScriptedPrompt();
    }
    void cleanup() {
        list_.reset();
        tree_.reset();
        folder_.reset();
    }

    void ListsFoldersAndMidiFilesOnly() {
        Write("x.Mid", test::AcceptedPattern());
        Write("X2.MID", test::AcceptedPattern());
        Write("x.midi", test::AcceptedPattern());
        Write("notes.txt", {1});
        Write(".hidden.mid", test::AcceptedPattern());
        fs::create_directory(Path() / "songs");
        fs::create_directory(Path() / ".config");
        Show();
        QCOMPARE(Column0(), (QStringList{"songs", "x.Mid", "X2.MID"}));
        QCOMPARE(Text(0, Column::Type), QStringLiteral("Folder"));
        QCOMPARE(Text(0, Column::Size), QString());
    }

    void TreeShowsVisibleFoldersAndListsTheChosenOne() {
        fs::create_directories(Path() / "Styles" / "Latin");
        fs::create_directory(Path() / ".cache");
        Write("x.mid", {1});
        const QString folder = QString::fromStdString(Path().string());
        QVERIFY(tree_->SelectFolder(folder));
        QCOMPARE(tree_->CurrentFolder(), QDir::cleanPath(folder));
        QTRY_COMPARE(list_->CurrentFolder(), QDir::cleanPath(folder));
        QCOMPARE(Column0(), (QStringList{"Styles", "x.mid"}));
        const QModelIndex current = tree_->currentIndex();
        tree_->expand(current);
        QCOMPARE(tree_->model()->rowCount(current), 1);
        QCOMPARE(tree_->model()->index(0, 0, current).data().toString(), QStringLiteral("Styles"));

        QVERIFY(!tree_->SelectFolder(folder + QStringLiteral("/missing")));
        QCOMPARE(prompt_.messages, std::vector<std::string>{(Path() / "missing").string()});
    }

    void FilesHandedToTheProgramShowTheirFolderSelected() {
        for (const char* name : {"a.mid", "b.mid", "c.mid"}) {
            Write(name, test::AcceptedPattern());
        }
        fs::create_directory(Path() / "other");
        test::WriteBytes(Path() / "other" / "d.mid", test::AcceptedPattern());
        const auto file = [this](const fs::path& relative) {
            return QString::fromStdString((Path() / relative).string());
        };
        QSignalSpy listed(list_.get(), &CCJShellList::Listed);
        // A file of another folder and a missing one are passed over; the first file decides.
        QVERIFY(BrowseToFiles(
            *tree_, *list_, {file("c.mid"), file("other/d.mid"), file("a.mid"), file("gone.mid")}));
        QTRY_COMPARE(listed.count(), 1);
        QCOMPARE(list_->CurrentFolder(), QDir::cleanPath(file("")));
        QCOMPARE(list_->SelectedNames(), (QStringList{"a.mid", "c.mid"}));

        // A later listing keeps no stale selection request.
        list_->Refresh();
        QTRY_COMPARE(listed.count(), 2);
        QVERIFY(list_->SelectedNames().isEmpty());

        QVERIFY(!BrowseToFiles(*tree_, *list_, {file("missing/x.mid")}));
        QVERIFY(!BrowseToFiles(*tree_, *list_, {}));
        QCOMPARE(list_->CurrentFolder(), QDir::cleanPath(file("")));
    }

    void HeadersAreThoseOfTheMidiList() {
        Show();
        QStringList headers;
        for (int column = 0; column < list_->Model().columnCount(); ++column) {
            headers.push_back(
                list_->Model().headerData(column, Qt::Horizontal, Qt::DisplayRole).toString());
        }
        QCOMPARE(headers, (QStringList{"Name", "Song Name", "Size", "Type", "Modified"}));
        QCOMPARE(list_->columnWidth(0), 150);
        QCOMPARE(list_->columnWidth(3), 75);
    }

    void TheSongNameColumnTakesTheWidthTheWindowGives() {
        Write("a.mid", test::AcceptedPattern());
        list_->resize(600, 200);
        list_->show();
        QVERIFY(QTest::qWaitForWindowExposed(list_.get()));
        Show();
        const int songName = list_->Model().ColumnIndex(Column::SongName);
        const int modified = list_->Model().ColumnIndex(Column::Modified);
        const int narrow = list_->columnWidth(songName);
        const int times = list_->columnWidth(modified);
        QVERIFY(times >= 110);
        list_->resize(900, 200);
        QTRY_VERIFY(list_->columnWidth(songName) >= narrow + 290);
        QCOMPARE(list_->columnWidth(0), 150);
        QCOMPARE(list_->columnWidth(modified), times);
    }

    void OpeningAFileWithNoProgramForItSaysSo() {
        Write("a.mid", test::AcceptedPattern());
        Show();
        QStringList opened;
        bool hasProgram = true;
        list_->SetFileOpener([&](const QString& file) {
            opened.push_back(QFileInfo(file).fileName());
            return hasProgram;
        });
        list_->OpenRow(0);
        QCOMPARE(opened, QStringList{"a.mid"});
        QVERIFY(prompt_.shown.empty());
        hasProgram = false;
        list_->OpenRow(0);
        QCOMPARE(prompt_.messages,
                 std::vector<std::string>{"No program is set to open this file!"});
        QCOMPARE(prompt_.details, std::vector<std::string>{"a.mid"});
    }

    void KeysOpenDeleteAndShowTheMenuOfTheCurrentRow() {
        test::TestTrash trash(test::TestTrash::Present);
        Write("a.mid", {1});
        Write("b.mid", {1});
        list_->resize(600, 200);
        Show();
        list_->setCurrentIndex(list_->Model().index(1, 0));
        QStringList opened;
        list_->SetFileOpener([&](const QString& file) {
            opened.push_back(QFileInfo(file).fileName());
            return true;
        });
        QTest::keyClick(list_.get(), Qt::Key_Return);
        QCOMPARE(opened, QStringList{"b.mid"});

        QStringList offered;
        list_->SetMenuRunner([&](QMenu& menu, const QPoint&) {
            for (const QAction* action : menu.actions())
                offered.push_back(action->text());
        });
        QTest::keyClick(list_.get(), Qt::Key_F10, Qt::ShiftModifier);
        QCOMPARE(offered, (QStringList{"Delete", "Refresh"}));

        prompt_.answers = {PromptAnswer::Yes};
        QTest::keyClick(list_.get(), Qt::Key_Delete);
        QCOMPARE(prompt_.questions, std::vector<std::string>{"Delete files?"});
        QCOMPARE(trash.taken, std::vector<std::string>{"b.mid"});
        QTRY_COMPARE(Column0(), QStringList{"a.mid"});
    }

    void TheDragPictureCountsTheSelection() {
        QPixmap row(120, 18);
        row.fill(Qt::white);
        QCOMPARE(BrowserDragPicture(row, 1).toImage(), row.toImage());
        const QPixmap three = BrowserDragPicture(row, 3);
        QVERIFY(three.height() > row.height());
        const auto top = [](const QPixmap& picture) {
            return picture.toImage().convertToFormat(QImage::Format_ARGB32).copy(0, 0, 120, 4);
        };
        QCOMPARE(top(three), top(row));
        QVERIFY(three.toImage() != BrowserDragPicture(row, 12).toImage());
    }

    void SizesAreWholeThousandsWithAtLeastOneKilobyte() {
        Write("a999.mid", std::vector<std::uint8_t>(999, 0));
        Write("b1000.mid", std::vector<std::uint8_t>(1000, 0));
        Write("c2047.mid", std::vector<std::uint8_t>(2047, 0));
        Write("d0.mid", {});
        Show();
        QCOMPARE(Text(0, Column::Size), QStringLiteral("1KB"));
        QCOMPARE(Text(1, Column::Size), QStringLiteral("1KB"));
        QCOMPARE(Text(2, Column::Size), QStringLiteral("2KB"));
        QCOMPARE(Text(3, Column::Size), QString());
        QCOMPARE(SizeText(5'000'000'000ULL), QStringLiteral("5000000KB"));
    }

    void ModifiedIsMonthDayYearHourMinute() {
        const QDateTime when(QDate(2026, 3, 7), QTime(9, 5, 59), Qt::LocalTime);
        QCOMPARE(ModifiedText(when), QStringLiteral("03/07/2026 09:05"));
        Write("a.mid", {1});
        Show();
        QVERIFY(QRegularExpression(QStringLiteral("^\\d\\d/\\d\\d/\\d{4} \\d\\d:\\d\\d$"))
                    .match(Text(0, Column::Modified))
                    .hasMatch());
    }

    void SongNamesArriveForCleanFilesOnly() {
        std::vector<std::uint8_t> truncated = test::AcceptedPattern("Cut short");
        truncated.resize(truncated.size() - 6);
        Write("song.mid", test::AcceptedPattern("Bossa Intro"));
        Write("truncated.mid", truncated);
        Write("utf8.mid", test::AcceptedPattern("Café"));
        QSignalSpy complete(list_.get(), &CCJShellList::SongNamesComplete);
        Show();
        QTRY_VERIFY_WITH_TIMEOUT(complete.count() > 0, 5000);
        QCOMPARE(Column0(), (QStringList{"song.mid", "truncated.mid", "utf8.mid"}));
        QCOMPARE(Text(0, Column::SongName), QStringLiteral("Bossa Intro"));
        QCOMPARE(Text(1, Column::SongName), QString());
        QCOMPARE(Text(2, Column::SongName), QStringLiteral("Café"));
        QCOMPARE(DecodeMidiText("\xE9t\xE9"), QStringLiteral("été"));
    }

    void ANewFolderDropsTheNamesOfTheOldOne() {
        for (int i = 0; i < 300; ++i) {
            Write(QStringLiteral("f%1.mid").arg(i, 3, 10, QChar('0')).toStdString(),
                  test::AcceptedPattern("old"));
        }
        Show();
        ScopedTempDir other;
        test::WriteBytes(other.Path() / "new.mid", test::AcceptedPattern("new"));
        QSignalSpy complete(list_.get(), &CCJShellList::SongNamesComplete);
        list_->Fill(QString::fromStdString(other.Path().string()));
        QTRY_VERIFY_WITH_TIMEOUT(complete.count() > 0, 5000);
        QTest::qWait(50);
        QCOMPARE(Column0(), QStringList{"new.mid"});
        QCOMPARE(Text(0, Column::SongName), QStringLiteral("new"));
    }

    void DeleteAsksOnceAndMovesFoldersWithTheirContentToTheTrash() {
        test::TestTrash trash(test::TestTrash::Present);
        fs::create_directories(Path() / "old" / "deeper");
        Write("old/deeper/x.mid", {1});
        Write("a.mid", {1});
        Write("b.mid", {1});
        Show();
        Select({0, 1});
        prompt_.answers = {PromptAnswer::Yes};
        list_->OnDelete();
        QCOMPARE(prompt_.questions, std::vector<std::string>{"Delete files?"});
        QVERIFY(!fs::exists(Path() / "old"));
        QVERIFY(!fs::exists(Path() / "a.mid"));
        QCOMPARE(trash.taken, (std::vector<std::string>{"old", "a.mid"}));
        QVERIFY(fs::exists(trash.Kept(0) / "deeper" / "x.mid"));
        QTRY_COMPARE(Column0(), QStringList{"b.mid"});
    }

    void WithoutATrashFoldersAreDeletedForGoodOnlyAfterASecondYes() {
        test::TestTrash trash(test::TestTrash::Absent);
        fs::create_directories(Path() / "old" / "deeper");
        Write("old/deeper/x.mid", {1});
        Write("a.mid", {1});
        Show();
        Select({0, 1});
        prompt_.answers = {PromptAnswer::Yes, PromptAnswer::No};
        list_->OnDelete();
        QCOMPARE(prompt_.questions,
                 (std::vector<std::string>{"Delete files?", "Delete for good?"}));
        QVERIFY(fs::exists(Path() / "old" / "deeper" / "x.mid"));
        QVERIFY(fs::exists(Path() / "a.mid"));

        Show();
        Select({0, 1});
        prompt_.answers = {PromptAnswer::Yes, PromptAnswer::Yes};
        list_->OnDelete();
        QVERIFY(!fs::exists(Path() / "old"));
        QVERIFY(!fs::exists(Path() / "a.mid"));
    }

    void DeleteAnsweredNoKeepsEverythingButRefreshes() {
        Write("a.mid", {1});
        Show();
        Write("late.mid", {1});
        Select({0});
        prompt_.answers = {PromptAnswer::No};
        list_->OnDelete();
        QVERIFY(fs::exists(Path() / "a.mid"));
        QCOMPARE(Column0(), (QStringList{"a.mid", "late.mid"}));
    }

    void RenameNeverReplacesAnotherFile() {
        Write("a.mid", {1});
        Write("b.mid", {2});
        Show();
        list_->OnRename(QStringLiteral("a.mid"), QStringLiteral("c.mid"));
        QCOMPARE(Column0(), (QStringList{"b.mid", "c.mid"}));
        list_->OnRename(QStringLiteral("c.mid"), QStringLiteral("b.mid"));
        QCOMPARE(prompt_.messages.size(), std::size_t{1});
        QCOMPARE(test::ReadBytes(Path() / "b.mid"), (std::vector<std::uint8_t>{2}));
        QVERIFY(fs::exists(Path() / "c.mid"));
        list_->OnRename(QStringLiteral("c.mid"), QStringLiteral("../c.mid"));
        QVERIFY(fs::exists(Path() / "c.mid"));
    }

    void EditingANameRenamesThroughTheFolder() {
        Write("a.mid", {1});
        Show();
        list_->Model().setData(list_->Model().index(0, 0), QStringLiteral("z.mid"), Qt::EditRole);
        // The rename runs once the edit has finished.
        QTRY_COMPARE(Column0(), QStringList{"z.mid"});
    }

    void ItemsThatDisappearedAreReported() {
        fs::create_directory(Path() / "gone");
        fs::create_directory(Path() / "stays");
        Write("gone.mid", {1});
        Show();
        fs::remove(Path() / "gone");
        list_->OpenRow(0);
        QCOMPARE(Column0(), (QStringList{"stays", "gone.mid"}));
        fs::remove(Path() / "gone.mid");
        list_->OpenRow(1);
        QCOMPARE(prompt_.messages,
                 (std::vector<std::string>{"Folder is not exist!", "File is not exist!"}));
        QCOMPARE(Column0(), QStringList{"stays"});
        list_->OpenRow(0);
        QCOMPARE(list_->CurrentFolder(), QString::fromStdString((Path() / "stays").string()));
    }

  private:
    fs::path Path() const { return folder_->Path(); }
    void Write(const std::string& name, const std::vector<std::uint8_t>& bytes) {
        test::WriteBytes(Path() / name, bytes);
    }
    void Show() {
        list_->Fill(QString::fromStdString(Path().string()));
        Settle();
    }
    void Select(std::initializer_list<int> rows) {
        list_->clearSelection();
        for (int row : rows) {
            list_->selectionModel()->select(
                list_->Model().index(row, 0),
                QItemSelectionModel::Select | QItemSelectionModel::Rows);
        }
    }
    // Waits until the rows of the last listing are in.
    void Settle() {
        QVERIFY(QTest::qWaitFor([this] { return !list_->IsListing(); }, 5000));
    }
    QString Text(int row, Column column) {
        Settle();
        return list_->Model()
            .data(list_->Model().index(row, list_->Model().ColumnIndex(column)), Qt::DisplayRole)
            .toString();
    }
    QStringList Column0() {
        Settle();
        QStringList names;
        for (int row = 0; row < list_->Model().rowCount(); ++row) {
            names.push_back(Text(row, Column::Name));
        }
        return names;
    }

    test::ScriptedPrompt prompt_;
    std::unique_ptr<ScopedTempDir> folder_;
    std::unique_ptr<CCJShellTree> tree_;
    std::unique_ptr<CCJShellList> list_;
};

}  // namespace vantrel

QTEST_MAIN(vantrel::FileBrowserTest)
#include "FileBrowserTest.moc"
