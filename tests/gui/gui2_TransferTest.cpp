// An upload through the main window while the window does other things: a modal box opened in
// the middle of the transfer, and the Cancel button beside the progress bar.

#include <QEventLoop>
#include <QPushButton>
#include <QTimer>
#include <QtTest>
#include <algorithm>
#include <utility>

#include "combine/ui/CTopMiddleView.h"
#include "device/LinkState.h"
#include "device/ui/CTopLeftView.h"
#include "device/ui/DevListCtrl.h"
#include "gui2_WindowJob.h"
#include "widgets/CXProgressCtrl.h"

namespace vantrel {

namespace {

const char kOtherBox[] = "A box of another pane";
constexpr int kTargetSlot = 3;

// Runs an event loop, as a modal box does, until `done` holds or a minute has passed.
bool LoopUntil(const std::function<bool()>& done) {
    QEventLoop box;
    QTimer poll;
    QObject::connect(&poll, &QTimer::timeout, &box, [&] {
        if (done())
            box.quit();
    });
    poll.start(1);
    QTimer::singleShot(60000, &box, &QEventLoop::quit);
    box.exec();
    return done();
}

// A keyboard that acknowledges a little late, so that a transfer is still under way when the
// window has caught up with it (the in-process keyboard is otherwise done within a few slices).
KeyboardOptions SlowKeyboard() {
    KeyboardOptions options;
    options.timing.ackDelay = std::chrono::milliseconds(2);
    return options;
}

// The window connected to that keyboard with the example style combined and the target slot
// selected, ready for Upload.
struct ReadyToUpload {
    explicit ReadyToUpload(KeyboardOptions options = SlowKeyboard())
        : keyboard(std::move(options)), frame(prompt) {
        frame.show();
        test::ConnectAndCombine(frame);
        frame.Top().SlotsView().List().topLevelItem(kTargetSlot)->setSelected(true);
    }
    CTopMiddleView& Download() { return frame.Top().DownloadView(); }
    VirtualKeyboard& Device() { return keyboard.keyboard->Keyboard(); }

    test::KeyboardLink keyboard;
    test::WatchingPrompt prompt;
    CMainFrame frame;
};

// Counts the window's paints that happen while a device operation holds the link, with a timer
// asking the window to paint again every millisecond.
class BusyPaints final : public QObject {
  public:
    explicit BusyPaints(QWidget& window) : window_(window) {
        qApp->installEventFilter(this);
        connect(&ticks_, &QTimer::timeout, this, [this] { window_.update(); });
        ticks_.start(1);
    }
    ~BusyPaints() override { qApp->removeEventFilter(this); }
    // The paints while busy since the last call.
    int Take() { return std::exchange(paints_, 0); }

  protected:
    bool eventFilter(QObject* watched, QEvent* event) override {
        if (event->type() == QEvent::Paint && !Link().linkIdle.load() && watched->isWidgetType())
            ++paints_;
        return false;
    }

  private:
    QWidget& window_;
    QTimer ticks_;
    int paints_ = 0;
};

}  // namespace

class TransferTest : public QObject {
    Q_OBJECT
  private Q_SLOTS:
    void AModalBoxDuringTheTransferPausesNeitherItNorItsOutcome() {
        ReadyToUpload window;
        test::WatchingPrompt& prompt = window.prompt;
        CTopMiddleView& download = window.Download();
        VirtualKeyboard& device = window.Device();

        std::uint32_t packetsWhenOpened = 0;
        std::uint32_t packetsWhileOpen = 0;
        bool boxOpen = false;
        bool outcomeWhileOpen = false;
        bool closedByOutcome = false;
        prompt.onMessage = [&](const std::string& text) {
            // The first line; a second one tells of a retry on a machine too loaded to keep up.
            if (text.rfind("Download successfully!", 0) == 0) {
                outcomeWhileOpen = boxOpen;
                return;
            }
            if (text != kOtherBox)
                return;
            // The box stays open until the outcome has been shown: the rest of the transfer
            // and its end have to come behind it.
            boxOpen = true;
            packetsWhenOpened = device.Counters().packets;
            closedByOutcome = LoopUntil([&] { return outcomeWhileOpen; });
            packetsWhileOpen = device.Counters().packets - packetsWhenOpened;
            boxOpen = false;
        };
        // Another pane's box opens while the transfer runs; Upload itself is disabled then.
        bool uploadEnabled = true;
        QTimer::singleShot(0, &download, [&] {
            uploadEnabled = download.UploadButton().isEnabled();
            download.UploadButton().click();
            prompt.Message(kOtherBox);
        });
        QVERIFY(test::UploadAndWait(download));

        QVERIFY(closedByOutcome);
        QVERIFY(!uploadEnabled);
        QVERIFY(download.UploadButton().isEnabled());
        QVERIFY(packetsWhenOpened < 892);
        QVERIFY(packetsWhileOpen > 0);
        QVERIFY(device.Slot(kTargetSlot).has_value());
        // A message is recorded once its box has closed, so the outcome shown inside the
        // other pane's box comes first.
        const auto& shown = prompt.script.messages;
        QCOMPARE(shown.size(), std::size_t{3});
        QCOMPARE(shown[0], std::string(kVirtualKeyboardName) + " Connected!");
        QVERIFY(shown[1].rfind("Download successfully!", 0) == 0);
        QCOMPARE(shown[2], std::string(kOtherBox));
        QVERIFY(Link().linkIdle.load());
    }

    void TheClickReturnsWhileTheTransferRuns() {
        ReadyToUpload window;
        CTopMiddleView& download = window.Download();
        BusyPaints paints(window.frame);
        download.UploadButton().click();
        // Handed to the link worker: the window's thread is back before the keyboard has
        // the style, with the link busy and the progress bar up.
        QVERIFY(download.Transferring());
        QVERIFY(!Link().linkIdle.load());
        QVERIFY(download.Progress().isVisible());
        QVERIFY(!window.Device().Slot(kTargetSlot).has_value());
        QVERIFY(QTest::qWaitFor([&] { return !download.Transferring(); }, 60000));
        QVERIFY(window.Device().Slot(kTargetSlot).has_value());
        QVERIFY(Link().linkIdle.load());
        QCOMPARE(window.prompt.script.messages.back(), std::string("Download successfully!"));
        QVERIFY(paints.Take() > 0);
    }

    void ClosingTheWindowDuringTheTransferCancelsIt() {
        test::KeyboardLink keyboard(SlowKeyboard());
        test::WatchingPrompt prompt;
        auto frame = std::make_unique<CMainFrame>(prompt);
        frame->show();
        test::ConnectAndCombine(*frame);
        frame->Top().SlotsView().List().topLevelItem(kTargetSlot)->setSelected(true);
        CTopMiddleView& download = frame->Top().DownloadView();
        download.UploadButton().click();
        QVERIFY(QTest::qWaitFor([&] { return download.Progress().GetPos() >= 100; }, 60000));

        const std::filesystem::path image = CRepository::Root() / "Total.mix";
        QVERIFY(std::filesystem::exists(image));
        frame.reset();
        QVERIFY(!std::filesystem::exists(image));
        VirtualKeyboard& device = keyboard.keyboard->Keyboard();
        const std::uint32_t packetsAfterClose = device.Counters().packets;
        QTest::qWait(100);
        QCOMPARE(device.Counters().packets, packetsAfterClose);
        QVERIFY(!device.Slot(kTargetSlot).has_value());
        QVERIFY(Link().linkIdle.load());
    }

    void TheWindowPaintsDuringEveryDeviceOperation() {
        // Acknowledges late enough that each operation outlasts several of the waiting
        // caller's slices; the upload's paints are counted in TheClickReturnsWhileTheTransferRuns.
        KeyboardOptions slow;
        slow.timing.ackDelay = std::chrono::milliseconds(30);
        test::KeyboardLink keyboard(slow);
        test::WatchingPrompt prompt;
        CMainFrame frame(prompt);
        frame.show();
        BusyPaints paints(frame);

        test::ConnectAndCombine(frame);  // opening the ports, the connect and the slot list
        QVERIFY(paints.Take() > 0);
        CTopLeftView& slotPane = frame.Top().SlotsView();
        slotPane.RefreshSlots();
        QVERIFY(paints.Take() > 0);
        const std::uint32_t packetsBeforeDelete = keyboard.keyboard->Keyboard().Counters().packets;
        slotPane.OnSlotDelete(kTargetSlot);
        QVERIFY(paints.Take() > 0);
        QVERIFY(keyboard.keyboard->Keyboard().Counters().packets > packetsBeforeDelete);
    }

    void CancelAtPacket300StopsTheTransferAndKeepsTheSlot() {
        ReadyToUpload window;
        test::WatchingPrompt& prompt = window.prompt;
        CTopMiddleView& download = window.Download();
        CTopLeftView& slotPane = window.frame.Top().SlotsView();
        VirtualKeyboard& device = window.Device();
        QVERIFY(!download.CancelButton().isVisible());

        bool cancelShown = false;
        std::uint32_t packetsAtCancel = 0;
        std::uint32_t listRepliesAtCancel = 0;
        std::uint32_t packetsAtMessage = 0;
        bool idleAtMessage = false;
        bool cancelShownAtMessage = true;
        CXProgressCtrl& bar = download.Progress();
        connect(&bar, &QProgressBar::valueChanged, this, [&](int value) {
            if (value < 300 || packetsAtCancel != 0)
                return;
            cancelShown = download.CancelButton().isVisible();
            download.CancelButton().click();
            packetsAtCancel = device.Counters().packets;
            listRepliesAtCancel = device.Counters().statusReplies;
        });
        prompt.onMessage = [&](const std::string& text) {
            if (text == "Download cancelled") {
                packetsAtMessage = device.Counters().packets;
                idleAtMessage = Link().linkIdle.load();
                cancelShownAtMessage = download.CancelButton().isVisible();
            }
        };
        QVERIFY(test::UploadAndWait(download));

        QVERIFY(cancelShown);
        QVERIFY(packetsAtCancel > 0);
        QCOMPARE(prompt.script.messages,
                 (std::vector<std::string>{std::string(kVirtualKeyboardName) + " Connected!",
                                           "Download cancelled"}));
        // At most the packet already on its way when Cancel was pressed follows.
        QVERIFY(packetsAtMessage - packetsAtCancel <= 1);
        QVERIFY(idleAtMessage);
        QVERIFY(!cancelShownAtMessage);  // nothing is left to cancel once the outcome shows
        QVERIFY(Link().linkIdle.load());
        QVERIFY(!device.Slot(kTargetSlot).has_value());
        // The slot list was read again: one status reply per entry of each reading.
        QVERIFY(device.Counters().statusReplies - listRepliesAtCancel >= 16);
        QCOMPARE(slotPane.Rows().size(), std::size_t{16});
        QCOMPARE(slotPane.Rows()[kTargetSlot], std::string("Empty"));
        QVERIFY(!download.CancelButton().isVisible());
        QVERIFY(!bar.isVisible());
    }

    // A keyboard that joins packets by their length takes whatever follows a cut message as its
    // rest, unless the cut message is closed: Refresh and a new Upload right after a Cancel
    // would then fail. The slot chosen stays chosen.
    void AfterACancelAgainstAByLengthKeyboardRefreshAndUploadWorkOnTheSameSlot() {
        KeyboardOptions options = SlowKeyboard();
        options.joinRule = JoinRule::ByLength;
        ReadyToUpload window(options);
        CTopMiddleView& download = window.Download();
        CTopLeftView& slotPane = window.frame.Top().SlotsView();
        VirtualKeyboard& device = window.Device();
        bool cancelled = false;
        connect(&download.Progress(), &QProgressBar::valueChanged, this, [&](int value) {
            if (value >= 300 && !cancelled) {
                cancelled = true;
                download.CancelButton().click();
            }
        });
        QVERIFY(test::UploadAndWait(download));
        QVERIFY(cancelled);
        QCOMPARE(window.prompt.script.messages.back(), std::string("Download cancelled"));
        QCOMPARE(slotPane.SelectedRows(), (std::vector<std::size_t>{kTargetSlot}));

        window.frame.Middle().RefreshButton().click();
        QCOMPARE(slotPane.Rows().size(), std::size_t{16});
        QCOMPARE(slotPane.SelectedRows(), (std::vector<std::size_t>{kTargetSlot}));
        disconnect(&download.Progress(), nullptr, this, nullptr);
        QVERIFY(test::UploadAndWait(download));
        QCOMPARE(window.prompt.script.messages.back(), std::string("Download successfully!"));
        QVERIFY(device.Slot(kTargetSlot).has_value());
        QCOMPARE(slotPane.SelectedRows(), (std::vector<std::size_t>{kTargetSlot}));
        QCOMPARE(std::count(window.prompt.script.messages.begin(),
                            window.prompt.script.messages.end(), std::string("Connection error!")),
                 0);
    }
};

}  // namespace vantrel

QTEST_MAIN(vantrel::TransferTest)
#include "gui2_TransferTest.moc"
