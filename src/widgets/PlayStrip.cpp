#include "widgets/PlayStrip.h"

#include <QKeyEvent>
#include <QLabel>
#include <QLineEdit>
#include <QStyle>
#include <QTimer>
#include <QToolButton>

namespace vantrel {

namespace {

constexpr int kPollMs = 100;
constexpr int kButton = 24;

QToolButton* MakeButton(const QString& name, QStyle::StandardPixmap picture, QWidget* parent) {
    auto* button = new QToolButton(parent);
    button->setObjectName(name);
    button->setIcon(parent->style()->standardIcon(picture));
    button->setToolTip(name);
    button->setAccessibleName(name);
    button->setAutoRaise(true);
    return button;
}

}  // namespace

PlayStrip::PlayStrip(PartPlayer& player, Selection selection, QWidget* parent)
    : QWidget(parent),
      player_(player),
      selection_(std::move(selection)),
      play_(MakeButton(QStringLiteral("Play"), QStyle::SP_MediaPlay, this)),
      stop_(MakeButton(QStringLiteral("Stop"), QStyle::SP_MediaStop, this)),
      chart_(new QLineEdit(this)),
      status_(new QLabel(this)),
      poll_(new QTimer(this)) {
    setObjectName(QStringLiteral("PlayStrip"));
    chart_->setObjectName(QStringLiteral("ChordChart"));
    chart_->setPlaceholderText(QStringLiteral("Chords: C | Am | F | G7"));
    chart_->setToolTip(
        QStringLiteral("One chord a measure, split by |; % repeats the last. Empty: C major 7."));
    status_->setObjectName(QStringLiteral("PlayStatus"));
    status_->setTextFormat(Qt::PlainText);
    stop_->setEnabled(false);
    poll_->setInterval(kPollMs);
    connect(play_, &QToolButton::clicked, this, &PlayStrip::OnPlay);
    connect(stop_, &QToolButton::clicked, this, &PlayStrip::OnStop);
    connect(chart_, &QLineEdit::returnPressed, this, &PlayStrip::OnPlay);
    connect(poll_, &QTimer::timeout, this, &PlayStrip::ShowProgress);
}

void PlayStrip::SetChart(const QString& chart) {
    chart_->setText(chart);
}

void PlayStrip::OnPlay() {
    PlayParts(selection_());
}

void PlayStrip::PlayParts(const std::vector<PlayItem>& parts) {
    if (parts.empty()) {
        ShowProblem(QStringLiteral("Select a file to play first."));
        return;
    }
    const QString chart = chart_->text().trimmed();
    const std::string problem = player_.Play(parts, chart.toStdString());
    if (!problem.empty()) {
        ShowProblem(QString::fromStdString(problem));
        return;
    }
    Q_EMIT ChartUsed(chart);
    status_->setStyleSheet({});
    status_->clear();
    stop_->setEnabled(true);
    poll_->start();
    ShowProgress();
}

void PlayStrip::OnStop() {
    player_.Stop();
    ShowProgress();
}

void PlayStrip::Toggle() {
    if (player_.Playing())
        OnStop();
    else
        OnPlay();
}

void PlayStrip::ShowProblem(const QString& text) {
    status_->setStyleSheet(QStringLiteral("color: red"));
    status_->setText(text);
    status_->setToolTip(text);
}

void PlayStrip::ShowProgress() {
    const QString progress = QString::fromStdString(player_.Progress());
    if (player_.Playing()) {
        status_->setText(progress);
        return;
    }
    poll_->stop();
    stop_->setEnabled(false);
    if (progress.isEmpty())
        status_->clear();
    else
        ShowProblem(progress);
}

void PlayStrip::resizeEvent(QResizeEvent* event) {
    QWidget::resizeEvent(event);
    // Two rows: the buttons and the chart on top, what plays (or went wrong) under them.
    const int line = fontMetrics().height() + 4;
    play_->setGeometry(0, 0, kButton, kButton);
    stop_->setGeometry(kButton, 0, kButton, kButton);
    chart_->setGeometry(2 * kButton + 4, 0, std::max(width() - 2 * kButton - 4, 0), kButton);
    status_->setGeometry(4, kButton + 2, std::max(width() - 4, 0), line);
}

bool IsPlayKey(const QEvent& event) {
    if (event.type() != QEvent::KeyPress)
        return false;
    const auto& key = static_cast<const QKeyEvent&>(event);
    return key.key() == Qt::Key_Space && key.modifiers() == Qt::NoModifier;
}

}  // namespace vantrel
