#pragma once

#include <QStringList>
#include <functional>

#include "repository/SubRepository.h"

namespace vantrel {

// What the Combine button reads of the sub-repository tabs, handed over by the frame: the
// current tab and the names selected on a tab, in row order.
struct RepositorySelection {
    std::function<SubRepository()> currentTab;
    std::function<QStringList(SubRepository)> selectedNames;
};

}  // namespace vantrel
