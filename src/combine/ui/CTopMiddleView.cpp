// Before any Qt header: the workflow names a member `slots`, which Qt defines away as a keyword.
#include "combine/UploadWorkflow.h"

#include "combine/ui/CTopMiddleView.h"

#include <QDateTime>
#include <QPushButton>
#include <QStyle>
#include <filesystem>
#include <system_error>

#include "combine/StoredStyleNote.h"
#include "combine/TransferProgress.h"
#include "combine/ui/CTopCombineView.h"
#include "combine/ui/CombineResources.h"
#include "device/LinkState.h"
#include "widgets/CGdipButton.h"
#include "widgets/CXProgressCtrl.h"

namespace vantrel {

CTopMiddleView::CTopMiddleView(UserPrompt& prompt, CTopCombineView& combine, SlotListView& slotList,
                               QWidget* parent)
    : QWidget(parent),
      prompt_(prompt),
      combine_(combine),
      trans_(prompt),
      link_(trans_),
      environment_(
          std::make_unique<UploadEnvironment>(UploadEnvironment{prompt, link_, slotList, *this})) {
    setObjectName(QStringLiteral("CTopMiddleView"));
    upload_ = MakeCombineButton(QStringLiteral("Upload"), this);
    progress_ = new CXProgressCtrl(this);
    progress_->setObjectName(QStringLiteral("TransferProgress"));
    progress_->SetRange(0, TransferProgress::kImagePackets);
    progress_->SetStep(1);
    progress_->hide();
    cancel_ = new QPushButton(QStringLiteral("Cancel"), this);
    cancel_->setObjectName(QStringLiteral("CancelTransfer"));
    cancel_->hide();
    playStyle_ = new QPushButton(style()->standardIcon(QStyle::SP_MediaPlay),
                                 QStringLiteral("Play style"), this);
    playStyle_->setObjectName(QStringLiteral("PlayStyle"));
    playStyle_->setToolTip(
        QStringLiteral("Hear the combined style: Intro, the Fills and Ending over the chords"));
    connect(upload_, &CGdipButton::clicked, this, &CTopMiddleView::OnUpload);
    // Runs in the window's event pump while the link worker sends; the worker stops after the
    // packet in flight.
    connect(cancel_, &QPushButton::clicked, this, [] {
        if (!Link().linkIdle.load())
            CancelLink();
    });
}

CTopMiddleView::~CTopMiddleView() {
    link_.AbandonDownload();
    if (run_) {
        // Abandoned before its end: the image exists only while it is being sent.
        std::error_code ec;
        std::filesystem::remove(run_->Image(), ec);
    }
}

void CTopMiddleView::ShowProgress(bool visible) {
    progress_->setVisible(visible);
    cancel_->setVisible(visible);
}

void CTopMiddleView::TransferEnded() {
    cancel_->hide();
}

void CTopMiddleView::ProgressChanged(const TransferProgress& progress) {
    progress_->SetLabel(progress.Caption().empty()
                            ? QString()
                            : QString::fromStdString(progress.Caption()) + QStringLiteral("  "));
    progress_->SetRange(0, progress.Range());
    progress_->SetPos(progress.Position());
}

void CTopMiddleView::OnUpload() {
    auto run = std::make_unique<UploadRun>(combine_.RepositoryFolder(), *environment_);
    if (run->Begin(combine_.Lists()))
        return;
    run_ = std::move(run);
    // One transfer at a time: a click meanwhile would only meet a refusal.
    upload_->setEnabled(false);
    link_.StartDownload(run_->Image(), run_->Slot(), run_->Steps(),
                        [this](bool stored) { TransferFinished(stored); });
}

void CTopMiddleView::TransferFinished(bool stored) {
    const std::unique_ptr<UploadRun> run = std::move(run_);
    upload_->setEnabled(true);
    const UploadResult result = run->Finish(stored);
    if (result == UploadResult::Stored) {
        const QString when =
            QDateTime::currentDateTime().toString(QStringLiteral("'on' d MMM 'at' HH:mm"));
        Q_EMIT StyleStored(run->Slot(), QString::fromStdString(
                                          StoredStyleNote(combine_.Lists(), when.toStdString())));
    }
}

void CTopMiddleView::resizeEvent(QResizeEvent* event) {
    QWidget::resizeEvent(event);
    Layout();
}

void CTopMiddleView::Layout() {
    constexpr int kCancelWidth = 80;
    const int barWidth = std::max(width() - 16, 0);
    upload_->setGeometry(14, 35, barWidth, 50);
    progress_->setGeometry(14, 105, barWidth, 20);
    // The column is narrow, so Cancel sits right under the bar's right end instead of taking
    // its width.
    const int cancelWidth = std::min(kCancelWidth, barWidth);
    cancel_->setGeometry(14 + barWidth - cancelWidth, 131, cancelWidth, 24);
    playStyle_->setGeometry(14, 175, barWidth, 28);
}

}  // namespace vantrel
