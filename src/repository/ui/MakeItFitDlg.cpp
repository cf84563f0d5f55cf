#include "repository/ui/MakeItFitDlg.h"

#include <QComboBox>
#include <QDialogButtonBox>
#include <QHBoxLayout>
#include <QLabel>
#include <QPlainTextEdit>
#include <QPushButton>
#include <QSpinBox>
#include <QSplitter>
#include <QVBoxLayout>

#include "common/AtomicFile.h"
#include "common/GroupedNumber.h"
#include "fit/FitMidi.h"
#include "fit/FitReportText.h"
#include "fit/FitSong.h"
#include "fit/StyleFromSong.h"
#include "midi/CMidiReader.h"
#include "repository/ui/ChannelChoices.h"
#include "repository/ui/MeasureStrip.h"

namespace vantrel {

namespace {

// Key names as a chord symbol names the key's tonic chord.
const char* const kKeys[] = {"C",  "Db", "D",   "Eb", "E",   "F",   "F#",  "G",
                             "Ab", "A",  "Bb",  "B",  "Cm",  "C#m", "Dm",  "Ebm",
                             "Em", "Fm", "F#m", "Gm", "G#m", "Am",  "Bbm", "Bm"};

}  // namespace

std::string WindowRefusal(const std::string& reason, const std::vector<int>& dropSuggestion) {
    if (dropSuggestion.empty())
        return reason;
    const bool one = dropSuggestion.size() == 1;
    return reason.substr(0, reason.find(": leave some out")) + ": untick Keep for " +
           (one ? "channel " : "channels ") + ChannelListText(dropSuggestion) +
           (one ? " (the channel with the fewest notes)" : " (the channels with the fewest notes)");
}

const FitAdvice& WindowFitAdvice() {
    static const FitAdvice advice{"keep fewer measures", "untick Keep for a channel", ""};
    return advice;
}

MakeItFitDlg::MakeItFitDlg(std::filesystem::path source, std::optional<SubRepository> partKind,
                           QWidget* parent)
    : QDialog(parent), source_(std::move(source)) {
    setObjectName(QStringLiteral("MakeItFitDlg"));
    setWindowTitle(QStringLiteral("Make it fit\u2026"));
    image_ = ReadWholeFile(source_, kMaxMidiFileSize);
    auto* intro = new QLabel(
        QString::fromStdString(source_.filename().string()) +
            QStringLiteral(": a fitted copy, made as below, is imported under this name on OK. "
                           "The file itself stays as it is."),
        this);
    intro->setWordWrap(true);

    first_ = new QSpinBox(this);
    first_->setObjectName(QStringLiteral("FirstMeasure"));
    first_->setRange(1, 999);
    first_->setToolTip(QStringLiteral("The first measure kept; choose the last one first."));
    measures_ = new QSpinBox(this);
    measures_->setObjectName(QStringLiteral("Measures"));
    measures_->setRange(0, 999);
    measures_->setSpecialValueText(QStringLiteral("all"));
    measures_->setToolTip(
        QStringLiteral("The last measure kept. Drag across the measures "
                       "below to choose both."));
    chords_ = new QComboBox(this);
    chords_->setObjectName(QStringLiteral("Chords"));
    chords_->addItem(QStringLiteral("as they are"), KeepChords);
    chords_->addItem(QStringLiteral("onto C major 7 each measure (Fill)"), SourceChord);
    chords_->addItem(QStringLiteral("whole part into C major (Intro, Ending)"), WholeKey);
    chords_->setToolTip(QStringLiteral(
        "The keyboard moves a pattern from C major 7 onto the chord the player holds. A Fill is "
        "moved onto C major 7 measure by measure, so it follows every chord; an Intro or an "
        "Ending is moved as a whole into C major (or a minor key), so its own chord changes "
        "stay. Drums never move."));
    key_ = new QComboBox(this);
    key_->setObjectName(QStringLiteral("Key"));
    key_->addItem(QStringLiteral("found"), QString());
    for (const char* key : kKeys)
        key_->addItem(QString::fromLatin1(key), QString::fromLatin1(key));
    key_->setToolTip(QStringLiteral("The part's key: found from its notes, or the one chosen."));
    minor_ = new QComboBox(this);
    minor_->setObjectName(QStringLiteral("MinorAs"));
    minor_->addItem(QStringLiteral("A minor"), false);
    minor_->addItem(QStringLiteral("C minor"), true);
    minor_->setToolTip(QStringLiteral("Where a part in a minor key goes."));
    if (partKind == SubRepository::Fill)
        chords_->setCurrentIndex(SourceChord);
    else if (partKind)
        chords_->setCurrentIndex(WholeKey);

    strip_ = new MeasureStrip(false, this);
    channels_ = new ChannelChoices(this);
    if (image_)
        channels_->SetChannels(NotesByChannel(*image_));
    report_ = new QPlainTextEdit(this);
    report_->setObjectName(QStringLiteral("FitReport"));
    report_->setReadOnly(true);
    report_->setLineWrapMode(QPlainTextEdit::WidgetWidth);
    verdict_ = new QLabel(this);
    verdict_->setObjectName(QStringLiteral("Verdict"));
    verdict_->setWordWrap(true);

    auto* buttons = new QDialogButtonBox(QDialogButtonBox::Ok | QDialogButtonBox::Cancel, this);
    ok_ = buttons->button(QDialogButtonBox::Ok);

    auto* choices = new QHBoxLayout;
    choices->addWidget(new QLabel(QStringLiteral("Measures"), this));
    choices->addWidget(first_);
    choices->addWidget(new QLabel(QStringLiteral("to"), this));
    choices->addWidget(measures_);
    choices->addSpacing(12);
    choices->addWidget(new QLabel(QStringLiteral("Chords"), this));
    choices->addWidget(chords_, 1);
    choices->addWidget(new QLabel(QStringLiteral("Key"), this));
    choices->addWidget(key_);
    choices->addWidget(new QLabel(QStringLiteral("Minor as"), this));
    choices->addWidget(minor_);

    auto* split = new QSplitter(Qt::Horizontal, this);
    split->addWidget(channels_);
    split->addWidget(report_);
    split->setStretchFactor(1, 1);
    split->setSizes({300, 460});

    auto* layout = new QVBoxLayout(this);
    layout->addWidget(intro);
    layout->addLayout(choices);
    layout->addWidget(strip_);
    layout->addWidget(split, 1);
    layout->addWidget(verdict_);
    layout->addWidget(buttons);
    resize(780, 520);

    connect(buttons, &QDialogButtonBox::accepted, this, &QDialog::accept);
    connect(buttons, &QDialogButtonBox::rejected, this, &QDialog::reject);
    connect(measures_, &QSpinBox::valueChanged, this, [this] { Refit(); });
    connect(first_, &QSpinBox::valueChanged, this, [this] { Refit(); });
    for (QComboBox* box : {chords_, key_, minor_})
        connect(box, &QComboBox::currentIndexChanged, this, [this] { Refit(); });
    connect(channels_, &ChannelChoices::Changed, this, [this] { Refit(); });
    connect(strip_, &MeasureStrip::RangePicked, this, [this](std::uint32_t from, std::uint32_t to) {
        const QSignalBlocker blockFirst(first_);
        measures_->setValue(static_cast<int>(to));
        first_->setValue(static_cast<int>(from));
        Refit();
    });
    Refit();
}

std::string MakeItFitDlg::Options(FitOptions& options) const {
    if (measures_->value() > 0) {
        options.measures = static_cast<std::uint32_t>(measures_->value());
        options.firstMeasure = static_cast<std::uint32_t>(first_->value());
    }
    const int mode = chords_->currentData().toInt();
    options.sourceChord = mode == SourceChord;
    if (mode == WholeKey) {
        const QString key = key_->currentData().toString();
        if (key.isEmpty())
            options.key = FitOptions::KeyChoice{};
        else if (std::string problem = ParseKeyChoice(key.toStdString(), options); !problem.empty())
            return problem;
        options.minorAsC = minor_->currentData().toBool();
    }
    return channels_->Apply(options);
}

void MakeItFitDlg::Refit() {
    first_->setEnabled(measures_->value() > 0);
    first_->setMaximum(std::max(measures_->value(), 1));
    const bool wholeKey = chords_->currentData().toInt() == WholeKey;
    key_->setEnabled(wholeKey);
    minor_->setEnabled(wholeKey);

    FitOptions options;
    if (const std::string problem = Options(options); !problem.empty()) {
        result_ = FitResult{};
        result_.refused = true;
        result_.reason = problem;
    } else {
        result_ = image_ ? FitMidiImage(*image_, options) : FitMidiFile(source_, options);
    }
    QString text;
    if (result_.refused) {
        text = QStringLiteral("cannot be fitted: ") +
               QString::fromStdString(WindowRefusal(result_)) + QLatin1Char('\n');
    } else {
        for (const std::string& line : FitReportLines(result_, WindowFitAdvice()))
            text += QString::fromStdString(line) + QLatin1Char('\n');
    }
    report_->setPlainText(text);
    channels_->ShowPlacement(result_.channelMap);
    ShowChords(options);
    ShowVerdict();
}

void MakeItFitDlg::ShowChords(const FitOptions& options) {
    if (!result_.measureFindings.empty() || result_.refused || !image_) {
        strip_->SetFindings(result_.measureFindings);
        return;
    }
    // The chords are found only when they are moved measure by measure; the view shows them
    // for the other treatments too.
    FitOptions survey = options;
    survey.sourceChord = false;
    survey.key.reset();
    survey.reportChords = true;
    strip_->SetFindings(FitMidiImage(*image_, survey).measureFindings);
}

void MakeItFitDlg::ShowVerdict() {
    const bool fits = result_.Fits();
    ok_->setEnabled(fits);
    QString text;
    if (fits) {
        text = QStringLiteral("Fits: %1 of %2 bytes.")
                   .arg(QString::fromStdString(GroupedNumber(result_.bytes)),
                        QString::fromStdString(GroupedNumber(kFitBudget)));
    } else {
        text = QStringLiteral("Does not fit: ") +
               QString::fromStdString(result_.refused ? WindowRefusal(result_)
                                                      : FitShortfall(result_, WindowFitAdvice()));
    }
    verdict_->setText(text);
    verdict_->setStyleSheet(fits ? QString() : QStringLiteral("color: #b00000;"));
}

}  // namespace vantrel
