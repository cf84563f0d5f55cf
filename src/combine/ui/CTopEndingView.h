#pragma once

#include "combine/ui/CTopListView.h"

namespace vantrel {

// The Ending list: one file, the style's close.
class CTopEndingView : public CTopListView {
    Q_OBJECT
  public:
    CTopEndingView(CombineLists& lists, UserPrompt& prompt, QWidget* parent = nullptr)
        : CTopListView(SubRepository::Ending, lists, prompt, parent) {
        setObjectName(QStringLiteral("CTopEndingView"));
    }
};

}  // namespace vantrel
