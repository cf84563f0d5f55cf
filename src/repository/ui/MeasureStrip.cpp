#include "repository/ui/MeasureStrip.h"

#include <QHeaderView>
#include <algorithm>

namespace vantrel {

namespace {

enum Row { kChord, kSure, kPart };

const QColor kUnclear(0xFF, 0xE0, 0xA0);

QTableWidgetItem* Cell(const QString& text) {
    auto* item = new QTableWidgetItem(text);
    item->setFlags(Qt::ItemIsEnabled | Qt::ItemIsSelectable);
    item->setTextAlignment(Qt::AlignCenter);
    return item;
}

}  // namespace

QString FindingText(const MeasureChordFinding& finding) {
    if (finding.twoChords && finding.firstHalf && finding.secondHalf) {
        return QString::fromStdString(music::ChordName(*finding.firstHalf) + "|" +
                                      music::ChordName(*finding.secondHalf));
    }
    if (finding.chord)
        return QString::fromStdString(music::ChordName(*finding.chord));
    return finding.silent ? QStringLiteral("\u2013") : QStringLiteral("?");
}

MeasureStrip::MeasureStrip(bool withPartRow, QWidget* parent)
    : QTableWidget(withPartRow ? 3 : 2, 0, parent), withPartRow_(withPartRow) {
    setObjectName(QStringLiteral("MeasureStrip"));
    QStringList rows{QStringLiteral("Chord"), QStringLiteral("Sure")};
    if (withPartRow)
        rows << QStringLiteral("Part");
    setVerticalHeaderLabels(rows);
    horizontalHeader()->setSectionResizeMode(QHeaderView::Fixed);
    horizontalHeader()->setDefaultSectionSize(60);
    verticalHeader()->setSectionResizeMode(QHeaderView::Fixed);
    verticalHeader()->setDefaultSectionSize(fontMetrics().height() + 8);
    setSelectionBehavior(QAbstractItemView::SelectColumns);
    setSelectionMode(QAbstractItemView::ContiguousSelection);
    setEditTriggers(QAbstractItemView::NoEditTriggers);
    setHorizontalScrollMode(QAbstractItemView::ScrollPerPixel);
    setVerticalScrollBarPolicy(Qt::ScrollBarAlwaysOff);
    FitHeight();
    connect(this, &QTableWidget::itemSelectionChanged, this, &MeasureStrip::OnSelection);
}

void MeasureStrip::SetFindings(const std::vector<MeasureChordFinding>& findings) {
    showing_ = true;
    clearSelection();
    setColumnCount(static_cast<int>(findings.size()));
    first_ = findings.empty() ? 1 : findings.front().measure;
    QStringList numbers;
    for (std::size_t i = 0; i < findings.size(); ++i) {
        const MeasureChordFinding& finding = findings[i];
        const int column = static_cast<int>(i);
        numbers << QString::number(finding.measure);
        auto* chord = Cell(FindingText(finding));
        auto* sure = Cell(finding.chord && !finding.twoChords
                              ? QStringLiteral("%1%").arg(qRound(finding.confidence * 100))
                              : QString());
        if (finding.fromChart)
            sure->setText(QStringLiteral("chart"));
        QString why;
        if (finding.twoChords)
            why = chord->text() + QStringLiteral(", two chords: left as it is");
        else if (!finding.chord)
            why = finding.silent ? QStringLiteral("silent") : QStringLiteral("no clear chord");
        if (!why.isEmpty()) {
            chord->setBackground(kUnclear);
            sure->setBackground(kUnclear);
            sure->setText(finding.twoChords ? QStringLiteral("two") : QStringLiteral("\u2013"));
        }
        const QString tip =
            QStringLiteral("Measure %1: %2")
                .arg(finding.measure)
                .arg(why.isEmpty() ? chord->text() + QStringLiteral(", ") + sure->text() +
                                         (finding.fromChart ? QString() : QStringLiteral(" sure"))
                                   : why);
        chord->setToolTip(tip);
        sure->setToolTip(tip);
        setItem(kChord, column, chord);
        setItem(kSure, column, sure);
        if (withPartRow_)
            setItem(kPart, column, Cell(QString()));
    }
    setHorizontalHeaderLabels(numbers);
    FitHeight();
    showing_ = false;
}

void MeasureStrip::FitHeight() {
    // Every row and the scroll bar in view: the strip scrolls sideways only.
    const int header =
        std::max(horizontalHeader()->sizeHint().height(), fontMetrics().height() + 8);
    setFixedHeight(header + rowCount() * verticalHeader()->defaultSectionSize() +
                   style()->pixelMetric(QStyle::PM_ScrollBarExtent) + 2 * frameWidth() + 4);
}

void MeasureStrip::SetPartLabels(const std::vector<QString>& labels) {
    if (!withPartRow_)
        return;
    for (int column = 0; column < columnCount(); ++column) {
        const std::size_t measure = first_ + static_cast<std::uint32_t>(column);
        if (QTableWidgetItem* cell = item(kPart, column))
            cell->setText(measure - 1 < labels.size() ? labels[measure - 1] : QString());
    }
}

void MeasureStrip::ShowRange(std::uint32_t from, std::uint32_t to) {
    showing_ = true;
    clearSelection();
    if (from >= first_ && to >= from && columnCount() > 0) {
        const int left = static_cast<int>(from - first_);
        const int right = std::min(static_cast<int>(to - first_), columnCount() - 1);
        if (left < columnCount()) {
            setRangeSelected(QTableWidgetSelectionRange(0, left, rowCount() - 1, right), true);
            scrollToItem(item(0, left));
        }
    }
    showing_ = false;
}

void MeasureStrip::OnSelection() {
    if (showing_)
        return;
    const QList<QTableWidgetSelectionRange> ranges = selectedRanges();
    if (ranges.isEmpty())
        return;
    int left = ranges.front().leftColumn();
    int right = ranges.front().rightColumn();
    for (const QTableWidgetSelectionRange& range : ranges) {
        left = std::min(left, range.leftColumn());
        right = std::max(right, range.rightColumn());
    }
    Q_EMIT RangePicked(first_ + static_cast<std::uint32_t>(left),
                     first_ + static_cast<std::uint32_t>(right));
}

}  // namespace vantrel
