// The main window's arrangement: the size rules of each splitter, bars that ignore the mouse,
// the button strip's positions, the About box and the splash picture.

#include <QLabel>
#include <QSplitterHandle>
#include <QTextBrowser>
#include <QtTest>

#include "ScriptedPrompt.h"
#include "WindowTestSupport.h"
#include "app/CBottomView.h"
#include "app/CMainFrame.h"
#include "app/CSplashWnd.h"
#include "app/CTopView.h"
#include "app/WindowPlayer.h"
#include "device/ui/CMiddleView.h"
#include "repository/ModuleDirectory.h"
#include "widgets/CAboutDlg.h"
#include "widgets/CGdipButton.h"
#include "widgets/GuideWindow.h"
#include "widgets/MidiTypeIcon.h"

namespace vantrel {

namespace fs = std::filesystem;

class LayoutTest : public QObject {
    Q_OBJECT

  private Q_SLOTS:
    void initTestCase() {
        // A file of the user's that happens to be called tmp.mid, beside the program.
        QVERIFY(!fs::exists(UsersFile()));
        test::WriteBytes(UsersFile(), {1, 2, 3});
    }
    void cleanupTestCase() { fs::remove(UsersFile()); }

    void init() {
        repository_ = std::make_unique<test::TempRepository>();
        frame_ = std::make_unique<CMainFrame>(prompt_);
        frame_->show();
        QVERIFY(QTest::qWaitForWindowExposed(frame_.get()));
    }
    void cleanup() {
        frame_.reset();
        repository_.reset();
    }

    void StartUpLearnsTheMidiIconWithoutTouchingFilesBesideTheProgram() {
        QCOMPARE(test::ReadBytes(UsersFile()), (std::vector<std::uint8_t>{1, 2, 3}));
        QVERIFY(!MidiTypeIcon().isNull());
    }

    void FrameStartsAtItsMinimumWithRowsOf270And60() {
        QCOMPARE(frame_->windowTitle(), QStringLiteral("Vantrel"));
        QCOMPARE(frame_->minimumSize(), QSize(800, 600));
        QCOMPARE(frame_->size(), QSize(800, 600));
        // The rule works on the outer height, frame included.
        const int outer = frame_->frameGeometry().height();
        QCOMPARE(frame_->Splitter().GetPaneInfo(0).ideal, (outer - 60) / 2);

        frame_->ApplyRowRule(600);
        CDisabledCSplitterWnd& rows = frame_->Splitter();
        QCOMPARE(rows.GetPaneInfo(0).ideal, 270);
        QCOMPARE(rows.GetPaneInfo(1).ideal, 60);
        QCOMPARE(rows.GetPaneInfo(2).ideal, 270);
        QCOMPARE(rows.GetPaneInfo(0).minimum, 100);
        QCOMPARE(rows.GetPaneInfo(1).minimum, 60);
        // The bottom row takes what the two bars leave.
        QCOMPARE(rows.sizes(), (QList<int>{270, 60, 600 - 270 - 60 - 2 * 4}));
    }

    void GrowingTheFrameSharesTheHeightBetweenTopAndBottom() {
        frame_->resize(1000, 900);
        QTRY_COMPARE(frame_->height(), 900);
        const int top = (frame_->frameGeometry().height() - 60) / 2;
        QTRY_COMPARE(frame_->Splitter().sizes().value(0), top);
        QCOMPARE(frame_->Splitter().sizes().value(1), 60);
        QCOMPARE(frame_->Splitter().sizes().value(2), 900 - top - 60 - 2 * 4);
    }

    void HeightsOf100OrLessLeaveTheRowsAlone() {
        frame_->ApplyRowRule(600);
        frame_->ApplyRowRule(100);
        QCOMPARE(frame_->Splitter().GetPaneInfo(0).ideal, 270);
        QCOMPARE(frame_->Splitter().sizes().value(1), 60);
        frame_->ApplyRowRule(101);
        QCOMPARE(frame_->Splitter().GetPaneInfo(0).ideal, 20);
        QCOMPARE(frame_->Splitter().GetPaneInfo(0).minimum, 100);
    }

    void PanesBelowTheirMinimumAreHiddenAndTheLastTakesTheRest() {
        const std::vector<PaneInfo> panes = {{20, 100}, {60, 60}, {20, 100}};
        QCOMPARE(LayOutPanes(panes, 300), (std::vector<int>{0, 60, 240}));
        QCOMPARE(LayOutPanes(panes, 50), (std::vector<int>{0, 0, 50}));
        QCOMPARE(LayOutPanes(std::vector<PaneInfo>{{500, 0}, {10, 0}}, 300),
                 (std::vector<int>{300, 0}));
    }

    void TopRowColumnsFollowItsWidth() {
        WindowPlayer player;
        CTopView top(prompt_, player);
        top.resize(800, 270);
        top.show();
        QVERIFY(QTest::qWaitForWindowExposed(&top));
        // At the smallest width the combine lists and the tabs get what they need first.
        const QList<int> ideals = IdealsOf(top.Splitter());
        QCOMPARE(ideals, (QList<int>{112, 115, 272, 115, 170}));
        QCOMPARE(top.Splitter().GetPaneInfo(1).minimum, 115);
        QCOMPARE(top.Splitter().GetPaneInfo(3).minimum, 115);
        QCOMPARE(top.Splitter().sizes(), (QList<int>{112, 115, 272, 115, 170}));

        // A wider window shares what it adds: two fifths to the combine lists, one to the tabs.
        top.resize(1300, 270);
        QCOMPARE(IdealsOf(top.Splitter()), (QList<int>{312, 115, 472, 115, 270}));

        top.resize(300, 270);
        QCOMPARE(IdealsOf(top.Splitter()), (QList<int>{312, 115, 472, 115, 270}));
        top.resize(301, 270);
        QCOMPARE(top.Splitter().GetPaneInfo(0).ideal, 0);
    }

    void BottomRowGivesTheTreeAThird() {
        CBottomView& bottom = frame_->Bottom();
        const int width = bottom.width();
        QCOMPARE(bottom.Splitter().GetPaneInfo(0).ideal, width / 3);
        QCOMPARE(bottom.Splitter().GetPaneInfo(1).ideal, width * 2 / 3);
        QCOMPARE(bottom.Splitter().sizes().value(0), width / 3);
    }

    void DraggingABarChangesNothing() {
        CDisabledCSplitterWnd& rows = frame_->Splitter();
        const QList<int> before = rows.sizes();
        QSplitterHandle* bar = rows.handle(1);
        QVERIFY(bar != nullptr);
        QCOMPARE(bar->cursor().shape(), Qt::ArrowCursor);
        const QPoint middle = bar->rect().center();
        QTest::mousePress(bar, Qt::LeftButton, {}, middle);
        QMouseEvent move(QEvent::MouseMove, middle + QPoint(0, 80), bar->mapToGlobal(middle),
                         Qt::NoButton, Qt::LeftButton, Qt::NoModifier);
        QApplication::sendEvent(bar, &move);
        QTest::mouseRelease(bar, Qt::LeftButton, {}, middle + QPoint(0, 80));
        QCOMPARE(rows.sizes(), before);
    }

    void ButtonStripPlacesItsFiveButtons() {
        CMiddleView& strip = frame_->Middle();
        const int width = strip.width();
        QCOMPARE(strip.ConnectButton().geometry(), QRect(30, 18, 110, 40));
        QCOMPARE(strip.RefreshButton().geometry(), QRect(180, 18, 110, 40));
        QCOMPARE(strip.ImportButton().geometry(), QRect(width - 450, 18, 100, 40));
        QCOMPARE(strip.HelpButton().geometry(), QRect(width - 240, 18, 110, 40));
        QCOMPARE(strip.AboutButton().geometry(), QRect(width - 120, 18, 110, 40));
    }

    void ImageButtonsSwapPicturesUnderTheMouse() {
        CGdipButton& button = frame_->Middle().HelpButton();
        const QImage normal = button.grab().toImage();
        QVERIFY(!button.ShowsActivePicture());
        button.setDown(true);
        QVERIFY(button.ShowsActivePicture());
        const QImage active = button.grab().toImage();
        button.setDown(false);
        QVERIFY(normal != active);
        // Both pictures are drawn, not left transparent.
        const QPoint centre(button.width() / 2, button.height() / 2);
        QVERIFY(normal.pixelColor(centre).alpha() > 0);
        QVERIFY(active.pixelColor(centre).alpha() > 0);
    }

    void ReturnAndEnterPressAFocusedImageButton() {
        CGdipButton& button = frame_->Middle().RefreshButton();
        QCOMPARE(button.accessibleName(), QStringLiteral("Refresh"));
        int clicks = 0;
        connect(&button, &CGdipButton::clicked, this, [&] { ++clicks; });
        button.setFocus();
        QTest::keyClick(&button, Qt::Key_Return);
        QTRY_COMPARE(clicks, 1);
        QTest::keyClick(&button, Qt::Key_Enter, Qt::KeypadModifier);
        QTRY_COMPARE(clicks, 2);
    }

    void HelpFallsBackToAGuideWindowOfOurOwn() {
        CMiddleView& strip = frame_->Middle();
        const fs::path guide = repository_->folder.Path() / "guide.html";
        const std::string page = "<html><body><h1>Vantrel user guide</h1></body></html>";
        test::WriteBytes(guide, std::vector<std::uint8_t>(page.begin(), page.end()));
        strip.SetGuideFile(guide);
        QStringList asked;
        bool desktopShowsPages = true;
        strip.SetGuideOpener([&](const QString& file) {
            asked.push_back(file);
            return desktopShowsPages;
        });
        strip.OnHelp();
        QCOMPARE(asked.size(), 1);
        QVERIFY(strip.findChild<GuideWindow*>() == nullptr);

        desktopShowsPages = false;
        strip.OnHelp();
        auto* window = strip.findChild<GuideWindow*>();
        QVERIFY(window != nullptr);
        QVERIFY(window->isVisible());
        QVERIFY(window->Browser().toPlainText().contains(QStringLiteral("Vantrel user guide")));
        window->close();
        QVERIFY(prompt_.shown.empty());

        strip.SetGuideFile(repository_->folder.Path() / "missing.html");
        strip.OnHelp();
        QCOMPARE(prompt_.messages, std::vector<std::string>{"The user guide is not installed!"});
        QCOMPARE(asked.size(), 2);
    }

    void AboutBoxNamesTheProgramAndVersion() {
        CAboutDlg about;
        QCOMPARE(about.windowTitle(), QStringLiteral("About Vantrel"));
        auto* version = about.findChild<QLabel*>(QStringLiteral("version"));
        QVERIFY(version != nullptr);
        QCOMPARE(version->text(), QStringLiteral("Vantrel Version 1.0.3"));
    }

    void SplashPictureIsTheFullSize() {
        std::unique_ptr<CSplashWnd> splash(CSplashWnd::Create());
        QVERIFY(splash != nullptr);
        QCOMPARE(splash->size(), QSize(800, 600));
        const QImage picture = splash->grab().toImage();
        QVERIFY(picture.pixelColor(10, 10) != picture.pixelColor(400, 520));
    }

  private:
    static fs::path UsersFile() { return ModuleDirectory() / "tmp.mid"; }

    static QList<int> IdealsOf(const CDisabledCSplitterWnd& splitter) {
        QList<int> ideals;
        for (int i = 0; i < splitter.count(); ++i) {
            ideals.push_back(splitter.GetPaneInfo(i).ideal);
        }
        return ideals;
    }

    test::ScriptedPrompt prompt_;
    std::unique_ptr<test::TempRepository> repository_;
    std::unique_ptr<CMainFrame> frame_;
};

}  // namespace vantrel

QTEST_MAIN(vantrel::LayoutTest)
#include "LayoutTest.moc"
