// The device slot list: lines from the keyboard, the menu, deleting slots and reading errors.

#include <QContextMenuEvent>
#include <QHeaderView>
#include <QSignalSpy>
#include <QtTest>

#include "WindowTestSupport.h"
#include "combine/SlotChoice.h"
#include "device/LinkState.h"
#include "device/ui/CTopLeftView.h"
#include "device/ui/DevListCtrl.h"
#include "device/ui/DeviceConnectAction.h"
#include "gui2_Support.h"
#include "widgets/MidiTypeIcon.h"

namespace vantrel {

using test::KeyboardLink;

namespace {

const QString kKeyboard = QString::fromLatin1(kVirtualKeyboardName);

KeyboardOptions ThreeSlots() {
    KeyboardOptions options;
    options.slotCount = 3;
    options.initialSlots[0] = SlotContent{"Alpha", std::vector<std::uint8_t>(20474, 0)};
    options.initialSlots[2] = SlotContent{"Gamma", std::vector<std::uint8_t>(20474, 0)};
    return options;
}

// Connects through the chooser as the Connect button does, with the slot list read after it.
void Connect(KeyboardLink& keyboard, CTopLeftView& slotPane) {
    DeviceConnectAction action(keyboard.prompt, nullptr);
    QObject::connect(&action, &DeviceConnectAction::Connected, &slotPane,
                     &CTopLeftView::RefreshSlots);
    action.SetChooserRunner(
        [](CMidiDeviceDlg& dialog) { return test::ChooseAndOk(dialog, kKeyboard, kKeyboard); });
    action.OnConnect();
}

void SelectAll(DevListCtrl& list) {
    for (int row = 0; row < list.topLevelItemCount(); ++row)
        list.topLevelItem(row)->setSelected(true);
}

}  // namespace

class SlotListTest : public QObject {
    Q_OBJECT
  private Q_SLOTS:
    void SlotsAreListedInOrderWithTheMidiIconOnlyOnOccupiedLines() {
        KeyboardLink keyboard(ThreeSlots());
        CTopLeftView slotPane(keyboard.prompt);
        QCOMPARE(slotPane.List().headerItem()->text(0), QStringLiteral("Device"));
        Connect(keyboard, slotPane);
        QCOMPARE(slotPane.Rows(), (std::vector<std::string>{"Alpha", "Empty", "Gamma"}));
        const qint64 midiIcon = MidiTypeIcon().cacheKey();
        QCOMPARE(slotPane.List().topLevelItem(0)->icon(0).cacheKey(), midiIcon);
        QVERIFY(slotPane.List().topLevelItem(1)->icon(0).cacheKey() != midiIcon);
        QCOMPARE(slotPane.List().topLevelItem(2)->icon(0).cacheKey(), midiIcon);

        slotPane.List().topLevelItem(1)->setSelected(true);
        SlotTexts texts = CollectSlotTexts(slotPane.Rows(), slotPane.SelectedRows());
        QVERIFY(!texts.anyOccupiedSelected);
        QCOMPARE(texts.texts, (std::vector<std::string>{"Alpha", "", "Gamma"}));
        slotPane.List().topLevelItem(2)->setSelected(true);
        texts = CollectSlotTexts(slotPane.Rows(), slotPane.SelectedRows());
        QVERIFY(texts.anyOccupiedSelected);
        QCOMPARE(texts.texts, (std::vector<std::string>{"Alpha", "", ""}));
    }

    void DeletingAsksForEachOccupiedLineAndReadsTheSlotsOnce() {
        KeyboardLink keyboard(ThreeSlots());
        CTopLeftView slotPane(keyboard.prompt);
        Connect(keyboard, slotPane);
        QSignalSpy requests(&slotPane.List(), &DevListCtrl::SlotDeleteRequested);
        SelectAll(slotPane.List());
        keyboard.prompt.answers = {PromptAnswer::Yes, PromptAnswer::No};

        slotPane.List().OnDelete();
        QCOMPARE(keyboard.prompt.questions,
                 (std::vector<std::string>{"Delete Alpha?", "Delete Gamma?"}));
        QCOMPARE(requests.count(), 2);
        QCOMPARE(requests.at(0).at(0).toInt(), 0);
        QCOMPARE(requests.at(1).at(0).toInt(), -1);
        QCOMPARE(slotPane.Rows(), (std::vector<std::string>{"Empty", "Empty", "Gamma"}));

        // All No still ends with the one re-read.
        requests.clear();
        SelectAll(slotPane.List());
        slotPane.List().OnDelete();
        QCOMPARE(requests.count(), 1);
        QCOMPARE(requests.at(0).at(0).toInt(), -1);
        QCOMPARE(slotPane.Rows(), (std::vector<std::string>{"Empty", "Empty", "Gamma"}));

        // Nothing selected: nothing at all.
        requests.clear();
        slotPane.List().clearSelection();
        slotPane.List().OnDelete();
        QCOMPARE(requests.count(), 0);
    }

    void TheMenuOffersDeleteOnlyOnALine() {
        KeyboardLink keyboard(ThreeSlots());
        CTopLeftView slotPane(keyboard.prompt);
        slotPane.resize(200, 300);
        Connect(keyboard, slotPane);
        QStringList offered;
        slotPane.List().SetMenuRunner(
            [&](QMenu& menu, const QPoint&) { offered = test::MenuTexts(menu); });
        const QRect firstLine = slotPane.List().visualItemRect(slotPane.List().topLevelItem(0));
        slotPane.List().ShowMenu(firstLine.center());
        QCOMPARE(offered, (QStringList{"Delete", "Refresh"}));
        slotPane.List().ShowMenu(QPoint(10, slotPane.List().viewport()->height() - 3));
        QCOMPARE(offered, (QStringList{"Refresh"}));
    }

    void EachLineShowsItsSlotNumberBeforeTheNameAndKeepsItsUploadNote() {
        KeyboardLink keyboard(ThreeSlots());
        CTopLeftView slotPane(keyboard.prompt);
        Connect(keyboard, slotPane);
        DevListCtrl& list = slotPane.List();
        QCOMPARE(list.headerItem()->text(DevListCtrl::kNumberColumn), QStringLiteral("No."));
        QCOMPARE(list.header()->visualIndex(DevListCtrl::kNumberColumn), 0);
        QStringList numbers;
        for (int row = 0; row < list.topLevelItemCount(); ++row)
            numbers.push_back(list.topLevelItem(row)->text(DevListCtrl::kNumberColumn));
        QCOMPARE(numbers, (QStringList{"0", "1", "2"}));
        // The names the upload and the questions read are unchanged.
        QCOMPARE(slotPane.Rows(), (std::vector<std::string>{"Alpha", "Empty", "Gamma"}));

        const QString note = QStringLiteral("Stored by this program at 10:02:\nIntro: a.mid");
        list.SetUploadNote(2, note);
        QCOMPARE(list.topLevelItem(2)->toolTip(0), note);
        slotPane.RefreshSlots();
        QCOMPARE(list.topLevelItem(2)->toolTip(DevListCtrl::kNumberColumn), note);
        QCOMPARE(list.topLevelItem(0)->toolTip(0), QString());

        // Deleting the slot from the list forgets what was stored there.
        list.topLevelItem(2)->setSelected(true);
        keyboard.prompt.answers = {PromptAnswer::Yes};
        list.OnDelete();
        QCOMPARE(slotPane.Rows()[2], std::string("Empty"));
        QCOMPARE(list.topLevelItem(2)->toolTip(0), QString());
    }

    void KeysDeleteAndOpenTheMenuOfTheCurrentLine() {
        KeyboardLink keyboard(ThreeSlots());
        CTopLeftView slotPane(keyboard.prompt);
        slotPane.resize(200, 300);
        Connect(keyboard, slotPane);
        DevListCtrl& list = slotPane.List();
        list.setCurrentItem(list.topLevelItem(0));
        const QStringList menu{"Delete", "Refresh"};
        QCOMPARE(test::MenusFromKeys(list), (std::vector<QStringList>{menu, menu}));

        keyboard.prompt.answers = {PromptAnswer::No};
        QTest::keyClick(&list, Qt::Key_Delete);
        QCOMPARE(keyboard.prompt.questions, std::vector<std::string>{"Delete Alpha?"});
        QCOMPARE(slotPane.Rows()[0], std::string("Alpha"));
    }

    void ReadingFailsWithConnectionErrorAndNothingHappensWhenNotConnected() {
        KeyboardLink keyboard(ThreeSlots());
        CTopLeftView slotPane(keyboard.prompt);
        slotPane.List().AddSlotLine("Kept");
        slotPane.RefreshSlots();  // not connected: the list is left alone
        QCOMPARE(slotPane.Rows(), std::vector<std::string>{"Kept"});

        Connect(keyboard, slotPane);
        KeyboardFaults silent;
        silent.silent = true;
        keyboard.keyboard->Keyboard().SetFaults(silent);
        slotPane.RefreshSlots();
        QCOMPARE(keyboard.prompt.messages.back(), std::string("Connection error!"));
        QVERIFY(slotPane.Rows().empty());

        // While a transaction runs, a request to delete is ignored.
        keyboard.keyboard->Keyboard().SetFaults({});
        slotPane.RefreshSlots();
        {
            const LinkBusy busy;
            slotPane.OnSlotDelete(0);
        }
        QCOMPARE(keyboard.keyboard->Keyboard().Slot(0)->name, std::string("Alpha"));
    }
};

}  // namespace vantrel

QTEST_MAIN(vantrel::SlotListTest)
#include "gui2_SlotListTest.moc"
