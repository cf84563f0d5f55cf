#pragma once

#include <QWidget>

#include "combine/ui/RepositorySelection.h"

namespace vantrel {

class CGdipButton;
class CTopCombineView;
class UserPrompt;

// The fourth column of the top row: the "Combine" button, which copies the selection of the
// current sub-repository tab into the matching combine list.
class TopCombineBtnView : public QWidget {
    Q_OBJECT
  public:
    TopCombineBtnView(UserPrompt& prompt, RepositorySelection tabs, CTopCombineView& combine,
                      QWidget* parent = nullptr);

    CGdipButton& CombineButton() { return *button_; }

  public Q_SLOTS:
    void OnCombine();

  protected:
    void resizeEvent(QResizeEvent* event) override;

  private:
    UserPrompt& prompt_;
    RepositorySelection tabs_;
    CTopCombineView& combine_;
    CGdipButton* button_;
};

}  // namespace vantrel
