#include "device/ui/LinkMenuActions.h"

#include <QDir>
#include <QFileDialog>
#include <QSettings>

#include "common/UserPrompt.h"
#include "device/LinkOptions.h"
#include "device/LinkState.h"
#include "device/LinkTrace.h"
#include "device/ui/LinkSettings.h"
#include "device/ui/LinkSettingsDlg.h"
#include "widgets/QtPaths.h"

namespace vantrel {

const char* const LinkMenuActions::kNothingTraced =
    "Nothing has passed between the program and a keyboard yet.";

LinkMenuActions::LinkMenuActions(UserPrompt& prompt, QWidget* dialogParent, QObject* parent)
    : QObject(parent),
      prompt_(prompt),
      dialogParent_(dialogParent),
      settings_(ProgramSettings),
      runDialog_([](LinkSettingsDlg& dialog) { return dialog.exec() == QDialog::Accepted; }),
      chooseFile_([](QWidget* owner, const QString& proposed) {
          return QFileDialog::getSaveFileName(owner, QStringLiteral("Save transfer trace"),
                                              proposed,
                                              QStringLiteral("Text files (*.txt);;All files (*)"));
      }) {}

bool LinkMenuActions::Available() {
    return Link().linkIdle.load();
}

void LinkMenuActions::OnLinkSettings() {
    if (!Available())
        return;
    LinkSettingsDlg dialog(CurrentLinkOptions(), prompt_, dialogParent_);
    if (!runDialog_(dialog))
        return;
    const std::unique_ptr<QSettings> settings = settings_();
    WriteLinkSettings(*settings, dialog.Options());
    ApplyLinkOptions(dialog.Options());
}

void LinkMenuActions::OnSaveTrace() {
    if (!Available())
        return;
    if (Trace().Lines().empty()) {
        prompt_.Message(kNothingTraced);
        return;
    }
    const QString proposed = QDir::home().filePath(QStringLiteral("vantrel-trace.txt"));
    const QString chosen = chooseFile_(dialogParent_, proposed);
    if (chosen.isEmpty())
        return;
    if (!Trace().SaveTo(ToFsPath(chosen)))
        prompt_.Message("The transfer trace could not be saved as " +
                        QDir::toNativeSeparators(chosen).toStdString() + ".");
}

}  // namespace vantrel
