// The port chooser and Connect: how port names map to port numbers, and what the user is told.

#include <QtTest>

#include "device/CMidiDevice.h"
#include "device/LinkState.h"
#include "device/ui/CTopLeftView.h"
#include "device/ui/DevListCtrl.h"
#include "device/ui/DeviceConnectAction.h"
#include "gui2_Support.h"

namespace vantrel {

using test::ChooseAndOk;
using test::KeyboardLink;
using test::NamedPortsBackend;
using test::ScriptedPrompt;

namespace {

const QString kKeyboard = QString::fromLatin1(kVirtualKeyboardName);

}  // namespace

class DeviceConnectTest : public QObject {
    Q_OBJECT
  private Q_SLOTS:
    // As the frame does: the in-process keyboard is the pair suggested when nothing else is.
    void initTestCase() { CMidiDeviceDlg::SetFallbackClient(kVirtualKeyboardName); }

    void ListsAreSortedAndAChoiceIsWrittenAsItsPortNumber() {
        ScriptedPrompt prompt;
        DesktopDeviceLink link(prompt, std::make_shared<NamedPortsBackend>(
                                           std::vector<std::string>{"B", "A"},
                                           std::vector<std::string>{"Out B", "Out A", "Out C"}));
        CMidiTrans trans(prompt);
        int input = -1;
        int output = -1;
        CMidiDeviceDlg dialog(trans, input, output);
        QCOMPARE(dialog.windowTitle(), QStringLiteral("MIDI Device"));
        QCOMPARE(test::Texts(dialog.InputList()), (QStringList{"A", "B"}));
        QCOMPARE(test::Texts(dialog.OutputList()), (QStringList{"Out A", "Out B", "Out C"}));
        QVERIFY(dialog.InputList().selectedItems().isEmpty());

        ChooseAndOk(dialog, QStringLiteral("A"), QStringLiteral("Out C"));
        QCOMPARE(input, 1);
        QCOMPARE(output, 2);
        QCOMPARE(dialog.result(), int(QDialog::Accepted));

        // The next opening marks the same names, wherever the ports now are.
        CMidiDeviceDlg again(trans, input, output);
        QCOMPARE(test::SelectedText(again.InputList()), QStringLiteral("A"));
        QCOMPARE(test::SelectedText(again.OutputList()), QStringLiteral("Out C"));
    }

    void TwoPortsOfOneNameMapToTheFirstAndOkWithoutChoiceKeepsTheIndex() {
        ScriptedPrompt prompt;
        auto ports = std::make_shared<NamedPortsBackend>(
            std::vector<std::string>{"Same", "Other", "Same"}, std::vector<std::string>{"Out"});
        DesktopDeviceLink link(prompt, ports);
        CMidiTrans trans(prompt);
        int input = 2;
        int output = 7;  // no such port: nothing is marked
        CMidiDeviceDlg dialog(trans, input, output);
        QCOMPARE(test::Texts(dialog.InputList()), (QStringList{"Other", "Same", "Same"}));
        // Of the two equal lines the lower one is marked.
        QCOMPARE(dialog.InputList().currentRow(), 2);
        QVERIFY(dialog.OutputList().selectedItems().isEmpty());

        dialog.InputList().setCurrentRow(1);
        dialog.OnOK();
        QCOMPARE(input, 0);
        QCOMPARE(output, 7);
    }

    void RefreshRebuildsFromTheCallersIndicesNotFromTheSelection() {
        ScriptedPrompt prompt;
        auto ports = std::make_shared<NamedPortsBackend>(std::vector<std::string>{"B", "A"},
                                                         std::vector<std::string>{"Out"});
        DesktopDeviceLink link(prompt, ports);
        CMidiTrans trans(prompt);
        int input = 0;
        int output = 0;
        CMidiDeviceDlg dialog(trans, input, output);
        QCOMPARE(test::SelectedText(dialog.InputList()), QStringLiteral("B"));
        dialog.InputList().setCurrentRow(0);
        ports->inputs_ = {"C", "B", "A"};
        dialog.RefreshButton().click();
        QCOMPARE(test::Texts(dialog.InputList()), (QStringList{"A", "B", "C"}));
        // Index 0 now names "C": the marking stays on the port the caller's index named, "B",
        // wherever it is now, and never lands on another port that took its place.
        QCOMPARE(test::SelectedText(dialog.InputList()), QStringLiteral("B"));
    }

    void TheKeyboardStartedLastIsOfferedAsAPairAndALaterChoiceStaysByName() {
        ScriptedPrompt prompt;
        // Under JACK a keyboard's input and output sit in two clients of one program.
        auto ports = std::make_shared<NamedPortsBackend>(
            std::vector<std::string>{"system:capture_1", kVirtualKeyboardName,
                                     "vantrel-keyboard-01:Stage"},
            std::vector<std::string>{kVirtualKeyboardName, "vantrel-keyboard:Stage",
                                     "system:playback_1"});
        DesktopDeviceLink link(prompt, ports);
        CMidiTrans trans(prompt);
        int input = -1;
        int output = -1;
        CMidiDeviceDlg dialog(trans, input, output);
        QCOMPARE(test::SelectedText(dialog.InputList()),
                 QStringLiteral("vantrel-keyboard-01:Stage"));
        QCOMPARE(test::SelectedText(dialog.OutputList()), QStringLiteral("vantrel-keyboard:Stage"));

        ChooseAndOk(dialog, kKeyboard, kKeyboard);
        // Another keyboard starts: the lists change, the choice of the in-process one stays.
        ports->inputs_.insert(ports->inputs_.begin(), "vantrel-keyboard-03:Second");
        ports->outputs_.insert(ports->outputs_.begin(), "vantrel-keyboard-02:Second");
        CMidiDeviceDlg again(trans, input, output);
        QCOMPARE(test::SelectedText(again.InputList()), kKeyboard);
        QCOMPARE(test::SelectedText(again.OutputList()), kKeyboard);
    }

    void ConnectReadsTheSlotsBeforeSayingConnectedAndTheChooserClosesAnOpenLink() {
        KeyboardLink keyboard;
        CTopLeftView slotPane(keyboard.prompt);
        DeviceConnectAction action(keyboard.prompt, nullptr);
        QObject::connect(&action, &DeviceConnectAction::Connected, &slotPane,
                         &CTopLeftView::RefreshSlots);
        std::size_t linesWhenRead = 0;
        std::size_t shownWhenRead = 99;
        bool keyboardListed = false;
        action.SetChooserRunner([&](CMidiDeviceDlg& dialog) {
            keyboardListed = dialog.InputList().findItems(kKeyboard, Qt::MatchExactly).size() == 1;
            return ChooseAndOk(dialog, kKeyboard, kKeyboard);
        });
        QObject::connect(&action, &DeviceConnectAction::Connected, [&] {
            linesWhenRead = slotPane.Rows().size();
            shownWhenRead = keyboard.prompt.shown.size();
        });

        action.OnConnect();
        QCOMPARE(keyboard.prompt.messages,
                 (std::vector<std::string>{std::string(kVirtualKeyboardName) + " Connected!"}));
        QVERIFY(keyboardListed);
        QVERIFY(Link().deviceConnected.load());
        QCOMPARE(linesWhenRead, std::size_t{16});
        QCOMPARE(shownWhenRead, std::size_t{0});
        QCOMPARE(action.DeviceName(), std::string(kVirtualKeyboardName));

        // Opening the chooser again and cancelling closes the ports, and says nothing.
        action.SetChooserRunner([](CMidiDeviceDlg&) { return false; });
        action.OnConnect();
        QCOMPARE(keyboard.prompt.messages.size(), std::size_t{1});
        QCOMPARE(CMidiDevice::Instance()->GetInputState(), InputState::Closed);
        QVERIFY(Link().deviceConnected.load());
    }

    void FailuresAreToldAndLeaveTheLinkDisconnected() {
        KeyboardLink keyboard;
        DeviceConnectAction action(keyboard.prompt, nullptr);
        action.SetChooserRunner(
            [&](CMidiDeviceDlg& dialog) { return ChooseAndOk(dialog, kKeyboard, kKeyboard); });
        action.OnConnect();
        QVERIFY(Link().deviceConnected.load());

        // A keyboard that hears but never answers.
        KeyboardFaults silent;
        silent.silent = true;
        keyboard.keyboard->Keyboard().SetFaults(silent);
        action.OnConnect();
        QCOMPARE(keyboard.prompt.messages.back(), std::string("Connect request error!"));
        QVERIFY(!Link().deviceConnected.load());

        // No port chosen at all (OK with empty lists) cannot be opened.
        std::string name;
        QVERIFY(!action.ConnectDevice(-1, name, -1));
        QCOMPARE(keyboard.prompt.messages.back(), std::string("Device cannot be opened!"));
        QVERIFY(!Link().deviceConnected.load());
    }

    void ConnectDoesNothingWhileATransactionRuns() {
        KeyboardLink keyboard;
        DeviceConnectAction action(keyboard.prompt, nullptr);
        bool chooserShown = false;
        action.SetChooserRunner([&](CMidiDeviceDlg&) { return chooserShown = true; });
        {
            const LinkBusy busy;
            action.OnConnect();
        }
        QVERIFY(!chooserShown);
        QVERIFY(keyboard.prompt.shown.empty());
    }
};

}  // namespace vantrel

QTEST_MAIN(vantrel::DeviceConnectTest)
#include "gui2_DeviceConnectTest.moc"
