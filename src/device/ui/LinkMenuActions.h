#pragma once

#include <QObject>
#include <QString>
#include <functional>
#include <memory>

class QSettings;
class QWidget;

namespace vantrel {

class LinkSettingsDlg;
class UserPrompt;

// "Link settings…" and "Save transfer trace…", offered by the right-click menu of the button
// strip beside Connect. Both wait while a device transaction runs: a dialog opened from within a
// transfer would hold up its packets.
class LinkMenuActions : public QObject {
    Q_OBJECT
  public:
    // Where the options are kept; the program's own settings unless a test gives a file.
    using SettingsSource = std::function<std::unique_ptr<QSettings>()>;
    // Shows the settings dialog and answers whether it was closed with OK.
    using DialogRunner = std::function<bool(LinkSettingsDlg& dialog)>;
    // Asks where the trace goes, starting from a proposed file; empty when the user cancels.
    using FileChooser = std::function<QString(QWidget* parent, const QString& proposed)>;

    LinkMenuActions(UserPrompt& prompt, QWidget* dialogParent, QObject* parent = nullptr);

    void SetSettingsSource(SettingsSource source) { settings_ = std::move(source); }
    void SetDialogRunner(DialogRunner runner) { runDialog_ = std::move(runner); }
    void SetFileChooser(FileChooser chooser) { chooseFile_ = std::move(chooser); }

    // Both are offered only while no device transaction runs.
    static bool Available();

    static const char* const kNothingTraced;

  public Q_SLOTS:
    // The dialog with the link's current options; OK keeps them and makes them the link's.
    void OnLinkSettings();
    // The record of the packets and protocol states since the program started (the newest
    // DesktopDeviceLink::kWindowTraceLines lines), written whole or not at all.
    void OnSaveTrace();

  private:
    UserPrompt& prompt_;
    QWidget* dialogParent_;
    SettingsSource settings_;
    DialogRunner runDialog_;
    FileChooser chooseFile_;
};

}  // namespace vantrel
