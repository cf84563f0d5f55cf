// Arbitrary packets into the virtual keyboard: each packet is one length byte (taken modulo 50)
// followed by that many bytes; the keyboard joins, checks and answers them into an output that
// only checks each message it is given. The first byte picks the fault switches, so repeats,
// damaged replies and the slot-list order are reached too.
#include <cstddef>
#include <cstdint>
#include <cstdlib>
#include <span>
#include <vector>

#include "keyboard/VirtualKeyboard.h"

namespace {

class CheckingOutput final : public vantrel::KeyboardOutput {
  public:
    void Send(std::vector<std::uint8_t> message, std::chrono::microseconds) override {
        // Whatever came in, what the keyboard sends is a SysEx message of data bytes.
        if (message.size() < 10 || message.front() != 0xF0 || message.back() != 0xF7)
            std::abort();
        for (std::size_t i = 1; i + 1 < message.size(); ++i) {
            if (message[i] >= 0x80)
                std::abort();
        }
    }
};

}  // namespace

extern "C" int LLVMFuzzerTestOneInput(const std::uint8_t* data, std::size_t size) {
    if (size == 0)
        return 0;
    std::span<const std::uint8_t> input(data, size);
    const std::uint8_t switches = input[0];
    input = input.subspan(1);

    vantrel::KeyboardOptions options;
    options.slotCount = 4;
    options.initialSlots[1] = vantrel::SlotContent{"Preset", std::vector<std::uint8_t>(64, 1)};
    options.faults.corruptReply = switches & 0x07;
    options.faults.corruptEveryReply = (switches & 0x08) != 0;
    options.faults.slotListOutOfOrder = (switches & 0x10) != 0;
    options.faults.dropAckOfPacket = (switches >> 5) & 0x03;
    CheckingOutput output;
    vantrel::VirtualKeyboard keyboard(options, output);
    if (!keyboard.Load())
        std::abort();

    while (!input.empty()) {
        const std::size_t length = std::min<std::size_t>(input[0] % 50, input.size() - 1);
        keyboard.OnPacket(input.subspan(1, length));
        input = input.subspan(1 + length);
    }
    return 0;
}
