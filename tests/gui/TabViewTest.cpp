// The sub-repository tabs on a private repository: sorted lists, the right-click rules, the
// three menus, Delete, Delete All, Copy To and the refresh on a tab change.

#include <QContextMenuEvent>
#include <QMenu>
#include <QtTest>
#include <algorithm>

#include "ScriptedPrompt.h"
#include "WindowTestSupport.h"
#include "repository/ui/CTopTabView.h"
#include "repository/ui/CTopTabViewPage.h"
#include "repository/ui/SubRepositoryListBox.h"

namespace vantrel {

namespace fs = std::filesystem;

class TabViewTest : public QObject {
    Q_OBJECT

  private Q_SLOTS:
    void init() {
        repository_ = std::make_unique<test::TempRepository>();
        for (const char* name : {"b.mid", "C.MID", "a.mid", "notes.txt"}) {
            test::WriteBytes(repository_->Sub(SubRepository::Intro) / name, {1});
        }
        for (const char* name : {"a.mid", "b.mid", "c.mid", "d.mid"}) {
            test::WriteBytes(repository_->Sub(SubRepository::Fill) / name, {2});
        }
        prompt_ = test::ScriptedPrompt();
        trash_ = std::make_unique<test::TestTrash>(test::TestTrash::Present);
        view_ = std::make_unique<CTopTabView>(prompt_);
        view_->resize(230, 270);
        view_->show();
        QVERIFY(QTest::qWaitForWindowExposed(view_.get()));
    }
    void cleanup() {
        view_.reset();
        trash_.reset();
        repository_.reset();
    }

    void ListsShowEntriesSortedIgnoringCase() {
        QCOMPARE(view_->CurrentTab(), SubRepository::Intro);
        QCOMPARE(Texts(SubRepository::Intro), (QStringList{"a.mid", "b.mid", "C.MID"}));
        QCOMPARE(Texts(SubRepository::Ending), QStringList{});
        QCOMPARE(List(SubRepository::Intro).selectionMode(), QAbstractItemView::SingleSelection);
        QCOMPARE(List(SubRepository::Fill).selectionMode(), QAbstractItemView::ExtendedSelection);
        QCOMPARE(List(SubRepository::Ending).selectionMode(), QAbstractItemView::SingleSelection);
    }

    void EachPageHasItsMenuItemsInOrder() {
        const QList<QPair<SubRepository, QStringList>> expected = {
            {SubRepository::Intro, {"Delete", "Copy To Fill", "Copy To Ending", "Delete All"}},
            {SubRepository::Fill, {"Delete", "Copy To Intro", "Copy To Ending", "Delete All"}},
            {SubRepository::Ending, {"Delete", "Copy To Intro", "Copy To Fill", "Delete All"}}};
        test::WriteBytes(repository_->Sub(SubRepository::Ending) / "e.mid", {3});
        view_->RefreshAllPages();
        for (const auto& [sub, texts] : expected) {
            view_->SetCurrentTab(sub);
            QCOMPARE(RightClickMenu(sub, 0), texts);
        }
    }

    void RightClickBelowTheItemsOpensNothingAndKeepsTheSelection() {
        SubRepositoryListBox& list = List(SubRepository::Intro);
        list.item(1)->setSelected(true);
        QCOMPARE(RightClickAt(SubRepository::Intro, QPoint(20, list.viewport()->height() - 5)),
                 QStringList{});
        QCOMPARE(list.SelectedNames(), QStringList{"b.mid"});

        CTopTabViewPage& ending = view_->Page(SubRepository::Ending);
        QCOMPARE(RightClickAt(SubRepository::Ending, QPoint(20, 10)), QStringList{});
        QCOMPARE(ending.List().count(), 0);
    }

    void IntroRightClickMovesTheSelectionAndDeleteRemovesOnlyThatFile() {
        SubRepositoryListBox& list = List(SubRepository::Intro);
        list.item(0)->setSelected(true);
        RightClickMenu(SubRepository::Intro, 2, "Delete");
        QVERIFY(!fs::exists(repository_->Sub(SubRepository::Intro) / "C.MID"));
        QVERIFY(fs::exists(repository_->Sub(SubRepository::Intro) / "a.mid"));
        QCOMPARE(Texts(SubRepository::Intro), (QStringList{"a.mid", "b.mid"}));
        QCOMPARE(list.SelectedNames(), QStringList{});
    }

    void FillRightClickAddsToTheSelectionAndDeleteRemovesAll() {
        view_->SetCurrentTab(SubRepository::Fill);
        SubRepositoryListBox& list = List(SubRepository::Fill);
        list.item(0)->setSelected(true);
        list.item(2)->setSelected(true);
        RightClickMenu(SubRepository::Fill, 1, "Delete");
        QCOMPARE(Texts(SubRepository::Fill), QStringList{"d.mid"});
        QVERIFY(!fs::exists(repository_->Sub(SubRepository::Fill) / "b.mid"));
    }

    void DeleteAllRemovesOnlyEntries() {
        RightClickMenu(SubRepository::Intro, 0, "Delete All");
        QCOMPARE(Texts(SubRepository::Intro), QStringList{});
        QVERIFY(fs::exists(repository_->Sub(SubRepository::Intro) / "notes.txt"));
    }

    void DeletedEntriesGoToTheTrashWithoutAQuestion() {
        test::WriteBytes(repository_->Sub(SubRepository::Intro) / "b.mid", {7, 7});
        RightClickMenu(SubRepository::Intro, 1, "Delete");
        QCOMPARE(trash_->taken, std::vector<std::string>{"b.mid"});
        QCOMPARE(test::ReadBytes(trash_->Kept(0)), (std::vector<std::uint8_t>{7, 7}));
        RightClickMenu(SubRepository::Intro, 0, "Delete All");
        std::vector<std::string> taken = trash_->taken;
        std::sort(taken.begin(), taken.end());
        QCOMPARE(taken, (std::vector<std::string>{"C.MID", "a.mid", "b.mid"}));
        QVERIFY(prompt_.shown.empty());
        QVERIFY(fs::exists(repository_->Sub(SubRepository::Intro) / "notes.txt"));
    }

    void WithoutATrashDeletingForGoodIsAskedFirst() {
        trash_.reset();
        trash_ = std::make_unique<test::TestTrash>(test::TestTrash::Absent);
        const fs::path intro = repository_->Sub(SubRepository::Intro);
        prompt_.answers = {PromptAnswer::No};
        RightClickMenu(SubRepository::Intro, 1, "Delete");
        QCOMPARE(prompt_.questions, std::vector<std::string>{"Delete for good?"});
        QVERIFY(prompt_.details.back().find("b.mid") != std::string::npos);
        QVERIFY(fs::exists(intro / "b.mid"));
        QCOMPARE(Texts(SubRepository::Intro), (QStringList{"a.mid", "b.mid", "C.MID"}));

        // One question for the whole Delete All, naming every entry.
        prompt_.answers = {PromptAnswer::Yes};
        RightClickMenu(SubRepository::Intro, 0, "Delete All");
        QCOMPARE(prompt_.questions.size(), std::size_t{2});
        for (const char* name : {"a.mid", "b.mid", "C.MID"}) {
            QVERIFY(prompt_.details.back().find(name) != std::string::npos);
            QVERIFY(!fs::exists(intro / name));
        }
        QVERIFY(fs::exists(intro / "notes.txt"));
    }

    void KeysDeleteAndOpenTheMenuAsARightClickOnTheCurrentItemWould() {
        SubRepositoryListBox& list = List(SubRepository::Intro);
        list.setCurrentRow(1);
        QStringList offered;
        view_->Page(SubRepository::Intro).SetMenuRunner([&](QMenu& menu, const QPoint&) {
            offered.clear();
            for (const QAction* action : menu.actions())
                offered.push_back(action->text());
        });
        QTest::keyClick(&list, Qt::Key_F10, Qt::ShiftModifier);
        QCOMPARE(offered.size(), 4);
        offered.clear();
        test::PressMenuKey(list);
        QCOMPARE(offered, (QStringList{"Delete", "Copy To Fill", "Copy To Ending", "Delete All"}));

        QTest::keyClick(&list, Qt::Key_Delete);
        QCOMPARE(trash_->taken, std::vector<std::string>{"b.mid"});
        QCOMPARE(Texts(SubRepository::Intro), (QStringList{"a.mid", "C.MID"}));

        // An empty list has no item to offer a menu for, from the keyboard either.
        view_->SetCurrentTab(SubRepository::Ending);
        offered.clear();
        view_->Page(SubRepository::Ending).SetMenuRunner([&](QMenu&, const QPoint&) {
            offered.push_back(QStringLiteral("opened"));
        });
        QTest::keyClick(&List(SubRepository::Ending), Qt::Key_F10, Qt::ShiftModifier);
        QVERIFY(offered.isEmpty());
    }

    void CopyToKeepsExistingFilesAndShowsAfterTheTabChange() {
        test::WriteBytes(repository_->Sub(SubRepository::Ending) / "a.mid", {9, 9});
        RightClickMenu(SubRepository::Intro, 0, "Copy To Ending");
        RightClickMenu(SubRepository::Intro, 1, "Copy To Ending");
        QCOMPARE(test::ReadBytes(repository_->Sub(SubRepository::Ending) / "a.mid"),
                 (std::vector<std::uint8_t>{9, 9}));
        QVERIFY(fs::exists(repository_->Sub(SubRepository::Ending) / "b.mid"));
        // Not refreshed until its tab is chosen.
        QCOMPARE(Texts(SubRepository::Ending), QStringList{});
        view_->SetCurrentTab(SubRepository::Ending);
        QCOMPARE(Texts(SubRepository::Ending), (QStringList{"a.mid", "b.mid"}));
    }

    void FillCopiesEverySelectedEntry() {
        view_->SetCurrentTab(SubRepository::Fill);
        List(SubRepository::Fill).item(3)->setSelected(true);
        RightClickMenu(SubRepository::Fill, 1, "Copy To Intro");
        view_->SetCurrentTab(SubRepository::Intro);
        QCOMPARE(Texts(SubRepository::Intro), (QStringList{"a.mid", "b.mid", "C.MID", "d.mid"}));
    }

    void FilesAddedOutsideShowAfterATabChange() {
        test::WriteBytes(repository_->Sub(SubRepository::Intro) / "0.mid", {1});
        QCOMPARE(Texts(SubRepository::Intro).size(), 3);
        view_->SetCurrentTab(SubRepository::Fill);
        view_->SetCurrentTab(SubRepository::Intro);
        QCOMPARE(Texts(SubRepository::Intro).front(), QStringLiteral("0.mid"));
    }

  private:
    SubRepositoryListBox& List(SubRepository sub) { return view_->Page(sub).List(); }
    QStringList Texts(SubRepository sub) { return test::ListTexts(List(sub)); }

    // Right-clicks a point of a list; answers the menu's items (none when no menu opened) and
    // picks the item called choice, if given.
    QStringList RightClickAt(SubRepository sub, QPoint point, const QString& choice = {}) {
        QStringList texts;
        view_->Page(sub).SetMenuRunner([&](QMenu& menu, const QPoint&) {
            for (QAction* action : menu.actions()) {
                texts.push_back(action->text());
                if (action->text() == choice) {
                    action->trigger();
                }
            }
        });
        QTest::mouseClick(List(sub).viewport(), Qt::RightButton, {}, point);
        return texts;
    }

    QStringList RightClickMenu(SubRepository sub, int row, const QString& choice = {}) {
        SubRepositoryListBox& list = List(sub);
        return RightClickAt(sub, list.visualItemRect(list.item(row)).center(), choice);
    }

    test::ScriptedPrompt prompt_;
    std::unique_ptr<test::TempRepository> repository_;
    std::unique_ptr<test::TestTrash> trash_;
    std::unique_ptr<CTopTabView> view_;
};

}  // namespace vantrel

QTEST_MAIN(vantrel::TabViewTest)
#include "TabViewTest.moc"
