#include "pattern/ControlListEntry.h"

#include "midi/ByteReader.h"
#include "midi/ByteWriter.h"

namespace vantrel {

ControlListBytes EncodeControlListEntry(const PatternHeader& header, std::uint16_t dataSize) {
    ByteWriter out;
    out.Append(header.name);
    out.U8(header.index);
    out.U8(header.timeSignature);
    out.U8(header.kind);
    out.U8(header.channelMask);
    out.U16LE(header.tempo);
    out.U16LE(header.measures);
    out.Append(header.ports);
    out.U8(0);
    for (const ChannelBlock& block : header.blocks) {
        out.U8(block.program);
        out.U8(block.volume);
        out.U8(block.pan);
        out.U8(block.reverb);
        out.U8(block.channelIndex);
        out.U8(block.partClass);
        out.U8(block.bankMsb);
        out.U8(block.bankLsb);
    }
    out.U16LE(dataSize);
    ControlListBytes bytes{};
    std::copy(out.Bytes().begin(), out.Bytes().end(), bytes.begin());
    return bytes;
}

namespace {

template <std::size_t N>
bool ReadArray(ByteReader& in, std::array<std::uint8_t, N>& target) {
    const auto view = in.Bytes(N);
    if (!view)
        return false;
    std::copy(view->begin(), view->end(), target.begin());
    return true;
}

}  // namespace

std::optional<ControlListEntry> DecodeControlListEntry(std::span<const std::uint8_t> bytes) {
    if (bytes.size() < kControlListEntrySize)
        return std::nullopt;
    ByteReader in(bytes.first(kControlListEntrySize));
    ControlListEntry entry;
    PatternHeader& h = entry.header;
    // The length was checked above, so every read below succeeds.
    ReadArray(in, h.name);
    h.index = *in.U8();
    h.timeSignature = *in.U8();
    h.kind = *in.U8();
    h.channelMask = *in.U8();
    h.tempo = *in.U16LE();
    h.measures = *in.U16LE();
    ReadArray(in, h.ports);
    entry.reserved = *in.U8();
    for (ChannelBlock& block : h.blocks) {
        std::array<std::uint8_t, 8> raw{};
        ReadArray(in, raw);
        block = ChannelBlock{raw[0], raw[1], raw[2], raw[3], raw[4], raw[5], raw[6], raw[7]};
    }
    entry.dataSize = *in.U16LE();
    return entry;
}

}  // namespace vantrel
