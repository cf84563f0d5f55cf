#pragma once

#include <QTableWidget>
#include <cstdint>
#include <vector>

#include "fit/FitResult.h"

namespace vantrel {

// A song's measures side by side: the chord found in each and how sure the finding is, a measure
// with two chords or none marked in amber, and (when given) the part each measure belongs to.
// Dragging across measures, or clicking one, picks a range.
class MeasureStrip : public QTableWidget {
    Q_OBJECT
  public:
    explicit MeasureStrip(bool withPartRow, QWidget* parent = nullptr);

    void SetFindings(const std::vector<MeasureChordFinding>& findings);
    // One label a measure, counted from 1 (empty where no part takes it).
    void SetPartLabels(const std::vector<QString>& labels);
    // Shows the range as picked, without announcing it.
    void ShowRange(std::uint32_t from, std::uint32_t to);
    std::uint32_t MeasureCount() const { return static_cast<std::uint32_t>(columnCount()); }
    // The first measure shown (the strip may start inside a song).
    std::uint32_t FirstMeasure() const { return first_; }

  Q_SIGNALS:
    // Measures counted in the song, both kept.
    void RangePicked(std::uint32_t from, std::uint32_t to);

  private:
    void OnSelection();
    void FitHeight();

    bool withPartRow_;
    bool showing_ = false;
    std::uint32_t first_ = 1;
};

// "G", "G|D" for a measure of two chords, "?" for one without a clear chord, "–" for silence.
QString FindingText(const MeasureChordFinding& finding);

}  // namespace vantrel
