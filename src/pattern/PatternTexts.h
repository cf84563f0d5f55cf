#pragma once

#include <string>

namespace vantrel {

// Texts the converter shows in message boxes and adds to its error list, exactly as the user
// sees them.
inline constexpr const char* kTextTooManyInputs =
    "Number of File Names is less than that of Input files";
inline constexpr const char* kTextCannotWrite = "Cannot Write Output Files";
inline constexpr const char* kTextPpqnWarning = "Warning: PPQN is not 192";
inline constexpr const char* kTextPpqnError = "Error: PPQN is not 192";
inline constexpr const char* kTextTimeSignatureRequired = "Time signature is required!";
inline constexpr const char* kTextTempoRequired = "Tempo is required!";
inline constexpr const char* kTextMixedTracks = "Mixed tracks are not allowed!";
inline constexpr const char* kTextLowChannels = "MIDI file containing track 1-8 is not supported!";
inline constexpr const char* kTextNoteOffError = "Note Off Error!";

// printf-style formatting of one error-list entry.
std::string FormatText(const char* format, ...) __attribute__((format(printf, 1, 2)));

}  // namespace vantrel
