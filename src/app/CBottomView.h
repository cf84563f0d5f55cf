#pragma once

#include <QWidget>

#include "widgets/CDisabledCSplitterWnd.h"

namespace vantrel {

class CCJShellList;
class CCJShellTree;
class UserPrompt;

// The bottom row: the folder tree (a third of the width) beside the file list, linked so that
// choosing a folder in the tree lists its files.
class CBottomView : public QWidget {
    Q_OBJECT
  public:
    CBottomView(UserPrompt& prompt, QWidget* parent = nullptr);

    CDisabledCSplitterWnd& Splitter() { return *splitter_; }
    CCJShellTree& Tree() { return *tree_; }
    CCJShellList& List() { return *list_; }

  protected:
    void resizeEvent(QResizeEvent* event) override;

  private:
    CDisabledCSplitterWnd* splitter_;
    CCJShellTree* tree_;
    CCJShellList* list_;
};

}  // namespace vantrel
