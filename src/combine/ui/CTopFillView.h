#pragma once

#include "combine/ui/CTopListView.h"

namespace vantrel {

// The Fill list: up to eight files, in the order they were added.
class CTopFillView : public CTopListView {
    Q_OBJECT
  public:
    CTopFillView(CombineLists& lists, UserPrompt& prompt, QWidget* parent = nullptr)
        : CTopListView(SubRepository::Fill, lists, prompt, parent) {
        setObjectName(QStringLiteral("CTopFillView"));
    }
};

}  // namespace vantrel
