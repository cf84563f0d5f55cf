#pragma once

#include <QWidget>

#include "repository/SubRepository.h"

namespace vantrel {

class CombineListCtrl;
class CombineLists;
class UserPrompt;

// A pane of one combine selection list (Intro, Fill or Ending): the list control filling the
// pane, the entries it shows, and MIDI files dropped on it from the desktop, which are checked,
// imported into the list's sub-repository and then added as the Combine button adds them.
class CTopListView : public QWidget {
    Q_OBJECT
  public:
    CTopListView(SubRepository sub, CombineLists& lists, UserPrompt& prompt,
                 QWidget* parent = nullptr);

    SubRepository Sub() const { return sub_; }
    CombineListCtrl& List() { return *list_; }

  public Q_SLOTS:
    void RefreshEntries();
    void RemoveEntry(const QString& name);
    void OnFilesDropped(const QStringList& paths);

  Q_SIGNALS:
    // Files were imported into a sub-repository folder.
    void RepositoryChanged();

  protected:
    void resizeEvent(QResizeEvent* event) override;

  private:
    SubRepository sub_;
    CombineLists& lists_;
    UserPrompt& prompt_;
    CombineListCtrl* list_;
};

}  // namespace vantrel
