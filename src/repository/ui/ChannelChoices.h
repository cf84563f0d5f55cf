#pragma once

#include <QTableWidget>
#include <map>
#include <string>

#include "fit/FitOptions.h"

class QCheckBox;
class QComboBox;

namespace vantrel {

// Which of a song's channels go into the pattern and where each goes: a row per channel that
// carries notes, with its note count, a Keep box, a "Goes to" choice (the program's own
// placement, or one of the keyboard's channels 10..16) and where the last fit put it.
class ChannelChoices : public QTableWidget {
    Q_OBJECT
  public:
    explicit ChannelChoices(QWidget* parent = nullptr);

    // The song's channels (1..16) and their notes; every one kept and placed by the program.
    void SetChannels(const std::map<int, int>& notesByChannel);
    // Writes the choices into options; answers why they cannot be used (two channels sent to
    // the same place), empty when they can.
    std::string Apply(FitOptions& options) const;
    // Where each kept channel went in the fit shown (input channel -> 10..16).
    void ShowPlacement(const std::map<int, int>& channelMap);

    QCheckBox* KeepBox(int channel) const;
    QComboBox* TargetBox(int channel) const;

  Q_SIGNALS:
    void Changed();

  private:
    int RowOf(int channel) const;
};

}  // namespace vantrel
