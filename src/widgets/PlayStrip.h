#pragma once

#include <QWidget>
#include <functional>
#include <vector>

#include "widgets/PartPlayer.h"

class QEvent;
class QLabel;
class QLineEdit;
class QTimer;
class QToolButton;

namespace vantrel {

// Play and Stop for the entry a pane has selected, the chord chart it follows ("C | Am | F |
// G7") and, while it plays, the measure under way. A problem (a chart that does not parse, a
// part that does not convert, no SoundFont) shows in the same place, in red. The strip never
// waits for the sound: it asks the player and reads the measure a few times a second.
class PlayStrip : public QWidget {
    Q_OBJECT
  public:
    // The parts to play now; empty when nothing is selected.
    using Selection = std::function<std::vector<PlayItem>()>;

    PlayStrip(PartPlayer& player, Selection selection, QWidget* parent = nullptr);

    QToolButton& PlayButton() { return *play_; }
    QToolButton& StopButton() { return *stop_; }
    QLineEdit& ChartField() { return *chart_; }
    QLabel& StatusLabel() { return *status_; }

    void SetChart(const QString& chart);
    // Where Play takes its parts from: the list the user selected in last.
    void SetSelection(Selection selection) { selection_ = std::move(selection); }
    // Plays these parts over the chart, as Play does with the selection.
    void PlayParts(const std::vector<PlayItem>& parts);

  public Q_SLOTS:
    void OnPlay();
    void OnStop();
    // Space on a list: stops what plays, or plays the selection.
    void Toggle();

  Q_SIGNALS:
    // The user changed the chart and played it; the frame keeps it for the next run.
    void ChartUsed(const QString& chart);

  protected:
    void resizeEvent(QResizeEvent* event) override;

  private:
    void ShowProblem(const QString& text);
    void ShowProgress();

    PartPlayer& player_;
    Selection selection_;
    QToolButton* play_;
    QToolButton* stop_;
    QLineEdit* chart_;
    QLabel* status_;
    QTimer* poll_;
};

// Space with no modifier, the key that plays or stops a list's selected entry.
bool IsPlayKey(const QEvent& event);

}  // namespace vantrel
