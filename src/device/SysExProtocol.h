#pragma once

#include <array>
#include <cstddef>
#include <cstdint>
#include <optional>
#include <span>
#include <string>
#include <string_view>
#include <vector>

// The device's System Exclusive protocol as pure functions over bytes, shared by the computer's
// side (CMidiTrans) and the virtual keyboard.
//
// Message frame (every message in both directions except the acknowledge; n = total length):
//   0        F0h
//   1-3      kManufacturerId
//   4-7      55h 52h 53h 57h ("URSW")
//   8        command
//   9..n-4   payload
//   n-3      checksum bits 0-6
//   n-2      checksum bit 7
//   n-1      F7h
// The checksum is the sum of bytes 1 to n-4 modulo 256, except in the file data message, which
// carries the sum of the raw file bytes. Multi-byte numbers inside records are little-endian.
namespace vantrel::sysex {

// The device maker's registered System Exclusive manufacturer identifier (the three-byte form,
// whose first byte is 00h): the default of the identifier every message is framed and checked
// with.
using ManufacturerIdBytes = std::array<std::uint8_t, 3>;
inline constexpr ManufacturerIdBytes kManufacturerId{0x00, 0x21, 0x3D};

// The identifier in use, one for the whole process (a keyboard whose maker's identifier differs
// is reached by setting it before connecting). Read on every thread; set between transfers.
ManufacturerIdBytes ManufacturerId();
void SetManufacturerId(ManufacturerIdBytes id);
// "00,21,3D": three hexadecimal data bytes (00 to 7F) separated by commas.
std::optional<ManufacturerIdBytes> ParseManufacturerId(std::string_view text);
std::string FormatManufacturerId(ManufacturerIdBytes id);
inline constexpr std::array<std::uint8_t, 4> kSignature{0x55, 0x52, 0x53, 0x57};

inline constexpr std::uint8_t kSysExStart = 0xF0;
inline constexpr std::uint8_t kSysExEnd = 0xF7;

inline constexpr std::size_t kCommandOffset = 8;
inline constexpr std::size_t kPayloadOffset = 9;
inline constexpr std::size_t kFrameOverhead = 12;  // F0, id, signature, command, checksum, F7
inline constexpr std::size_t kShortFormSize = 14;  // two parameter bytes
inline constexpr std::size_t kAcknowledgeSize = 10;

// Commands (byte 8).
inline constexpr std::uint8_t kCommandConnect = 0x00;
inline constexpr std::uint8_t kCommandAcknowledge = 0x08;
inline constexpr std::uint8_t kCommandSlotList = 0x12;
inline constexpr std::uint8_t kCommandFile = 0x13;  // file header, then file data
inline constexpr std::uint8_t kCommandDelete = 0x15;

// Status bytes: byte 0 of the device's reply records, P1 of the computer's status replies.
inline constexpr std::uint8_t kStatusOk = 0;
inline constexpr std::uint8_t kStatusEndOfList = 1;    // slot-list entry: end mark
inline constexpr std::uint8_t kStatusBadChecksum = 2;  // also a refusal value in replies
inline constexpr std::uint8_t kStatusCapacity = 6;     // header reply: image too large

inline constexpr std::uint8_t kSlotListRequestP1 = 1;
inline constexpr int kSlotCount = 256;             // slots 0 to 255 fit a short form
inline constexpr std::size_t kMaxNameLength = 99;  // name buffers hold 100 bytes with a zero
inline constexpr std::size_t kHeaderRecordSize = 10;
inline constexpr std::size_t kFileHeaderMessageSize = 2 * kHeaderRecordSize + kFrameOverhead;
inline constexpr std::uint32_t kHeaderRecordValue = 1;

// Sum modulo 256.
std::uint8_t Checksum(std::span<const std::uint8_t> bytes);

// The packed form: each record byte b goes out as (b AND 7Fh), (b >> 7).
void AppendPacked(std::vector<std::uint8_t>& out, std::span<const std::uint8_t> record);
// Unpacks payload.size() / 2 bytes (a trailing odd byte is ignored).
std::vector<std::uint8_t> Unpack(std::span<const std::uint8_t> payload);

// Writes F0h, the identifier, the signature, F7h and the frame checksum around the command and
// payload already placed at bytes 8 and 9 on. False (nothing written) when shorter than a
// frame.
bool FrameMessage(std::span<std::uint8_t> message);
// Stores a checksum at n-3 (bits 0-6) and n-2 (bit 7); the message is at least a frame long.
void StoreChecksum(std::span<std::uint8_t> message, std::uint8_t checksum);

std::vector<std::uint8_t> MakeShortMessage(std::uint8_t command, std::uint8_t p1, std::uint8_t p2);
std::vector<std::uint8_t> MakePackedMessage(std::uint8_t command,
                                            std::span<const std::uint8_t> record);

// Slot number in a short form: P1 = slot AND 7Fh, P2 = bit 7. Slots outside 0-255 are refused.
struct SlotBytes {
    std::uint8_t p1 = 0;
    std::uint8_t p2 = 0;
};
std::optional<SlotBytes> EncodeSlot(int slot);
int DecodeSlot(SlotBytes bytes);

// The device's acknowledge of one packet: F0h, identifier, signature, 08h, F7h. It is
// recognised by its length 10 and byte 8 = 08h alone.
std::array<std::uint8_t, kAcknowledgeSize> AcknowledgeMessage();
bool IsAcknowledge(std::span<const std::uint8_t> message);

// A message whose frame header and end byte are in place and which is at least a frame long.
struct FrameView {
    std::uint8_t command = 0;
    std::span<const std::uint8_t> payload;
    std::uint8_t carriedChecksum = 0;  // (byte n-2 << 7) | byte n-3, in 8 bits
    std::uint8_t frameChecksum = 0;    // sum of bytes 1 to n-4
};
std::optional<FrameView> ParseFrame(std::span<const std::uint8_t> message);

enum class CheckResult { Malformed, BadChecksum, Ok };
// Malformed: not a frame (to be dropped silently); BadChecksum: a frame whose carried checksum
// is not the frame sum.
CheckResult CheckMessage(std::span<const std::uint8_t> message);

// The two parameters of a short form; nullopt unless the payload is exactly two bytes.
std::optional<SlotBytes> ShortFormParameters(const FrameView& frame);

// ---- Records (unpacked payloads) ----

// File header (computer to device, 10 bytes): [0] slot (low 8 bits); [1] name length, 0;
// [2-5] file size; [6-9] the value 1.
struct HeaderRecord {
    std::uint8_t slot = 0;
    std::uint32_t size = 0;
    std::uint32_t value = kHeaderRecordValue;
};
std::vector<std::uint8_t> MakeHeaderRecord(std::uint8_t slot, std::uint32_t size);
// Accepts a name length other than 0 by skipping the name bytes.
std::optional<HeaderRecord> ParseHeaderRecord(std::span<const std::uint8_t> record);

// Connect reply and slot-list entry: [0] status; [1] slot index (not interpreted in a connect
// reply); [2] name length N; [3 ... 3+N-1] name. Parsing needs the status byte; a missing index
// or length reads as 0, a name is cut to the bytes present and to kMaxNameLength.
struct NamedRecord {
    std::uint8_t status = 0;
    std::uint8_t index = 0;
    std::string name;
};
std::vector<std::uint8_t> MakeNamedRecord(std::uint8_t status, std::uint8_t index,
                                          std::string_view name);
std::optional<NamedRecord> ParseNamedRecord(std::span<const std::uint8_t> record);

// Header, data and delete replies: [0] status.
std::optional<std::uint8_t> ParseStatusRecord(std::span<const std::uint8_t> record);

// ---- Whole messages the computer sends ----
std::vector<std::uint8_t> MakeConnectRequest();                        // 00h, P1 = 0, P2 = 0
std::vector<std::uint8_t> MakeSlotListRequest();                       // 12h, P1 = 1, P2 = 0
std::optional<std::vector<std::uint8_t>> MakeDeleteRequest(int slot);  // 15h, slot
// Status reply: the answered command, P1 = 0 when received correctly, 2 for a wrong checksum.
std::vector<std::uint8_t> MakeStatusReply(std::uint8_t command, bool ok);
// The complaint about a reply with a wrong checksum, or nothing where the complaint would be
// byte for byte a request the device acts on: 15h with P1 = 2 is "delete slot 2", and 13h with
// P1 = 2 is the file data of a one-byte file, which a device awaiting such data would store.
// Only the replies the computer asks for (connect, slot list, file) are complained about; the
// command byte of a damaged reply may itself be damaged. pendingFileSize: the size of the file
// whose data the device may be awaiting (0 for none).
std::optional<std::vector<std::uint8_t>> MakeComplaint(std::uint8_t command,
                                                       std::uint32_t pendingFileSize);
std::vector<std::uint8_t> MakeFileHeaderMessage(std::uint8_t slot, std::uint32_t size);  // 32 B
// The file bytes packed (2 x size + 12 bytes) with the raw data sum as its checksum.
std::vector<std::uint8_t> MakeFileDataMessage(std::span<const std::uint8_t> fileBytes);

// The packet that ends a message cut short after `sent` (its bytes on the wire so far, F0h
// onwards, without the F7h of full packets): F0h 00h, a checksum that is never the frame sum of
// the message it completes, F7h. Shorter than a full packet, so a keyboard that joins packets
// by their length ends the message there as well; the joined message has an odd payload length,
// which no message of the protocol has, and a wrong checksum, so every keyboard answers it with
// a checksum error and none stores it.
inline constexpr std::size_t kClosingPacketSize = 5;
std::array<std::uint8_t, kClosingPacketSize> MakeClosingPacket(std::span<const std::uint8_t> sent);

// ---- Whole messages the device sends ----
std::vector<std::uint8_t> MakeConnectReply(std::uint8_t status, std::string_view deviceName);
std::vector<std::uint8_t> MakeSlotListEntry(std::uint8_t status, std::uint8_t index,
                                            std::string_view slotName);
std::vector<std::uint8_t> MakeStatusRecordReply(std::uint8_t command, std::uint8_t status);

}  // namespace vantrel::sysex
