#pragma once

#include <QWidget>
#include <filesystem>
#include <memory>
#include <optional>
#include <vector>

#include "combine/CombineLists.h"
#include "widgets/SplitterLayout.h"

namespace vantrel {

class CDisabledCSplitterWnd;
class CTopEndingView;
class CTopFillView;
class CTopIntroView;
class CTopListView;
class UserPrompt;

// The third column of the top row: the Intro, Fill and Ending combine lists stacked in a
// splitter that cannot be dragged, 40 pixels for Intro, 50 for Ending and the rest for Fill.
// The lists live here, in memory only, for as long as the window.
class CTopCombineView : public QWidget {
    Q_OBJECT
  public:
    explicit CTopCombineView(UserPrompt& prompt, QWidget* parent = nullptr);
    ~CTopCombineView() override;

    // The rows for a client height; nullopt (leave them) at 100 pixels or less.
    static std::optional<std::vector<PaneInfo>> Rows(int height);

    const std::filesystem::path& RepositoryFolder() const { return repositoryFolder_; }
    CombineLists& Lists() { return *lists_; }
    CTopListView& Pane(SubRepository sub);

  signals:
    void RepositoryChanged();

  protected:
    void resizeEvent(QResizeEvent* event) override;

  private:
    std::filesystem::path repositoryFolder_;
    std::unique_ptr<CombineLists> lists_;
    CDisabledCSplitterWnd* splitter_;
    CTopIntroView* intro_;
    CTopFillView* fill_;
    CTopEndingView* ending_;
};

}  // namespace vantrel
