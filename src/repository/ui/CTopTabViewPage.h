#pragma once

#include <QWidget>
#include <functional>

#include "repository/SubRepository.h"

class QMenu;

namespace vantrel {

class SubRepositoryListBox;
class UserPrompt;

// One page of the sub-repository tabs: a list box filling the page and the page's context menu,
// "Delete", "Copy To" each other sub-repository, "Delete All". The commands work on the
// repository folders directly and say nothing: what happened shows in the lists. Deleted
// entries go to the desktop's trash; only where there is none is the user asked before they are
// deleted for good.
class CTopTabViewPage : public QWidget {
    Q_OBJECT
  public:
    // Shows a built menu at a screen position; tests replace it to pick an item.
    using MenuRunner = std::function<void(QMenu& menu, const QPoint& globalPosition)>;

    CTopTabViewPage(SubRepository sub, UserPrompt& prompt, QWidget* parent = nullptr);

    SubRepository Sub() const { return sub_; }
    SubRepositoryListBox& List() { return *list_; }
    void SetMenuRunner(MenuRunner runner) { menuRunner_ = std::move(runner); }

    // Refills the list from the folder; nothing stays selected.
    void Refresh();

    void OnDelete();
    void OnDeleteAll();
    void OnCopyTo(SubRepository target);

  private:
    void ShowMenu(const QPoint& globalPosition);

    SubRepository sub_;
    UserPrompt& prompt_;
    SubRepositoryListBox* list_;
    MenuRunner menuRunner_;
};

}  // namespace vantrel
