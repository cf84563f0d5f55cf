#pragma once

#include <QIcon>

namespace vantrel {

// The desktop's icon for MIDI files, learned once from the MIME database and the icon theme
// (no file is created to ask for it); the file icon when the desktop has none for the type.
// The device slot list shows it for every occupied slot; the file browser for every MIDI file.
const QIcon& MidiTypeIcon();

}  // namespace vantrel
