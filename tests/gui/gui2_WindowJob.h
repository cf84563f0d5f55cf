#pragma once

// The main window's road to an upload over the in-process virtual keyboard: a prompt that lets
// a test look at the window as each message is shown, connect, and the example style's files
// imported and combined.

#include <QtTest>
#include <functional>
#include <string>

#include "ScriptedPrompt.h"
#include "app/CMainFrame.h"
#include "app/CTopView.h"
#include "combine/ui/CTopMiddleView.h"
#include "combine/ui/TopCombineBtnView.h"
#include "device/ui/CMiddleView.h"
#include "device/ui/DeviceConnectAction.h"
#include "gui2_Support.h"
#include "repository/ui/CTopTabView.h"
#include "repository/ui/CTopTabViewPage.h"
#include "repository/ui/SubRepositoryListBox.h"
#include "widgets/CGdipButton.h"

namespace vantrel::test {

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
    ScriptedPrompt script;
    std::function<void(const std::string&)> onMessage;
};

inline QString Example(const char* name) {
    return QString::fromLatin1(VANTREL_EXAMPLES_DIR) + QLatin1Char('/') + QString::fromLatin1(name);
}

inline void ImportAndCombine(CMainFrame& frame, SubRepository sub, const QStringList& files) {
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

// Connects to the virtual keyboard and fills the three combine lists with the example style.
inline void ConnectAndCombine(CMainFrame& frame) {
    const QString keyboard = QString::fromLatin1(kVirtualKeyboardName);
    frame.Connector().SetChooserRunner(
        [keyboard](CMidiDeviceDlg& dialog) { return ChooseAndOk(dialog, keyboard, keyboard); });
    frame.Middle().ConnectButton().click();
    ImportAndCombine(frame, SubRepository::Intro, {"intro.mid"});
    ImportAndCombine(frame, SubRepository::Fill, {"fill1.mid", "fill2.mid", "fill3.mid"});
    ImportAndCombine(frame, SubRepository::Ending, {"ending.mid"});
}

// Presses Upload and lets the window run until the upload's outcome has been shown (a minute at
// most): the click itself returns as soon as the transfer is handed to the link worker.
inline bool UploadAndWait(CTopMiddleView& download) {
    download.UploadButton().click();
    return QTest::qWaitFor([&] { return !download.Transferring(); }, 60000);
}

}  // namespace vantrel::test
