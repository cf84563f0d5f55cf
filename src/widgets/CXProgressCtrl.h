#pragma once

#include <QColor>
#include <QProgressBar>

namespace vantrel {

// A progress bar that paints itself: a flat sunken frame, a light grey track, a blue bar for the
// part done and the percentage centred on it, black over the track and white over the bar. It
// paints into an off-screen image first, so stepping it hundreds of times does not flicker.
class CXProgressCtrl : public QProgressBar {
    Q_OBJECT
  public:
    enum class TextAlignment { Left = 0, Centre = 1, Right = 2 };

    explicit CXProgressCtrl(QWidget* parent = nullptr);

    void SetRange(int lower, int upper) { setRange(lower, upper); }
    void SetPos(int position) { setValue(position); }
    int GetPos() const { return value(); }
    void SetStep(int step) { step_ = step; }
    // Advances by the step; past the upper bound the bar starts again from the lower bound.
    void StepIt();

    void SetBarColour(QColor colour) { barColour_ = colour; }
    void SetTrackColour(QColor colour) { trackColour_ = colour; }
    void SetTextColours(QColor overTrack, QColor overBar);
    void SetTextAlignment(TextAlignment alignment) { alignment_ = alignment; }
    void SetShowPercent(bool show) { showPercent_ = show; }
    // Text shown before the percentage; empty in this program.
    void SetLabel(const QString& label) { label_ = label; }

    // The text as painted, for example "45% ".
    QString PaintedText() const;
    // The part done, 0 to 1; 0 for an empty range.
    double Fraction() const;

  protected:
    void paintEvent(QPaintEvent* event) override;

  private:
    void PaintHorizontal(QPainter& painter, const QRect& inner) const;
    void PaintVertical(QPainter& painter, const QRect& inner) const;

    QColor barColour_{128, 128, 255};
    QColor trackColour_{235, 235, 235};
    QColor textOverTrack_{Qt::black};
    QColor textOverBar_{Qt::white};
    TextAlignment alignment_ = TextAlignment::Centre;
    bool showPercent_ = true;
    QString label_;
    int step_ = 10;
};

}  // namespace vantrel
