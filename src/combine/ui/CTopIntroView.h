#pragma once

#include "combine/ui/CTopListView.h"

namespace vantrel {

// The Intro list: one file, the style's opening.
class CTopIntroView : public CTopListView {
    Q_OBJECT
  public:
    CTopIntroView(CombineLists& lists, UserPrompt& prompt, QWidget* parent = nullptr)
        : CTopListView(SubRepository::Intro, lists, prompt, parent) {
        setObjectName(QStringLiteral("CTopIntroView"));
    }
};

}  // namespace vantrel
