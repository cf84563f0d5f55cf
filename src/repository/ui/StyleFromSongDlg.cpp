#include "repository/ui/StyleFromSongDlg.h"

#include <QDialogButtonBox>
#include <QGridLayout>
#include <QHBoxLayout>
#include <QHeaderView>
#include <QLabel>
#include <QPlainTextEdit>
#include <QPushButton>
#include <QSpinBox>
#include <QSplitter>
#include <QTableWidget>
#include <QTimer>
#include <QVBoxLayout>
#include <algorithm>

#include "common/AtomicFile.h"
#include "common/GroupedNumber.h"
#include "common/UserPrompt.h"
#include "fit/FitMidi.h"
#include "fit/FitReportText.h"
#include "midi/CMidiReader.h"
#include "repository/ui/ChannelChoices.h"
#include "repository/ui/MakeItFitDlg.h"
#include "repository/ui/MeasureStrip.h"
#include "widgets/PartPlayer.h"

namespace vantrel {

namespace {

enum Column { kPart, kFrom, kTo, kChords, kNotes, kBytes, kState, kColumns };

constexpr std::size_t kMaxFills = 8;

QString Q(const std::string& text) {
    return QString::fromStdString(text);
}

QTableWidgetItem* Fixed(const QString& text) {
    auto* item = new QTableWidgetItem(text);
    item->setFlags(Qt::ItemIsEnabled | Qt::ItemIsSelectable);
    return item;
}

int KindOrder(SongPartKind kind) {
    return kind == SongPartKind::Intro ? 0 : kind == SongPartKind::Fill ? 1 : 2;
}

bool PartFits(const SongPartOutcome& outcome) {
    return outcome.result.Fits() && outcome.result.bytes <= PartBudget(outcome.part);
}

}  // namespace

StyleFromSongDlg::StyleFromSongDlg(std::filesystem::path song, PartPlayer& player,
                                   UserPrompt& prompt, QWidget* parent)
    : QDialog(parent), song_(std::move(song)), player_(player), prompt_(prompt) {
    setObjectName(QStringLiteral("StyleFromSongDlg"));
    setWindowTitle(QStringLiteral("Make a style from a song\u2026"));
    image_ = ReadWholeFile(song_, kMaxMidiFileSize);

    summary_ = new QLabel(this);
    summary_->setWordWrap(true);
    strip_ = new MeasureStrip(true, this);
    strip_->setToolTip(QStringLiteral("Drag across measures to give the selected part its range."));

    parts_ = new QTableWidget(0, kColumns, this);
    parts_->setObjectName(QStringLiteral("StyleParts"));
    parts_->setHorizontalHeaderLabels({QStringLiteral("Part"), QStringLiteral("From"),
                                       QStringLiteral("To"), QStringLiteral("Chords"),
                                       QStringLiteral("Notes"), QStringLiteral("Bytes"),
                                       QStringLiteral("Fits")});
    parts_->verticalHeader()->hide();
    parts_->setSelectionBehavior(QAbstractItemView::SelectRows);
    parts_->setSelectionMode(QAbstractItemView::SingleSelection);
    parts_->horizontalHeader()->setSectionResizeMode(QHeaderView::ResizeToContents);
    parts_->horizontalHeader()->setSectionResizeMode(kChords, QHeaderView::Stretch);
    // Intro, a few Fills and Ending in view without scrolling.
    parts_->setMinimumHeight(parts_->horizontalHeader()->sizeHint().height() +
                             5 * (fontMetrics().height() + 14));

    addIntro_ = new QPushButton(QStringLiteral("Add Intro"), this);
    addFill_ = new QPushButton(QStringLiteral("Add Fill"), this);
    addEnding_ = new QPushButton(QStringLiteral("Add Ending"), this);
    remove_ = new QPushButton(QStringLiteral("Remove"), this);
    playCut_ = new QPushButton(QStringLiteral("Play as cut"), this);
    playCut_->setToolTip(QStringLiteral("The selected part's measures as the song plays them."));
    playFitted_ = new QPushButton(QStringLiteral("Play fitted"), this);
    playFitted_->setToolTip(
        QStringLiteral("The fitted part as the keyboard plays it over the song's own chords."));
    stop_ = new QPushButton(QStringLiteral("Stop"), this);
    playStatus_ = new QLabel(this);
    playStatus_->setObjectName(QStringLiteral("PlayStatus"));
    playStatus_->setWordWrap(true);
    poll_ = new QTimer(this);
    poll_->setInterval(250);

    channels_ = new ChannelChoices(this);
    details_ = new QPlainTextEdit(this);
    details_->setObjectName(QStringLiteral("PartDetails"));
    details_->setReadOnly(true);
    verdict_ = new QLabel(this);
    verdict_->setObjectName(QStringLiteral("Verdict"));
    verdict_->setWordWrap(true);
    auto* buttons = new QDialogButtonBox(QDialogButtonBox::Ok | QDialogButtonBox::Cancel, this);
    ok_ = buttons->button(QDialogButtonBox::Ok);
    ok_->setText(QStringLiteral("Import"));

    auto* partButtons = new QGridLayout;
    partButtons->addWidget(addIntro_, 0, 0);
    partButtons->addWidget(addFill_, 1, 0);
    partButtons->addWidget(addEnding_, 2, 0);
    partButtons->addWidget(remove_, 3, 0);
    partButtons->addWidget(playCut_, 0, 1);
    partButtons->addWidget(playFitted_, 1, 1);
    partButtons->addWidget(stop_, 2, 1);
    partButtons->setRowStretch(4, 1);
    auto* partRow = new QHBoxLayout;
    partRow->addWidget(parts_, 1);
    partRow->addLayout(partButtons);

    auto* split = new QSplitter(Qt::Horizontal, this);
    split->addWidget(channels_);
    split->addWidget(details_);
    split->setStretchFactor(1, 1);
    split->setSizes({300, 460});

    auto* layout = new QVBoxLayout(this);
    layout->addWidget(summary_);
    layout->addWidget(strip_);
    layout->addLayout(partRow, 2);
    layout->addWidget(playStatus_);
    layout->addWidget(split, 3);
    layout->addWidget(verdict_);
    layout->addWidget(buttons);
    resize(790, 580);

    connect(buttons, &QDialogButtonBox::accepted, this, &StyleFromSongDlg::accept);
    connect(buttons, &QDialogButtonBox::rejected, this, &QDialog::reject);
    connect(addIntro_, &QPushButton::clicked, this, [this] { AddPart(SongPartKind::Intro); });
    connect(addFill_, &QPushButton::clicked, this, [this] { AddPart(SongPartKind::Fill); });
    connect(addEnding_, &QPushButton::clicked, this, [this] { AddPart(SongPartKind::Ending); });
    connect(remove_, &QPushButton::clicked, this, &StyleFromSongDlg::RemovePart);
    connect(playCut_, &QPushButton::clicked, this, [this] { Audition(false); });
    connect(playFitted_, &QPushButton::clicked, this, [this] { Audition(true); });
    connect(stop_, &QPushButton::clicked, this, [this] {
        player_.Stop();
        poll_->stop();
        playStatus_->clear();
    });
    connect(poll_, &QTimer::timeout, this, [this] {
        const QString progress = Q(player_.Progress());
        if (!player_.Playing())
            poll_->stop();
        if (!progress.isEmpty() || !player_.Playing())
            playStatus_->setText(progress);
    });
    connect(parts_, &QTableWidget::itemSelectionChanged, this, [this] {
        ShowDetails();
        const int row = parts_->currentRow();
        if (row >= 0 && row < static_cast<int>(partList_.size()))
            strip_->ShowRange(partList_[row].from, partList_[row].to);
    });
    connect(strip_, &MeasureStrip::RangePicked, this, [this](std::uint32_t from, std::uint32_t to) {
        const int row = parts_->currentRow();
        if (row >= 0)
            SetRange(row, from, to);
    });
    connect(channels_, &ChannelChoices::Changed, this, [this] {
        Resurvey();
        // A song refused for its channels had nothing to propose until now.
        if (partList_.empty())
            partList_ = ProposeParts(survey_);
        ShowParts();
        Refit();
    });

    if (image_)
        channels_->SetChannels(NotesByChannel(*image_));
    Resurvey();
    partList_ = ProposeParts(survey_);
    ShowParts();
    Refit();
    if (!partList_.empty())
        parts_->selectRow(0);
}

StyleFromSongDlg::~StyleFromSongDlg() {
    player_.Stop();
}

void StyleFromSongDlg::done(int result) {
    player_.Stop();
    poll_->stop();
    QDialog::done(result);
}

QSpinBox* StyleFromSongDlg::FromBox(int row) const {
    return qobject_cast<QSpinBox*>(parts_->cellWidget(row, kFrom));
}

QSpinBox* StyleFromSongDlg::ToBox(int row) const {
    return qobject_cast<QSpinBox*>(parts_->cellWidget(row, kTo));
}

void StyleFromSongDlg::Resurvey() {
    base_ = FitOptions{};
    channelProblem_ = channels_->Apply(base_);
    survey_ = image_ ? SurveySong(*image_, base_) : SongSurvey{};
    if (!image_)
        survey_.refused = "cannot be read";
    strip_->SetFindings(survey_.findings);
    const std::string name = song_.filename().string();
    if (!survey_.refused.empty()) {
        summary_->setText(Q(name + ": " + WindowRefusal(survey_.refused, survey_.dropSuggestion)));
        return;
    }
    if (survey_.onlyDrums) {
        summary_->setText(Q(name + " holds only drums: no bass or chord notes to make a style "
                                   "from (each part would be its drums alone)."));
        return;
    }
    std::size_t clear = 0;
    for (const auto& chord : survey_.chords)
        clear += chord ? 1 : 0;
    summary_->setText(Q(name + ": " + std::to_string(survey_.chords.size()) +
                        " measures, a clear chord in " + std::to_string(clear) +
                        ". Each part below becomes one pattern; drag across the measures or "
                        "type From and To to change a part's range."));
}

void StyleFromSongDlg::ShowParts() {
    const QSignalBlocker block(parts_);
    const int keep = parts_->currentRow();
    parts_->setRowCount(static_cast<int>(partList_.size()));
    const int last = std::max<int>(static_cast<int>(survey_.chords.size()), 1);
    for (int row = 0; row < parts_->rowCount(); ++row) {
        const SongPart& part = partList_[static_cast<std::size_t>(row)];
        parts_->setItem(row, kPart, Fixed(Q(part.Title())));
        for (const int column : {kFrom, kTo}) {
            auto* box = qobject_cast<QSpinBox*>(parts_->cellWidget(row, column));
            if (box == nullptr) {
                box = new QSpinBox;
                box->setRange(1, last);
                box->setFrame(false);
                parts_->setCellWidget(row, column, box);
                connect(box, &QSpinBox::valueChanged, this, [this, box, column] {
                    for (int r = 0; r < parts_->rowCount(); ++r) {
                        if (parts_->cellWidget(r, column) == box) {
                            const std::uint32_t value = static_cast<std::uint32_t>(box->value());
                            const SongPart& now = partList_[static_cast<std::size_t>(r)];
                            SetRange(r, column == kFrom ? value : std::min(now.from, value),
                                     column == kTo ? value : std::max(now.to, value));
                        }
                    }
                });
            }
            const QSignalBlocker quiet(box);
            box->setMaximum(last);
            box->setValue(static_cast<int>(column == kFrom ? part.from : part.to));
        }
        for (const int column : {kChords, kNotes, kBytes, kState}) {
            if (parts_->item(row, column) == nullptr)
                parts_->setItem(row, column, Fixed(QString()));
        }
    }
    if (keep >= 0 && keep < parts_->rowCount())
        parts_->selectRow(keep);
    const auto fills = std::count_if(partList_.begin(), partList_.end(), [](const SongPart& p) {
        return p.kind == SongPartKind::Fill;
    });
    auto has = [this](SongPartKind kind) {
        return std::any_of(partList_.begin(), partList_.end(),
                           [kind](const SongPart& p) { return p.kind == kind; });
    };
    const bool usable = survey_.refused.empty() && !survey_.onlyDrums;
    addIntro_->setEnabled(usable && !has(SongPartKind::Intro));
    addFill_->setEnabled(usable && static_cast<std::size_t>(fills) < kMaxFills);
    addEnding_->setEnabled(usable && !has(SongPartKind::Ending));
    remove_->setEnabled(!partList_.empty());
}

void StyleFromSongDlg::SetRange(int row, std::uint32_t from, std::uint32_t to) {
    if (row < 0 || row >= static_cast<int>(partList_.size()))
        return;
    SongPart& part = partList_[static_cast<std::size_t>(row)];
    part.from = std::max<std::uint32_t>(from, 1);
    part.to = std::max(to, part.from);
    part.reason.clear();
    ShowParts();
    strip_->ShowRange(part.from, part.to);
    Refit();
}

void StyleFromSongDlg::Refit() {
    const bool usable = image_ && survey_.refused.empty() && !survey_.onlyDrums;
    outcomes_ = usable && channelProblem_.empty() ? FitSongParts(*image_, partList_, base_)
                                                  : std::vector<SongPartOutcome>{};
    std::vector<QString> labels(survey_.chords.size());
    std::size_t total = 0;
    bool allFit = usable && channelProblem_.empty() && !partList_.empty();
    for (std::size_t i = 0; i < partList_.size(); ++i) {
        const SongPart& part = partList_[i];
        for (std::uint32_t m = part.from; m <= part.to && m <= labels.size(); ++m) {
            QString& label = labels[m - 1];
            label =
                label.isEmpty() ? Q(part.Title()) : label + QStringLiteral(" + ") + Q(part.Title());
        }
        const int row = static_cast<int>(i);
        parts_->item(row, kChords)->setText(Q(PartChords(survey_, part)));
        if (i >= outcomes_.size()) {
            for (const int column : {kNotes, kBytes, kState})
                parts_->item(row, column)->setText(QString());
            continue;
        }
        const SongPartOutcome& outcome = outcomes_[i];
        const bool fits = PartFits(outcome);
        allFit = allFit && fits;
        total += outcome.result.bytes;
        parts_->item(row, kNotes)
            ->setText(outcome.result.refused ? QString()
                                             : QString::number(NotesKept(outcome.result)));
        parts_->item(row, kBytes)
            ->setText(outcome.result.refused ? QString()
                                             : Q(GroupedNumber(outcome.result.bytes) + " / " +
                                                 GroupedNumber(PartBudget(part))));
        auto* state = parts_->item(row, kState);
        state->setText(fits ? QStringLiteral("yes") : QStringLiteral("no"));
        state->setForeground(fits ? palette().text() : QBrush(QColor(0xB0, 0, 0)));
    }
    strip_->SetPartLabels(labels);

    QString text;
    if (!channelProblem_.empty()) {
        text = Q(channelProblem_);
    } else if (!survey_.refused.empty() || survey_.onlyDrums) {
        text = summary_->text();
    } else if (partList_.empty()) {
        text = QStringLiteral("Add a part to make a style.");
    } else {
        text = Q("Style image: " + GroupedNumber(total) + " of " +
                 GroupedNumber(kStyleWrittenSize) + " bytes");
        if (total > kStyleWrittenSize) {
            allFit = false;
            text += QStringLiteral(": too large for the keyboard");
        }
        for (const SongPartOutcome& outcome : outcomes_) {
            if (PartFits(outcome))
                continue;
            text += QStringLiteral(". ") +
                    Q(outcome.result.refused
                          ? WindowRefusal(outcome.result)
                          : outcome.part.Title() + " does not fit: " +
                                (outcome.result.Fits()
                                     ? GroupedNumber(outcome.result.bytes) + " of " +
                                           GroupedNumber(PartBudget(outcome.part)) + " bytes"
                                     : FitShortfall(outcome.result, WindowFitAdvice())));
            break;
        }
    }
    verdict_->setText(text);
    verdict_->setStyleSheet(allFit ? QString() : QStringLiteral("color: #b00000;"));
    ok_->setEnabled(allFit);
    ShowDetails();
}

void StyleFromSongDlg::ShowDetails() {
    const int row = parts_->currentRow();
    if (row < 0 || row >= static_cast<int>(partList_.size())) {
        details_->clear();
        return;
    }
    const SongPart& part = partList_[static_cast<std::size_t>(row)];
    QString text = Q(part.Title() + ", measures " + std::to_string(part.from) + "-" +
                     std::to_string(part.to)) +
                   QLatin1Char('\n');
    if (!part.reason.empty())
        text += QStringLiteral("proposed: ") + Q(part.reason) + QLatin1Char('\n');
    if (row < static_cast<int>(outcomes_.size())) {
        const FitResult& result = outcomes_[static_cast<std::size_t>(row)].result;
        channels_->ShowPlacement(result.channelMap);
        if (result.refused) {
            text +=
                QStringLiteral("cannot be made: ") + Q(WindowRefusal(result)) + QLatin1Char('\n');
        } else {
            for (const FitChange& change : result.changes) {
                if (change.kind != "chord")
                    text += Q(change.kind + ": " + change.detail) + QLatin1Char('\n');
            }
            text += Q("notes kept: " + std::to_string(NotesKept(result)) +
                      "; budget: " + FitBudgetText(result)) +
                    QLatin1Char('\n');
        }
    }
    details_->setPlainText(text);
}

void StyleFromSongDlg::AddPart(SongPartKind kind) {
    const auto count = static_cast<std::uint32_t>(std::max<std::size_t>(survey_.chords.size(), 1));
    SongPart part;
    part.kind = kind;
    part.from = kind == SongPartKind::Ending ? std::max<std::uint32_t>(count, 4) - 3 : 1;
    part.to = std::min<std::uint32_t>(part.from + 3, count);
    const auto at = std::find_if(partList_.begin(), partList_.end(), [kind](const SongPart& p) {
        return KindOrder(p.kind) > KindOrder(kind);
    });
    const auto row = static_cast<int>(at - partList_.begin());
    partList_.insert(at, part);
    Renumber();
    ShowParts();
    parts_->selectRow(row);
    Refit();
}

void StyleFromSongDlg::RemovePart() {
    const int row = parts_->currentRow();
    if (row < 0 || row >= static_cast<int>(partList_.size()))
        return;
    partList_.erase(partList_.begin() + row);
    parts_->removeRow(row);
    Renumber();
    ShowParts();
    Refit();
}

void StyleFromSongDlg::Renumber() {
    int fill = 0;
    for (SongPart& part : partList_)
        part.number = part.kind == SongPartKind::Fill ? ++fill : 1;
}

void StyleFromSongDlg::Audition(bool fitted) {
    const int row = parts_->currentRow();
    if (row < 0 || row >= static_cast<int>(outcomes_.size()) || !image_) {
        playStatus_->setText(QStringLiteral("Select a part to hear it."));
        return;
    }
    const SongPartOutcome& outcome = outcomes_[static_cast<std::size_t>(row)];
    FitResult heard = outcome.result;
    if (!fitted) {
        // The measures as the song has them: cut and placed, nothing moved.
        FitOptions cut = base_;
        cut.firstMeasure = outcome.part.from;
        cut.measures = outcome.part.to;
        heard = FitMidiImage(*image_, cut);
    }
    if (heard.refused) {
        playStatus_->setText(
            Q(outcome.part.Title() + " cannot be played: " + WindowRefusal(heard)));
        return;
    }
    const std::filesystem::path file = audition_.Path() / (fitted ? "fitted.mid" : "as-cut.mid");
    if (!WriteFileAtomically(file, heard.output)) {
        playStatus_->setText(QStringLiteral("No temporary folder to play from."));
        return;
    }
    // The fitted part over the song's own chords sounds as the song did; the cut once, unmoved.
    // A part moved as a whole (Intro, Ending) goes back by its key chord.
    std::string chart = "C";
    PlayItem item{file, SubRepository::Intro};
    if (fitted)
        item.sub = PartFolder(outcome.part.kind);
    if (fitted && heard.keyChord) {
        chart = music::ChordName(*heard.keyChord);
    } else if (fitted) {
        chart.clear();
        std::string previous = "C";
        for (std::uint32_t m = outcome.part.from; m <= outcome.part.to; ++m) {
            if (m <= survey_.chords.size() && survey_.chords[m - 1])
                previous = music::ChordName(*survey_.chords[m - 1]);
            chart += (chart.empty() ? "" : " | ") + previous;
        }
    }
    const std::string problem = player_.Play({item}, chart);
    if (!problem.empty()) {
        playStatus_->setText(Q(problem));
        playStatus_->setStyleSheet(QStringLiteral("color: #b00000;"));
        return;
    }
    playStatus_->setStyleSheet(QString());
    playStatus_->setText(
        Q(outcome.part.Title() + (fitted ? " as fitted, over " + chart : " as cut")));
    poll_->start();
}

std::vector<PartFile> StyleFromSongDlg::PartFiles() const {
    const std::string stem = song_.stem().string();
    std::vector<PartFile> files;
    for (const SongPartOutcome& outcome : outcomes_) {
        files.push_back({stem + "-" + outcome.part.FileName(), PartFolder(outcome.part.kind),
                         outcome.result.output});
    }
    return files;
}

void StyleFromSongDlg::accept() {
    if (!ok_->isEnabled())
        return;
    const std::vector<PartFile> files = PartFiles();
    const std::vector<PartFile> present = PartsInRepository(files);
    bool replace = false;
    if (!present.empty()) {
        std::string names;
        for (const PartFile& part : present)
            names += (names.empty() ? "" : ", ") + part.name;
        if (prompt_.Ask(names + (present.size() == 1 ? " is" : " are") +
                            " already in the repository. Replace?",
                        PromptButtons::YesNo) != PromptAnswer::Yes) {
            return;
        }
        replace = true;
    }
    if (const std::string problem = ImportPartsAllOrNone(files, replace, prompt_);
        !problem.empty()) {
        prompt_.Message(problem);
        return;
    }
    imported_ = files;
    QDialog::accept();
}

}  // namespace vantrel
