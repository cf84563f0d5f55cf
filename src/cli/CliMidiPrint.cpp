#include "cli/CliMidiPrint.h"

#include <cstdio>
#include <string>

namespace vantrel::cli {

namespace {

const char* ChannelRole(int channel) {
    static constexpr const char* kRoles[] = {"DRUM",   "PERCUSSION", "BASS",  "CHORD1",
                                             "CHORD2", "CHORD3",     "CHORD4"};
    const int slot = PatternSlotOfChannel(channel);
    return slot < 0 ? "?" : kRoles[slot];
}

}  // namespace

void PrintControlListEntry(const ControlListEntry& entry, const char* indent) {
    const PatternHeader& h = entry.header;
    const std::string name(h.name.begin(), h.name.end());
    std::printf("%sname: \"%s\"\n", indent, name.c_str());
    std::printf("%sindex: %u\n", indent, unsigned{h.index});
    std::printf("%stime signature: %u/%u (0x%02X)\n", indent, h.timeSignature & 0x0Fu,
                1u << (h.timeSignature >> 4), unsigned{h.timeSignature});
    std::printf("%skind: %u\n", indent, unsigned{h.kind});
    std::printf("%schannel mask: 0x%02X\n", indent, unsigned{h.channelMask});
    std::printf("%stempo: %u BPM\n", indent, unsigned{h.tempo});
    std::printf("%smeasures: %u\n", indent, unsigned{h.measures});
    for (std::size_t k = 0; k < kPatternChannelCount; ++k) {
        const ChannelBlock& b = h.blocks[k];
        const int channel = PatternChannelOfSlot(k);
        std::printf(
            "%schannel %d %-10s program 0x%02X volume %3u pan %2u reverb %3u channel-1 %2u "
            "class %u bank %u/%u port %u\n",
            indent, channel, ChannelRole(channel), unsigned{b.program}, unsigned{b.volume},
            unsigned{b.pan}, unsigned{b.reverb}, unsigned{b.channelIndex}, unsigned{b.partClass},
            unsigned{b.bankMsb}, unsigned{b.bankLsb}, unsigned{h.ports[k]});
    }
    std::printf("%spattern data size: %u\n", indent, unsigned{entry.dataSize});
}

void PrintPatternData(const DecodedPattern& pattern, const char* indent) {
    std::printf("%spattern data: %zu bytes, channel mask 0x%02X\n", indent, pattern.size,
                unsigned{pattern.ChannelMask()});
    for (const PatternChannel& channel : pattern.channels) {
        std::printf("%s  channel %d %s at offset %u, %zu events\n", indent, channel.channel,
                    ChannelRole(channel.channel), unsigned{channel.offset}, channel.events.size());
        for (const PatternEvent& e : channel.events) {
            std::printf("%s    @%-5zu tick %6u delta %5u %c%02X", indent, e.offset, e.time, e.delta,
                        e.statusWritten ? ' ' : '~', unsigned{e.status});
            if (e.status == 0xFF) {
                std::printf(" end\n");
                continue;
            }
            std::printf(" %02X %02X", unsigned{e.data1}, unsigned{e.data2});
            if (e.IsSoundingNoteOn())
                std::printf(" length %u", e.noteLength);
            std::printf("\n");
        }
    }
}

bool PrintPatternBytes(std::span<const std::uint8_t> data, const char* indent) {
    const auto decoded = DecodePatternData(data);
    if (!decoded.pattern) {
        std::printf("%spattern data not well formed: %s\n", indent, decoded.error.c_str());
        return false;
    }
    PrintPatternData(*decoded.pattern, indent);
    return true;
}

}  // namespace vantrel::cli
