#pragma once

#include <QWidget>
#include <memory>

class QPushButton;

#include "combine/DeviceUploadLink.h"
#include "combine/UploadPorts.h"
#include "device/CMidiTrans.h"

namespace vantrel {

class CGdipButton;
class CTopCombineView;
class CXProgressCtrl;
class UploadRun;
class UserPrompt;
struct UploadEnvironment;

// The second column of the top row: the "Upload" button, which joins the three combine lists
// into one style and stores it in the slot chosen in the device's slot list (which the frame
// hands over as a SlotListView), and the progress
// bar of the transfer with its Cancel button right under it, both shown only while it runs. The
// transfer runs on the link worker and keeps the window painting; Upload is disabled meanwhile,
// and no box the window shows pauses the transfer.
class CTopMiddleView : public QWidget, public ProgressView {
    Q_OBJECT
  public:
    CTopMiddleView(UserPrompt& prompt, CTopCombineView& combine, SlotListView& slotList,
                   QWidget* parent = nullptr);
    ~CTopMiddleView() override;

    CGdipButton& UploadButton() { return *upload_; }
    CXProgressCtrl& Progress() { return *progress_; }
    QPushButton& CancelButton() { return *cancel_; }
    // Plays the whole combined style (Intro, the Fills, Ending) over the chord chart.
    QPushButton& PlayStyleButton() { return *playStyle_; }

    void ShowProgress(bool visible) override;
    void ProgressChanged(const TransferProgress& progress) override;
    void TransferEnded() override;

    // Whether an upload's transfer has been started and its outcome not yet shown.
    bool Transferring() const { return run_ != nullptr; }

  public Q_SLOTS:
    // Runs the checks and builds the image, then hands the transfer to the link worker and
    // returns; the progress and the outcome arrive as queued calls while the window goes on.
    void OnUpload();

  Q_SIGNALS:
    // The keyboard confirmed the style in this slot; note says what went there and when.
    void StyleStored(int slot, const QString& note);

  protected:
    void resizeEvent(QResizeEvent* event) override;

  private:
    void Layout();
    void TransferFinished(bool stored);

    UserPrompt& prompt_;
    CTopCombineView& combine_;
    CMidiTrans trans_;
    DeviceUploadLink link_;
    // Held by pointer: the workflow's header names a member `slots`, a keyword of Qt's.
    std::unique_ptr<UploadEnvironment> environment_;
    std::unique_ptr<UploadRun> run_;  // the upload whose transfer runs
    CGdipButton* upload_;
    CXProgressCtrl* progress_;
    QPushButton* cancel_;
    QPushButton* playStyle_;
};

}  // namespace vantrel
