#pragma once

// The test cable's own functions, beside the midiIn*/midiOut* ones it exports in place of the
// system's winmm.dll. The cable has one input and one output port; what the computer sends on
// the output goes to the far end, and what the far end delivers arrives in the input buffers
// the computer queued, as a driver fills them.
extern "C" {

// Called on the sending thread with each long message the computer sends.
typedef void (*VantrelCableFarEnd)(const unsigned char* bytes, unsigned length, void* user);

// Puts the far end on the cable (null takes it off).
typedef void (*VantrelCablePlugCall)(VantrelCableFarEnd farEnd, void* user);
// Bytes from the far end to the computer; returned in the input buffers on the cable's own
// thread, at most `chunk` bytes to a buffer (see VantrelCableSetChunk).
typedef void (*VantrelCableDeliverCall)(const unsigned char* bytes, unsigned length);
// At most this many bytes go into one input buffer (0: as many as it holds).
typedef void (*VantrelCableSetChunkCall)(unsigned chunk);
// midiOutUnprepareHeader answers MIDIERR_STILLPLAYING this many times after each long message;
// midiInClose this many times in all.
typedef void (*VantrelCableSetBusyCall)(unsigned outUnprepares, unsigned inCloses);
// The midi* calls made since the last time, one name a line; answers the length of the whole
// text (copied up to size - 1 bytes and terminated).
typedef unsigned (*VantrelCableCallsCall)(char* text, unsigned size);
}
