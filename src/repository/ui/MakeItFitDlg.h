#pragma once

#include <QDialog>
#include <cstdint>
#include <filesystem>
#include <functional>
#include <optional>
#include <vector>

#include "fit/FitReportText.h"
#include "fit/FitResult.h"
#include "repository/SubRepository.h"

class QComboBox;
class QLabel;
class QPlainTextEdit;
class QPushButton;
class QSpinBox;

namespace vantrel {

class ChannelChoices;
class MeasureStrip;
struct FitOptions;

// "Make it fit…", offered after an import refused a file: fits a copy of the file (the file
// itself is only read) and shows every change, the notes in and out of each channel and the
// bytes against the keyboard's block. The user chooses the measures to keep, what happens to the
// chords (kept, moved onto the source chord for a Fill, or the whole part moved into C major or
// A or C minor for an Intro or an Ending), and which channels are kept and where each goes; the
// chord found in every measure is shown above. Every choice fits the copy again. OK, offered
// only while the copy fits (the reason is shown otherwise), means: import the fitted copy under
// the file's name.
class MakeItFitDlg : public QDialog {
    Q_OBJECT
  public:
    enum ChordMode { KeepChords, SourceChord, WholeKey };

    // partKind, the folder the copy goes to, chooses the chord treatment to start with.
    explicit MakeItFitDlg(std::filesystem::path source,
                          std::optional<SubRepository> partKind = std::nullopt,
                          QWidget* parent = nullptr);

    QPushButton& OkButton() { return *ok_; }
    // The last measure kept; 0 keeps all.
    QSpinBox& MeasuresBox() { return *measures_; }
    QSpinBox& FirstMeasureBox() { return *first_; }
    QComboBox& ChordsBox() { return *chords_; }
    QComboBox& KeyBox() { return *key_; }
    QComboBox& MinorBox() { return *minor_; }
    ChannelChoices& Channels() { return *channels_; }
    MeasureStrip& Measures() { return *strip_; }
    QPlainTextEdit& Report() { return *report_; }
    QLabel& Verdict() { return *verdict_; }
    // The fit shown.
    const FitResult& Result() const { return result_; }

  private:
    void Refit();
    // The options the controls describe; the reason they cannot be used, or empty.
    std::string Options(FitOptions& options) const;
    void ShowChords(const FitOptions& options);
    void ShowVerdict();

    std::filesystem::path source_;
    std::optional<std::vector<std::uint8_t>> image_;
    FitResult result_;
    QPushButton* ok_;
    QSpinBox* first_;
    QSpinBox* measures_;
    QComboBox* chords_;
    QComboBox* key_;
    QComboBox* minor_;
    MeasureStrip* strip_;
    ChannelChoices* channels_;
    QPlainTextEdit* report_;
    QLabel* verdict_;
};

// Runs the dialog; true when the user chose OK. Tests answer it in place.
using FitDialogRunner = std::function<bool(MakeItFitDlg&)>;

// The reason a fit was refused in the window's words: a channel to untick rather than an option
// of the command line.
std::string WindowRefusal(const std::string& reason, const std::vector<int>& dropSuggestion);
inline std::string WindowRefusal(const FitResult& result) {
    return WindowRefusal(result.reason, result.dropSuggestion);
}

// The report's suggestions in the window's words: its measure range and its Keep boxes. A
// measure with two chords has no remedy here; the measure strip shows both.
const FitAdvice& WindowFitAdvice();

}  // namespace vantrel
