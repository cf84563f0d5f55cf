#pragma once

#include <QStringList>

namespace vantrel {

class CCJShellList;
class CCJShellTree;

// Shows the first file's folder in the browser with the given files of that folder selected, as
// a desktop's "Open with" hands files to the program. Relative names are taken from the current
// folder. False, with the browser left alone, when the first file's folder does not exist.
bool BrowseToFiles(CCJShellTree& tree, CCJShellList& list, const QStringList& files);

}  // namespace vantrel
