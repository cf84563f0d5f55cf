// The link settings dialog and the transfer trace, as the button strip's right-click menu offers
// them: what is kept between runs, what is refused, and what the saved trace holds.

#include <QLineEdit>
#include <QMenu>
#include <QSettings>
#include <QSpinBox>
#include <QtTest>
#include <fstream>
#include <sstream>

#include "app/CMainFrame.h"
#include "device/LinkOptions.h"
#include "device/LinkState.h"
#include "device/LinkTrace.h"
#include "device/SysExProtocol.h"
#include "device/ui/CMiddleView.h"
#include "device/ui/DeviceConnectAction.h"
#include "device/ui/LinkMenuActions.h"
#include "device/ui/LinkSettings.h"
#include "device/ui/LinkSettingsDlg.h"
#include "gui2_Support.h"
#include "widgets/CGdipButton.h"

namespace vantrel {

using test::ChooseAndOk;
using test::KeyboardLink;
using test::ScriptedPrompt;

namespace {

const QString kKeyboard = QString::fromLatin1(kVirtualKeyboardName);

std::string ReadText(const std::filesystem::path& path) {
    std::ifstream in(path);
    std::stringstream text;
    text << in.rdbuf();
    return text.str();
}

LinkOptions SlowKeyboard() {
    LinkOptions options;
    options.ackTimeout = std::chrono::milliseconds(300);
    options.retries = 4;
    options.packetGap = std::chrono::milliseconds(5);
    options.manufacturerId = {0x00, 0x20, 0x1F};
    return options;
}

// Fills the dialog with options, the way a user types them.
void Enter(LinkSettingsDlg& dialog, const LinkOptions& options) {
    dialog.AckTimeoutBox().setValue(static_cast<int>(options.ackTimeout.count()));
    dialog.RetriesBox().setValue(options.retries);
    dialog.PacketGapBox().setValue(static_cast<int>(options.packetGap.count()));
    dialog.ManufacturerIdEdit().setText(
        QString::fromStdString(sysex::FormatManufacturerId(options.manufacturerId)));
}

}  // namespace

class LinkSettingsTest : public QObject {
    Q_OBJECT

    std::unique_ptr<QSettings> Settings() const {
        return std::make_unique<QSettings>(QString::fromStdString(settingsFile_.string()),
                                           QSettings::IniFormat);
    }

    // Actions whose settings live in the test's own file.
    std::unique_ptr<LinkMenuActions> Actions(UserPrompt& prompt) const {
        auto actions = std::make_unique<LinkMenuActions>(prompt, nullptr);
        actions->SetSettingsSource([this] { return Settings(); });
        return actions;
    }

  private Q_SLOTS:
    void init() {
        folder_ = std::make_unique<ScopedTempDir>();
        settingsFile_ = folder_->Path() / "settings.ini";
        ApplyLinkOptions(LinkOptions{});
    }
    void cleanup() {
        // The options are the process's: the next test starts from the defaults.
        ApplyLinkOptions(LinkOptions{});
        folder_.reset();
    }

    void OkKeepsTheValuesForTheNextRunAndAppliesThemAtOnce() {
        ScriptedPrompt prompt;
        auto actions = Actions(prompt);
        LinkOptions shownFirst;
        actions->SetDialogRunner([&](LinkSettingsDlg& dialog) {
            shownFirst = dialog.Options();
            Enter(dialog, SlowKeyboard());
            dialog.OnOK();
            return dialog.result() == QDialog::Accepted;
        });
        actions->OnLinkSettings();
        QVERIFY(prompt.shown.empty());
        QVERIFY(shownFirst == LinkOptions{});
        QVERIFY(CurrentLinkOptions() == SlowKeyboard());
        QCOMPARE(sysex::ManufacturerId(), SlowKeyboard().manufacturerId);

        // A new run reads them back and applies them before anything is sent.
        ApplyLinkOptions(LinkOptions{});
        const auto reread = Settings();
        QVERIFY(ReadLinkSettings(*reread) == SlowKeyboard());
        ApplyLinkSettings(*reread);
        QVERIFY(CurrentLinkOptions() == SlowKeyboard());

        // The dialog opens with what is in use; Restore Defaults puts back the start values.
        actions->SetDialogRunner([&](LinkSettingsDlg& dialog) {
            shownFirst = dialog.Options();
            dialog.OnDefaults();
            dialog.OnOK();
            return dialog.result() == QDialog::Accepted;
        });
        actions->OnLinkSettings();
        QVERIFY(shownFirst == SlowKeyboard());
        QVERIFY(CurrentLinkOptions() == LinkOptions{});
        QVERIFY(ReadLinkSettings(*Settings()) == LinkOptions{});
    }

    void ABadIdentifierIsRefusedAndNothingIsKeptOrApplied() {
        for (const char* bad :
             {"", "00,21", "00,21,3D,01", "0G,21,3D", "00,21,80", "100,21,3D", "00;21;3D"}) {
            ScriptedPrompt prompt;
            auto actions = Actions(prompt);
            bool stayedOpen = false;
            actions->SetDialogRunner([&](LinkSettingsDlg& dialog) {
                Enter(dialog, SlowKeyboard());
                dialog.ManufacturerIdEdit().setText(QString::fromLatin1(bad));
                dialog.OnOK();
                stayedOpen = dialog.result() != QDialog::Accepted;
                return false;  // the user gives up with Cancel
            });
            actions->OnLinkSettings();
            QVERIFY2(stayedOpen, bad);
            QCOMPARE(prompt.shown, std::vector<std::string>{LinkSettingsDlg::kBadManufacturerId});
            QVERIFY(CurrentLinkOptions() == LinkOptions{});
            QVERIFY(!std::filesystem::exists(settingsFile_));
        }
    }

    void StoredValuesThatCannotBeUsedFallBackOrAreBroughtIntoRange() {
        {
            const auto settings = Settings();
            settings->setValue(QStringLiteral("link/ackTimeoutMs"), QStringLiteral("soon"));
            settings->setValue(QStringLiteral("link/retries"), 99);
            settings->setValue(QStringLiteral("link/packetGapMs"), -4);
            settings->setValue(QStringLiteral("link/manufacturerId"), QStringLiteral("Maker"));
        }
        const LinkOptions read = ReadLinkSettings(*Settings());
        QCOMPARE(read.ackTimeout, LinkOptions::kDefaultAckTimeout);
        QCOMPARE(read.retries, LinkOptions::kMaxRetries);
        QCOMPARE(read.packetGap, std::chrono::milliseconds(0));
        QCOMPARE(read.manufacturerId, sysex::kManufacturerId);
    }

    void TheSavedTraceHoldsThePacketsOfAConnect() {
        KeyboardLink keyboard;
        DeviceConnectAction connector(keyboard.prompt, nullptr);
        connector.SetChooserRunner(
            [&](CMidiDeviceDlg& dialog) { return ChooseAndOk(dialog, kKeyboard, kKeyboard); });
        connector.OnConnect();
        QVERIFY(Link().deviceConnected.load());

        auto actions = Actions(keyboard.prompt);
        const auto saved = folder_->Path() / "trace.txt";
        QString proposed;
        actions->SetFileChooser([&](QWidget*, const QString& offered) {
            proposed = offered;
            return QString::fromStdString(saved.string());
        });
        keyboard.prompt.shown.clear();
        actions->OnSaveTrace();
        QVERIFY(keyboard.prompt.shown.empty());
        QVERIFY(proposed.endsWith(QStringLiteral(".txt")));

        const std::string text = ReadText(saved);
        const std::string request = HexBytes(sysex::MakeConnectRequest());
        QVERIFY2(text.find(" out   " + request + "\n") != std::string::npos, text.c_str());
        // The keyboard's acknowledge and its connect reply carrying its name, and the states.
        const std::string reply = HexBytes(sysex::MakeConnectReply(0, kVirtualKeyboardName));
        QVERIFY(text.find(" in    ") != std::string::npos);
        QVERIFY(text.find(reply) != std::string::npos);
        QVERIFY(text.find(" state ") != std::string::npos);
        std::istringstream lines(text);
        for (std::string line; std::getline(lines, line);) {
            const auto kind = line.substr(11, 6);
            QVERIFY2(kind == "out   " || kind == "in    " || kind == "state ", line.c_str());
        }
    }

    void ASaveThatFailsIsToldAndLeavesNoFile() {
        KeyboardLink keyboard;
        auto actions = Actions(keyboard.prompt);
        int asked = 0;
        actions->SetFileChooser([&](QWidget*, const QString&) {
            ++asked;
            return QString();
        });
        // Nothing sent yet: nothing to save, and no file is asked for.
        actions->OnSaveTrace();
        QCOMPARE(keyboard.prompt.shown, std::vector<std::string>{LinkMenuActions::kNothingTraced});
        QCOMPARE(asked, 0);

        DeviceConnectAction connector(keyboard.prompt, nullptr);
        connector.SetChooserRunner(
            [&](CMidiDeviceDlg& dialog) { return ChooseAndOk(dialog, kKeyboard, kKeyboard); });
        connector.OnConnect();
        // Cancelled: nothing written, nothing said.
        keyboard.prompt.shown.clear();
        actions->OnSaveTrace();
        QCOMPARE(asked, 1);
        QVERIFY(keyboard.prompt.shown.empty());

        const auto missing = folder_->Path() / "no such folder" / "trace.txt";
        actions->SetFileChooser(
            [&](QWidget*, const QString&) { return QString::fromStdString(missing.string()); });
        actions->OnSaveTrace();
        QCOMPARE(keyboard.prompt.shown.size(), std::size_t{1});
        QVERIFY(keyboard.prompt.shown.front().starts_with("The transfer trace could not be saved"));
        QVERIFY(keyboard.prompt.shown.front().find("trace.txt") != std::string::npos);
        QVERIFY(!std::filesystem::exists(missing));
    }

    void TheStripMenuOffersBothAndGreysThemDuringATransfer() {
        KeyboardLink keyboard;
        CMainFrame frame(keyboard.prompt);
        QStringList texts;
        std::vector<bool> enabled;
        QString pick;
        frame.Middle().SetMenuRunner([&](QMenu& menu, const QPoint&) {
            texts = test::MenuTexts(menu);
            enabled.clear();
            for (QAction* action : menu.actions()) {
                enabled.push_back(action->isEnabled());
                if (action->text() == pick && action->isEnabled())
                    action->trigger();
            }
        });
        int dialogs = 0;
        frame.LinkActions().SetSettingsSource([this] { return Settings(); });
        frame.LinkActions().SetDialogRunner([&](LinkSettingsDlg&) {
            ++dialogs;
            return false;
        });

        pick = QStringLiteral("Link settings\u2026");
        frame.Middle().ShowLinkMenu(QPoint(10, 10));
        QCOMPARE(texts, (QStringList{QStringLiteral("Link settings\u2026"),
                                     QStringLiteral("Save transfer trace\u2026")}));
        QCOMPARE(enabled, (std::vector<bool>{true, true}));
        QCOMPARE(dialogs, 1);
        // From the keyboard: Shift+F10 on a focused button of the strip.
        QTest::keyClick(&frame.Middle().ConnectButton(), Qt::Key_F10, Qt::ShiftModifier);
        QCOMPARE(dialogs, 2);

        {
            const LinkBusy busy;
            frame.Middle().ShowLinkMenu(QPoint(10, 10));
            QCOMPARE(enabled, (std::vector<bool>{false, false}));
            // Reached some other way meanwhile, the action still waits for the transfer.
            frame.LinkActions().OnLinkSettings();
        }
        QCOMPARE(dialogs, 2);
    }

  private:
    std::unique_ptr<ScopedTempDir> folder_;
    std::filesystem::path settingsFile_;
};

}  // namespace vantrel

QTEST_MAIN(vantrel::LinkSettingsTest)
#include "gui2_LinkSettingsTest.moc"
