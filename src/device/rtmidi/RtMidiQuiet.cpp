#include "device/rtmidi/RtMidiQuiet.h"

#include <mutex>

#ifdef VANTREL_QUIET_ALSA
#include <alsa/asoundlib.h>
#endif
#ifdef VANTREL_QUIET_JACK
#include <jack/jack.h>
#endif

namespace vantrel::rtmidi {

namespace {

#ifdef VANTREL_QUIET_ALSA
void SilentAlsa(const char* /*file*/, int /*line*/, const char* /*function*/, int /*error*/,
                const char* /*format*/, ...) {}
#endif
#ifdef VANTREL_QUIET_JACK
void SilentJack(const char* /*text*/) {}
#endif

}  // namespace

void SilenceMidiServices() {
    static std::once_flag once;
    std::call_once(once, [] {
#ifdef VANTREL_QUIET_ALSA
        snd_lib_error_set_handler(&SilentAlsa);
#endif
#ifdef VANTREL_QUIET_JACK
        jack_set_error_function(&SilentJack);
        jack_set_info_function(&SilentJack);
#endif
    });
}

}  // namespace vantrel::rtmidi
