// Takes the README's pictures of the slot list, the combine lists and an import refusal from the
// real window, with the in-process virtual keyboard standing in for the device:
//   pane_pictures OUT_FOLDER EXAMPLES_FOLDER
// writes OUT_FOLDER/screenshot-slots-combine.png, OUT_FOLDER/screenshot-refusal.png and
// OUT_FOLDER/screenshot-playing.png (the window at its default size playing a Fill; the sound
// goes nowhere, so the picture can be taken on a machine without audio).

#include <QApplication>
#include <QLineEdit>
#include <QMessageBox>
#include <QToolButton>
#include <QTimer>
#include <filesystem>
#include <fstream>

#include "app/CBottomView.h"
#include "app/CMainFrame.h"
#include "app/CTopView.h"
#include "app/WindowPlayer.h"
#include "combine/ui/CTopCombineView.h"
#include "combine/ui/CTopListView.h"
#include "combine/ui/CombineListCtrl.h"
#include "combine/ui/TopCombineBtnView.h"
#include "common/ScopedTempDir.h"
#include "controls/ui/CCJShellList.h"
#include "controls/ui/CCJShellTree.h"
#include "controls/ui/ShellListModel.h"
#include "device/ui/CMiddleView.h"
#include "device/ui/CTopLeftView.h"
#include "device/ui/DevListCtrl.h"
#include "device/ui/DeviceConnectAction.h"
#include "gui2_Support.h"
#include "repository/ui/CTopTabView.h"
#include "repository/ui/CTopTabViewPage.h"
#include "repository/ui/SubRepositoryListBox.h"
#include "widgets/CGdipButton.h"
#include "widgets/MessageBoxPrompt.h"
#include "widgets/PlayStrip.h"

namespace fs = std::filesystem;
using namespace vantrel;

namespace {

// Answers every box that opens; the first whose text ends in `wanted` is saved to `picture`.
struct BoxWatcher {
    QString wanted;
    QString picture;
    bool saved = false;

    void Start(QObject* owner) {
        auto* timer = new QTimer(owner);
        QObject::connect(timer, &QTimer::timeout, owner, [this] {
            auto* box = qobject_cast<QMessageBox*>(QApplication::activeModalWidget());
            if (box == nullptr || !box->isVisible())
                return;
            if (!saved && !wanted.isEmpty() && box->text().endsWith(wanted)) {
                box->grab().save(picture);
                saved = true;
            }
            box->done(QMessageBox::Ok);
        });
        timer->start(100);
    }
};

// Takes the performance and plays it to no one.
class SilentOutput final : public play::EventOutput {
  public:
    bool Send(std::span<const std::uint8_t>) override { return true; }
};

void Wait(int ms) {
    QEventLoop settle;
    QTimer::singleShot(ms, &settle, &QEventLoop::quit);
    settle.exec();
}

void Copy(const fs::path& from, const fs::path& to) {
    fs::copy_file(from, to, fs::copy_options::overwrite_existing);
}

void Combine(CMainFrame& frame, SubRepository sub, const QStringList& names) {
    CTopTabView& tabs = frame.Top().TabView();
    tabs.SetCurrentTab(sub);
    SubRepositoryListBox& list = tabs.Page(sub).List();
    list.clearSelection();
    for (const QString& name : names)
        list.findItems(name, Qt::MatchExactly).front()->setSelected(true);
    frame.Top().CombineButtonView().CombineButton().click();
}

}  // namespace

int main(int argc, char** argv) {
    QApplication app(argc, argv);
    if (argc != 3) {
        fprintf(stderr, "usage: pane_pictures OUT_FOLDER EXAMPLES_FOLDER\n");
        return 2;
    }
    const QString out = QString::fromLocal8Bit(argv[1]);
    const fs::path examples = argv[2];

    ScopedTempDir work;
    CRepository::SetRoot(work.Path() / "Repository");
    CRepository::CreateFolders();
    Copy(examples / "intro.mid", CRepository::Folder(SubRepository::Intro) / "intro.mid");
    for (const char* fill : {"fill1.mid", "fill2.mid", "fill3.mid"})
        Copy(examples / fill, CRepository::Folder(SubRepository::Fill) / fill);
    Copy(examples / "ending.mid", CRepository::Folder(SubRepository::Ending) / "ending.mid");
    const fs::path songs = work.Path() / "Songs";
    fs::create_directories(songs);
    for (const char* song : {"intro.mid", "fill1.mid", "ending.mid"})
        Copy(examples / song, songs / song);
    // A file cut short in its second track, as a broken download leaves one.
    {
        std::ifstream in(examples / "fill2.mid", std::ios::binary);
        std::vector<char> bytes((std::istreambuf_iterator<char>(in)), {});
        bytes.resize(bytes.size() * 2 / 3);
        std::ofstream(songs / "cut short.mid", std::ios::binary)
            .write(bytes.data(), static_cast<std::streamsize>(bytes.size()));
    }

    KeyboardOptions options;
    options.slotCount = 8;
    options.initialSlots[1] = SlotContent{"Bossa Nova", std::vector<std::uint8_t>(20474, 0)};
    options.initialSlots[4] = SlotContent{"Slow Rock", std::vector<std::uint8_t>(20474, 0)};
    MessageBoxPrompt prompt;
    DesktopDeviceLink link(prompt, std::make_shared<VirtualKeyboardBackend>(options));
    CMainFrame frame(prompt);
    prompt.SetParentWindow(&frame);
    frame.resize(1280, 720);
    frame.show();

    BoxWatcher watcher;
    watcher.Start(&frame);
    const QString keyboard = QString::fromLatin1(kVirtualKeyboardName);
    frame.Connector().SetChooserRunner(
        [&](CMidiDeviceDlg& dialog) { return test::ChooseAndOk(dialog, keyboard, keyboard); });
    frame.Middle().ConnectButton().click();

    Combine(frame, SubRepository::Intro, {"intro.mid"});
    Combine(frame, SubRepository::Fill, {"fill1.mid", "fill2.mid", "fill3.mid"});
    Combine(frame, SubRepository::Ending, {"ending.mid"});
    DevListCtrl& slotList = frame.Top().SlotsView().List();
    slotList.setCurrentItem(slotList.topLevelItem(2));
    slotList.setFocus();

    CCJShellList& browser = frame.Bottom().List();
    frame.Bottom().Tree().SelectFolder(QString::fromStdString(songs.string()));
    QEventLoop settle;
    QTimer::singleShot(1500, &settle, &QEventLoop::quit);
    settle.exec();
    frame.grab().save(out + QStringLiteral("/screenshot-slots-combine.png"));

    // Importing the cut file: its refusal names it and says why.
    for (int row = 0; row < browser.Model().rowCount(); ++row) {
        if (browser.Model().Row(row).name == QStringLiteral("cut short.mid"))
            browser.selectionModel()->select(
                browser.Model().index(row, 0),
                QItemSelectionModel::ClearAndSelect | QItemSelectionModel::Rows);
    }
    watcher.wanted = QStringLiteral("File is not supported!");
    watcher.picture = out + QStringLiteral("/screenshot-refusal.png");
    frame.Middle().ImportButton().click();
    if (!watcher.saved) {
        fprintf(stderr, "pane_pictures: the refusal did not show\n");
        return 1;
    }

    // Playing the first Fill over a chart, at the window's default size.
    frame.resize(CMainFrame::kWidth, CMainFrame::kHeight);
    frame.Player().SetOutputMaker([](std::string&) { return std::make_shared<SilentOutput>(); });
    CTopCombineView& combine = frame.Top().CombineView();
    CombineListCtrl& fills = combine.Pane(SubRepository::Fill).List();
    fills.clearSelection();
    fills.topLevelItem(0)->setSelected(true);
    fills.setFocus();
    combine.Strip().ChartField().setText(QStringLiteral("C | Am | F | G7"));
    combine.Strip().PlayButton().click();
    Wait(2600);
    frame.grab().save(out + QStringLiteral("/screenshot-playing.png"));
    frame.Player().Stop();
    return 0;
}
