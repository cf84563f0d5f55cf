#include "device/winmm/WinMmPortNames.h"

#include <windows.h>

#include <mmsystem.h>

#include "common/WideText.h"

namespace vantrel::winmm {

namespace {

template <typename Caps, typename GetCaps>
std::vector<std::string> Names(UINT count, GetCaps getCaps) {
    std::vector<std::string> names;
    for (UINT port = 0; port < count; ++port) {
        Caps caps{};
        // szPname holds at most 31 characters and its terminator.
        const bool read = getCaps(port, &caps) == MMSYSERR_NOERROR;
        caps.szPname[MAXPNAMELEN - 1] = L'\0';
        names.push_back(read ? Utf8FromWide(caps.szPname) : std::string());
    }
    return names;
}

}  // namespace

std::vector<std::string> InputPortNames() {
    return Names<MIDIINCAPSW>(::midiInGetNumDevs(), [](UINT port, MIDIINCAPSW* caps) {
        return ::midiInGetDevCapsW(port, caps, sizeof *caps);
    });
}

std::vector<std::string> OutputPortNames() {
    return Names<MIDIOUTCAPSW>(::midiOutGetNumDevs(), [](UINT port, MIDIOUTCAPSW* caps) {
        return ::midiOutGetDevCapsW(port, caps, sizeof *caps);
    });
}

}  // namespace vantrel::winmm
