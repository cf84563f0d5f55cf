#pragma once

class QString;
class QWidget;

namespace vantrel {

class CGdipButton;

// Registers the pictures of the Combine and Upload buttons (compiled into a static library, so
// registration runs only when something calls this); repeated calls do nothing.
void EnsureCombineResources();

// An image button showing "button-NAME.svg", and "button-NAME-active.svg" under the mouse; the
// name in lower case picks the pictures and is also the button's object name and tooltip.
CGdipButton* MakeCombineButton(const QString& name, QWidget* parent);

}  // namespace vantrel
