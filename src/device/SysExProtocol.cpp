#include "device/SysExProtocol.h"

#include <algorithm>
#include <atomic>
#include <charconv>
#include <cstdio>

#include "midi/ByteReader.h"
#include "midi/ByteWriter.h"

namespace vantrel::sysex {

namespace {

constexpr std::uint32_t PackId(ManufacturerIdBytes id) {
    return std::uint32_t{id[0]} << 16 | std::uint32_t{id[1]} << 8 | id[2];
}

// Packed into one word so that a reader on another thread never sees half a change.
std::atomic<std::uint32_t> currentId{PackId(kManufacturerId)};

}  // namespace

ManufacturerIdBytes ManufacturerId() {
    const std::uint32_t packed = currentId.load();
    return {static_cast<std::uint8_t>(packed >> 16), static_cast<std::uint8_t>(packed >> 8),
            static_cast<std::uint8_t>(packed)};
}

void SetManufacturerId(ManufacturerIdBytes id) {
    currentId.store(PackId(id));
}

std::optional<ManufacturerIdBytes> ParseManufacturerId(std::string_view text) {
    ManufacturerIdBytes id{};
    std::size_t position = 0;
    for (std::size_t i = 0; i < id.size(); ++i) {
        const std::size_t end = std::min(text.find(',', position), text.size());
        const std::string_view part = text.substr(position, end - position);
        unsigned value = 0;
        const auto [last, error] =
            std::from_chars(part.data(), part.data() + part.size(), value, 16);
        if (part.empty() || part.size() > 2 || error != std::errc() ||
            last != part.data() + part.size() || value > 0x7F)
            return std::nullopt;
        id[i] = static_cast<std::uint8_t>(value);
        if (i + 1 < id.size() && end == text.size())
            return std::nullopt;
        position = end + 1;
    }
    if (position <= text.size())
        return std::nullopt;  // more than three bytes
    return id;
}

std::string FormatManufacturerId(ManufacturerIdBytes id) {
    char text[9];
    std::snprintf(text, sizeof text, "%02X,%02X,%02X", id[0], id[1], id[2]);
    return text;
}

std::uint8_t Checksum(std::span<const std::uint8_t> bytes) {
    std::uint8_t sum = 0;
    for (const std::uint8_t byte : bytes)
        sum = static_cast<std::uint8_t>(sum + byte);
    return sum;
}

void AppendPacked(std::vector<std::uint8_t>& out, std::span<const std::uint8_t> record) {
    out.reserve(out.size() + 2 * record.size());
    for (const std::uint8_t byte : record) {
        out.push_back(static_cast<std::uint8_t>(byte & 0x7Fu));
        out.push_back(static_cast<std::uint8_t>(byte >> 7));
    }
}

std::vector<std::uint8_t> Unpack(std::span<const std::uint8_t> payload) {
    ByteReader reader(payload);
    std::vector<std::uint8_t> record;
    record.reserve(payload.size() / 2);
    while (reader.Remaining() >= 2) {
        const std::uint8_t low = *reader.U8();
        const std::uint8_t high = *reader.U8();
        record.push_back(static_cast<std::uint8_t>((high << 7) | low));
    }
    return record;
}

void StoreChecksum(std::span<std::uint8_t> message, std::uint8_t checksum) {
    const std::size_t n = message.size();
    message[n - 3] = static_cast<std::uint8_t>(checksum & 0x7Fu);
    message[n - 2] = static_cast<std::uint8_t>(checksum >> 7);
}

bool FrameMessage(std::span<std::uint8_t> message) {
    const std::size_t n = message.size();
    if (n < kFrameOverhead)
        return false;
    message[0] = kSysExStart;
    const ManufacturerIdBytes id = ManufacturerId();
    std::copy(id.begin(), id.end(), message.begin() + 1);
    std::copy(kSignature.begin(), kSignature.end(), message.begin() + 4);
    message[n - 1] = kSysExEnd;
    StoreChecksum(message, Checksum(message.subspan(1, n - 4)));
    return true;
}

namespace {

// Command, payload and room for the frame around them.
std::vector<std::uint8_t> FramedMessage(std::uint8_t command,
                                        const std::vector<std::uint8_t>& payload) {
    std::vector<std::uint8_t> message(payload.size() + kFrameOverhead, 0);
    message[kCommandOffset] = command;
    std::copy(payload.begin(), payload.end(), message.begin() + kPayloadOffset);
    FrameMessage(message);
    return message;
}

}  // namespace

std::vector<std::uint8_t> MakeShortMessage(std::uint8_t command, std::uint8_t p1, std::uint8_t p2) {
    return FramedMessage(command, {p1, p2});
}

std::vector<std::uint8_t> MakePackedMessage(std::uint8_t command,
                                            std::span<const std::uint8_t> record) {
    std::vector<std::uint8_t> payload;
    AppendPacked(payload, record);
    return FramedMessage(command, payload);
}

std::optional<SlotBytes> EncodeSlot(int slot) {
    if (slot < 0 || slot >= kSlotCount)
        return std::nullopt;
    return SlotBytes{static_cast<std::uint8_t>(slot & 0x7F), static_cast<std::uint8_t>(slot >> 7)};
}

int DecodeSlot(SlotBytes bytes) {
    return (bytes.p1 & 0x7F) | ((bytes.p2 & 0x01) << 7);
}

std::array<std::uint8_t, kAcknowledgeSize> AcknowledgeMessage() {
    std::array<std::uint8_t, kAcknowledgeSize> message{};
    message[0] = kSysExStart;
    const ManufacturerIdBytes id = ManufacturerId();
    std::copy(id.begin(), id.end(), message.begin() + 1);
    std::copy(kSignature.begin(), kSignature.end(), message.begin() + 4);
    message[kCommandOffset] = kCommandAcknowledge;
    message[9] = kSysExEnd;
    return message;
}

bool IsAcknowledge(std::span<const std::uint8_t> message) {
    ByteReader reader(message);
    return message.size() == kAcknowledgeSize && reader.Seek(kCommandOffset) &&
           reader.U8() == kCommandAcknowledge;
}

std::optional<FrameView> ParseFrame(std::span<const std::uint8_t> message) {
    if (message.size() < kFrameOverhead)
        return std::nullopt;
    ByteReader reader(message);
    if (reader.U8() != kSysExStart)
        return std::nullopt;
    const ManufacturerIdBytes expected = ManufacturerId();
    const auto id = reader.Bytes(expected.size());
    const auto signature = reader.Bytes(kSignature.size());
    if (!id || !std::equal(id->begin(), id->end(), expected.begin()))
        return std::nullopt;
    if (!signature || !std::equal(signature->begin(), signature->end(), kSignature.begin())) {
        return std::nullopt;
    }
    FrameView frame;
    frame.command = *reader.U8();
    const std::size_t payloadSize = message.size() - kFrameOverhead;
    frame.payload = *reader.Bytes(payloadSize);
    const std::uint8_t low = *reader.U8();
    const std::uint8_t high = *reader.U8();
    if (reader.U8() != kSysExEnd)
        return std::nullopt;
    frame.carriedChecksum = static_cast<std::uint8_t>((high << 7) | low);
    frame.frameChecksum = Checksum(message.subspan(1, message.size() - 4));
    return frame;
}

CheckResult CheckMessage(std::span<const std::uint8_t> message) {
    const auto frame = ParseFrame(message);
    if (!frame)
        return CheckResult::Malformed;
    return frame->carriedChecksum == frame->frameChecksum ? CheckResult::Ok
                                                          : CheckResult::BadChecksum;
}

std::optional<SlotBytes> ShortFormParameters(const FrameView& frame) {
    if (frame.payload.size() != 2)
        return std::nullopt;
    return SlotBytes{frame.payload[0], frame.payload[1]};
}

std::vector<std::uint8_t> MakeHeaderRecord(std::uint8_t slot, std::uint32_t size) {
    ByteWriter writer;
    writer.U8(slot);
    writer.U8(0);  // no name follows
    writer.U32LE(size);
    writer.U32LE(kHeaderRecordValue);
    return writer.Take();
}

std::optional<HeaderRecord> ParseHeaderRecord(std::span<const std::uint8_t> record) {
    ByteReader reader(record);
    const auto slot = reader.U8();
    const auto nameLength = reader.U8();
    if (!slot || !nameLength || !reader.Skip(*nameLength))
        return std::nullopt;
    const auto size = reader.U32LE();
    const auto value = reader.U32LE();
    if (!size || !value)
        return std::nullopt;
    return HeaderRecord{*slot, *size, *value};
}

std::vector<std::uint8_t> MakeNamedRecord(std::uint8_t status, std::uint8_t index,
                                          std::string_view name) {
    const std::size_t length = std::min(name.size(), std::size_t{0xFF});
    ByteWriter writer;
    writer.U8(status);
    writer.U8(index);
    writer.U8(static_cast<std::uint8_t>(length));
    writer.Append(name.substr(0, length));
    return writer.Take();
}

std::optional<NamedRecord> ParseNamedRecord(std::span<const std::uint8_t> record) {
    ByteReader reader(record);
    const auto status = reader.U8();
    if (!status)
        return std::nullopt;
    NamedRecord parsed;
    parsed.status = *status;
    parsed.index = reader.U8().value_or(0);
    const std::size_t declared = reader.U8().value_or(0);
    const auto name = reader.Bytes(std::min({declared, reader.Remaining(), kMaxNameLength}));
    parsed.name.assign(name->begin(), name->end());
    return parsed;
}

std::optional<std::uint8_t> ParseStatusRecord(std::span<const std::uint8_t> record) {
    ByteReader reader(record);
    return reader.U8();
}

std::vector<std::uint8_t> MakeConnectRequest() {
    return MakeShortMessage(kCommandConnect, 0, 0);
}

std::vector<std::uint8_t> MakeSlotListRequest() {
    return MakeShortMessage(kCommandSlotList, kSlotListRequestP1, 0);
}

std::optional<std::vector<std::uint8_t>> MakeDeleteRequest(int slot) {
    const auto bytes = EncodeSlot(slot);
    if (!bytes)
        return std::nullopt;
    return MakeShortMessage(kCommandDelete, bytes->p1, bytes->p2);
}

std::vector<std::uint8_t> MakeStatusReply(std::uint8_t command, bool ok) {
    return MakeShortMessage(command, ok ? kStatusOk : kStatusBadChecksum, 0);
}

std::optional<std::vector<std::uint8_t>> MakeComplaint(std::uint8_t command,
                                                       std::uint32_t pendingFileSize) {
    const bool asked = command == kCommandConnect || command == kCommandSlotList ||
                       (command == kCommandFile && pendingFileSize != 1);
    if (!asked)
        return std::nullopt;
    return MakeStatusReply(command, false);
}

std::vector<std::uint8_t> MakeFileHeaderMessage(std::uint8_t slot, std::uint32_t size) {
    return MakePackedMessage(kCommandFile, MakeHeaderRecord(slot, size));
}

std::vector<std::uint8_t> MakeFileDataMessage(std::span<const std::uint8_t> fileBytes) {
    auto message = MakePackedMessage(kCommandFile, fileBytes);
    StoreChecksum(message, Checksum(fileBytes));
    return message;
}

std::array<std::uint8_t, kClosingPacketSize> MakeClosingPacket(std::span<const std::uint8_t> sent) {
    constexpr std::uint8_t kPad = 0x00;
    // The pad byte is the last one the frame sum covers; the sum starts after F0h.
    const std::uint8_t frameSum =
        static_cast<std::uint8_t>(Checksum(sent.empty() ? sent : sent.subspan(1)) + kPad);
    const auto carried = static_cast<std::uint8_t>(frameSum + 1);
    return {kSysExStart, kPad, static_cast<std::uint8_t>(carried & 0x7F),
            static_cast<std::uint8_t>(carried >> 7), kSysExEnd};
}

std::vector<std::uint8_t> MakeConnectReply(std::uint8_t status, std::string_view deviceName) {
    return MakePackedMessage(kCommandConnect, MakeNamedRecord(status, 0, deviceName));
}

std::vector<std::uint8_t> MakeSlotListEntry(std::uint8_t status, std::uint8_t index,
                                            std::string_view slotName) {
    return MakePackedMessage(kCommandSlotList, MakeNamedRecord(status, index, slotName));
}

std::vector<std::uint8_t> MakeStatusRecordReply(std::uint8_t command, std::uint8_t status) {
    const std::uint8_t record[] = {status};
    return MakePackedMessage(command, record);
}

}  // namespace vantrel::sysex
