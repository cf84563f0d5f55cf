#pragma once

#include <QDialog>
#include <cstdint>
#include <filesystem>
#include <functional>
#include <optional>
#include <vector>

#include "common/ScopedTempDir.h"
#include "fit/FitOptions.h"
#include "fit/StyleFromSong.h"
#include "repository/ImportParts.h"

class QLabel;
class QPlainTextEdit;
class QPushButton;
class QSpinBox;
class QTableWidget;
class QTimer;

namespace vantrel {

class ChannelChoices;
class MeasureStrip;
class PartPlayer;
class UserPrompt;

// "Make a style from a song…": the song's measures with the chord found in each, and the parts
// of a style cut from it, starting from the program's proposal (the first measures as Intro, the
// last as Ending, the one-chord stretches the song repeats most as Fills, each with its reason).
// The user types each part's measures or drags across the strip, adds and removes parts, keeps
// and places channels, and hears a part as cut from the song and as fitted. Each part is fitted
// as it would be on its own: Intro and Ending moved into C major or A minor, each Fill onto
// C major 7 measure by measure. OK, offered while every part fits its block, imports all parts
// under the song's name ("song-intro.mid", "song-fill1.mid", ...), or none.
class StyleFromSongDlg : public QDialog {
    Q_OBJECT
  public:
    StyleFromSongDlg(std::filesystem::path song, PartPlayer& player, UserPrompt& prompt,
                     QWidget* parent = nullptr);
    ~StyleFromSongDlg() override;

    MeasureStrip& Measures() { return *strip_; }
    QTableWidget& Parts() { return *parts_; }
    ChannelChoices& Channels() { return *channels_; }
    QPushButton& OkButton() { return *ok_; }
    QPushButton& AddFillButton() { return *addFill_; }
    QPushButton& RemoveButton() { return *remove_; }
    QPushButton& PlayCutButton() { return *playCut_; }
    QPushButton& PlayFittedButton() { return *playFitted_; }
    QLabel& Verdict() { return *verdict_; }
    QLabel& PlayStatus() { return *playStatus_; }
    QPlainTextEdit& Details() { return *details_; }
    QSpinBox* FromBox(int row) const;
    QSpinBox* ToBox(int row) const;

    const SongSurvey& Survey() const { return survey_; }
    const std::vector<SongPart>& PartList() const { return partList_; }
    const std::vector<SongPartOutcome>& Outcomes() const { return outcomes_; }
    // After OK: the parts now in the repository.
    const std::vector<PartFile>& Imported() const { return imported_; }

    // Sets a part's measures as typing them does.
    void SetRange(int row, std::uint32_t from, std::uint32_t to);

  public Q_SLOTS:
    // Imports the parts; the dialog stays open when they cannot be imported.
    void accept() override;
    void done(int result) override;

  private:
    void Resurvey();
    void ShowParts();
    void Refit();
    void ShowDetails();
    void AddPart(SongPartKind kind);
    void RemovePart();
    void Renumber();
    void Audition(bool fitted);
    std::vector<PartFile> PartFiles() const;

    std::filesystem::path song_;
    PartPlayer& player_;
    UserPrompt& prompt_;
    std::optional<std::vector<std::uint8_t>> image_;
    FitOptions base_;
    std::string channelProblem_;
    SongSurvey survey_;
    std::vector<SongPart> partList_;
    std::vector<SongPartOutcome> outcomes_;
    std::vector<PartFile> imported_;
    ScopedTempDir audition_;

    QLabel* summary_;
    MeasureStrip* strip_;
    QTableWidget* parts_;
    ChannelChoices* channels_;
    QPlainTextEdit* details_;
    QPushButton* addIntro_;
    QPushButton* addFill_;
    QPushButton* addEnding_;
    QPushButton* remove_;
    QPushButton* playCut_;
    QPushButton* playFitted_;
    QPushButton* stop_;
    QLabel* playStatus_;
    QTimer* poll_;
    QLabel* verdict_;
    QPushButton* ok_;
};

// Runs the dialog; true when the user chose OK and the parts were imported. Tests answer it in
// place.
using StyleDialogRunner = std::function<bool(StyleFromSongDlg&)>;

}  // namespace vantrel
