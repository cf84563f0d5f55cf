// The percentage bar drawn into an image: bar width, colours and the text's two colours.

#include <QtTest>

#include "widgets/CXProgressCtrl.h"

namespace vantrel {

namespace {

const QColor kBar(128, 128, 255);
const QColor kTrack(235, 235, 235);
constexpr int kWidth = 204;  // inner width 200
constexpr int kHeight = 24;

bool IsDark(QColor colour) {
    return colour.red() < 100 && colour.green() < 100 && colour.blue() < 100;
}

bool IsWhite(QColor colour) {
    return colour.red() > 245 && colour.green() > 245 && colour.blue() > 245;
}

// Counts pixels of the text's colours in a column range of the middle rows.
struct TextInk {
    int dark = 0;
    int white = 0;
};

TextInk InkIn(const QImage& image, int fromX, int toX) {
    TextInk ink;
    for (int y = 2; y < image.height() - 2; ++y) {
        for (int x = fromX; x < toX; ++x) {
            const QColor colour = image.pixelColor(x, y);
            ink.dark += IsDark(colour) ? 1 : 0;
            ink.white += IsWhite(colour) ? 1 : 0;
        }
    }
    return ink;
}

}  // namespace

class ProgressBarTest : public QObject {
    Q_OBJECT

  private Q_SLOTS:
    void init() {
        bar_ = std::make_unique<CXProgressCtrl>();
        bar_->resize(kWidth, kHeight);
        bar_->SetRange(0, 892);
        bar_->SetStep(1);
    }

    void AtTheLowerBoundThereIsNoBarAndTheTextIsBlack() {
        bar_->SetPos(0);
        QCOMPARE(bar_->PaintedText(), QStringLiteral("0% "));
        const QImage image = Render();
        QCOMPARE(image.pixelColor(3, kHeight / 2), kTrack);
        const TextInk ink = InkIn(image, 2, kWidth - 2);
        QVERIFY(ink.dark > 10);
        QCOMPARE(ink.white, 0);
    }

    void HalfOfTheRangeFillsHalfTheInnerWidth() {
        bar_->SetPos(446);
        QCOMPARE(bar_->PaintedText(), QStringLiteral("50% "));
        const QImage image = Render();
        // Inner area from x = 2, 200 wide: the bar ends at x = 101.
        QCOMPARE(image.pixelColor(2, 3), kBar);
        QCOMPARE(image.pixelColor(101, 3), kBar);
        QCOMPARE(image.pixelColor(102, 3), kTrack);
        QCOMPARE(image.pixelColor(kWidth - 3, 3), kTrack);
        // The centred text crosses the bar's edge: white on the bar, black on the track.
        QVERIFY(InkIn(image, 2, 102).white > 5);
        QVERIFY(InkIn(image, 102, kWidth - 2).dark > 5);
        QCOMPARE(InkIn(image, 2, 102).dark, 0);
    }

    void AtTheUpperBoundTheWholeTextIsWhite() {
        bar_->SetPos(892);
        QCOMPARE(bar_->PaintedText(), QStringLiteral("100% "));
        const QImage image = Render();
        QCOMPARE(image.pixelColor(2, 3), kBar);
        QCOMPARE(image.pixelColor(kWidth - 3, kHeight - 3), kBar);
        const TextInk ink = InkIn(image, 2, kWidth - 2);
        QVERIFY(ink.white > 10);
        QCOMPARE(ink.dark, 0);
    }

    void FrameIsDrawnAroundTheTrack() {
        bar_->SetPos(0);
        const QImage image = Render();
        QVERIFY(image.pixelColor(0, 0) != kTrack);
        QVERIFY(image.pixelColor(1, kHeight / 2) != kTrack);
    }

    void PercentageRoundsToTheNearestWholeNumber() {
        bar_->SetRange(0, 200);
        bar_->SetPos(1);  // 0.5 % rounds up
        QCOMPARE(bar_->PaintedText(), QStringLiteral("1% "));
        bar_->SetRange(0, 1000);
        bar_->SetPos(4);  // 0.4 % rounds down
        QCOMPARE(bar_->PaintedText(), QStringLiteral("0% "));
    }

    void StepsAdvanceByTheStep() {
        bar_->SetPos(0);
        for (int i = 0; i < 446; ++i) {
            bar_->StepIt();
        }
        QCOMPARE(bar_->GetPos(), 446);
    }

    void AnEmptyRangePaintsNoBar() {
        bar_->SetRange(5, 5);
        bar_->SetPos(5);
        QCOMPARE(bar_->Fraction(), 0.0);
        QCOMPARE(Render().pixelColor(3, 3), kTrack);
    }

  private:
    QImage Render() { return bar_->grab().toImage().convertToFormat(QImage::Format_RGB32); }

    std::unique_ptr<CXProgressCtrl> bar_;
};

}  // namespace vantrel

QTEST_MAIN(vantrel::ProgressBarTest)
#include "ProgressBarTest.moc"
