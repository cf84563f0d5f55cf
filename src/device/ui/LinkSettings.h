#pragma once

#include <memory>

#include "device/LinkOptions.h"

class QSettings;

namespace vantrel {

// The link options kept between runs of the window program, in the group "link": the
// acknowledge time-out and the packet gap in ms, the retries, and the manufacturer identifier
// as its text ("00,21,3D"). A value that is missing or cannot be read gives that option's
// default; values out of range are brought into range.
LinkOptions ReadLinkSettings(const QSettings& settings);
void WriteLinkSettings(QSettings& settings, const LinkOptions& options);

// The window program's own settings: the user's "Vantrel" settings of the maker "Vantrel"
// (on Linux ~/.config/Vantrel/Vantrel.conf).
std::unique_ptr<QSettings> ProgramSettings();

// At start-up: the kept options become the link's.
void ApplyLinkSettings(const QSettings& settings);

}  // namespace vantrel
