#pragma once

#include <QString>
#include <QStringList>
#include <filesystem>
#include <functional>
#include <optional>

#include "fit/FitResult.h"
#include "repository/SubRepository.h"

namespace vantrel {

// What the button strip's import needs of the panes around it. The frame fills it in, so the
// strip knows neither the sub-repository tabs nor the file browser.
struct ImportPanes {
    // The sub-repository the imports go to: the current tab.
    std::function<SubRepository()> currentTab;
    // Reloads the three sub-repository lists.
    std::function<void()> refreshRepositoryLists;
    // The folder the file browser shows, and the names selected in it.
    std::function<QString()> browserFolder;
    std::function<QStringList()> browserSelection;
    // Reads a folder into the browser again.
    std::function<void(const QString& folder)> showBrowserFolder;
    // "Make it fit…" for a refused file: the fit the user accepted, or nothing.
    std::function<std::optional<FitResult>(const std::filesystem::path& source)> makeItFit;
};

}  // namespace vantrel
