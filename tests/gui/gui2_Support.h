#pragma once

// Shared pieces of the device and combine pane tests: ports with chosen names, the in-process
// virtual keyboard behind the port layer, a private repository, and the chooser driven by name.

#include <QListWidget>
#include <QMenu>
#include <QPushButton>
#include <QStringList>
#include <QTest>
#include <filesystem>
#include <memory>
#include <string>
#include <vector>

#include "ScriptedPrompt.h"
#include "WindowTestSupport.h"
#include "common/ScopedTempDir.h"
#include "device/MidiPortBackend.h"
#include "device/ui/CMidiDeviceDlg.h"
#include "device/ui/DesktopDeviceLink.h"
#include "keyboard/VirtualKeyboardBackend.h"
#include "repository/CRepository.h"

namespace vantrel::test {

// Ports that exist only by name: listing works, opening fails.
class NamedPortsBackend final : public MidiPortBackend {
  public:
    NamedPortsBackend(std::vector<std::string> inputs, std::vector<std::string> outputs)
        : inputs_(std::move(inputs)), outputs_(std::move(outputs)) {}
    std::vector<std::string> InputPortNames() override { return inputs_; }
    std::vector<std::string> OutputPortNames() override { return outputs_; }
    bool OpenInput(std::size_t, MidiInputConfig) override { return false; }
    bool StartInput() override { return false; }
    bool StopInput() override { return true; }
    bool CloseInput() override { return true; }
    bool OpenOutput(std::size_t) override { return false; }
    bool CloseOutput() override { return true; }
    bool Send(std::span<const std::uint8_t>) override { return false; }

    std::vector<std::string> inputs_;
    std::vector<std::string> outputs_;
};

// The port layer set up as the window program sets it up, over the in-process virtual keyboard,
// with a private repository root.
struct KeyboardLink {
    explicit KeyboardLink(KeyboardOptions options = {})
        : keyboard(std::make_shared<VirtualKeyboardBackend>(std::move(options))),
          link(prompt, keyboard) {
        CRepository::SetRoot(repository.Path() / "Repository");
        CRepository::CreateFolders();
    }

    ScriptedPrompt prompt;
    ScopedTempDir repository;
    std::shared_ptr<VirtualKeyboardBackend> keyboard;
    DesktopDeviceLink link;
};

inline QStringList Texts(const QListWidget& list) {
    QStringList texts;
    for (int row = 0; row < list.count(); ++row)
        texts.push_back(list.item(row)->text());
    return texts;
}

inline QString SelectedText(const QListWidget& list) {
    const auto items = list.selectedItems();
    return items.isEmpty() ? QString() : items.front()->text();
}

// Selects the first item of each list with the given text and presses OK.
inline bool ChooseAndOk(CMidiDeviceDlg& dialog, const QString& input, const QString& output) {
    for (QListWidget* list : {&dialog.InputList(), &dialog.OutputList()}) {
        const auto found =
            list->findItems(list == &dialog.InputList() ? input : output, Qt::MatchExactly);
        if (!found.isEmpty())
            list->setCurrentItem(found.front());
    }
    dialog.OnOK();
    return true;
}

inline QStringList MenuTexts(const QMenu& menu) {
    QStringList texts;
    for (const QAction* action : menu.actions())
        texts.push_back(action->text());
    return texts;
}

// The items of the menus that Shift+F10 and then the context-menu key open on a list (one
// whose SetMenuRunner takes the menu in place of showing it), one list of texts per key.
template <class List>
std::vector<QStringList> MenusFromKeys(List& list) {
    std::vector<QStringList> menus;
    list.SetMenuRunner([&](QMenu& menu, const QPoint&) { menus.push_back(MenuTexts(menu)); });
    QTest::keyClick(&list, Qt::Key_F10, Qt::ShiftModifier);
    PressMenuKey(list);
    return menus;
}

}  // namespace vantrel::test
