#pragma once

#include <QWidget>
#include <array>

#include "repository/SubRepository.h"

class QTabWidget;

namespace vantrel {

class CTopTabViewPage;
class UserPrompt;

// The sub-repository tabs "Intro", "Fill" and "Ending", one list page each. The current tab is
// where imports go and what the Combine button reads. Choosing a tab refills its page.
class CTopTabView : public QWidget {
    Q_OBJECT
  public:
    // The prompt asks before deleting for good where the system has no trash.
    explicit CTopTabView(UserPrompt& prompt, QWidget* parent = nullptr);

    SubRepository CurrentTab() const;
    void SetCurrentTab(SubRepository sub);
    CTopTabViewPage& Page(SubRepository sub);

    void RefreshPage(SubRepository sub);
    // Intro, Fill, Ending, in this order.
    void RefreshAllPages();

  Q_SIGNALS:
    // The browser's selection was dropped on one of the lists.
    void BrowserSelectionDropped();
    // Files from outside the program were dropped on one of the lists.
    void FilesDropped(const QStringList& paths);

  private:
    QTabWidget* tabs_;
    std::array<CTopTabViewPage*, 3> pages_{};
};

}  // namespace vantrel
