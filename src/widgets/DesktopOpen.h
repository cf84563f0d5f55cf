#pragma once

#include <QString>
#include <functional>

namespace vantrel {

// Opens a local file with the program the desktop has for its type; false when there is none
// (or it would not start). Tests put their own in place.
using DesktopOpener = std::function<bool(const QString& file)>;
DesktopOpener DesktopOpenerOfSystem();

}  // namespace vantrel
