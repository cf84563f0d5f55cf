#include "CableFarEnd.h"

#include <windows.h>

#include "device/LinkState.h"

namespace vantrel::test {

namespace {

template <typename Call>
Call Find(HMODULE module, const char* name) {
    // GetProcAddress answers a generic function pointer; the cable declares the real types.
    return reinterpret_cast<Call>(reinterpret_cast<void*>(::GetProcAddress(module, name)));
}

}  // namespace

const CableCalls& Cable() {
    static const CableCalls calls = [] {
        CableCalls found;
        const HMODULE module = ::GetModuleHandleW(L"winmm.dll");
        if (module == nullptr)
            return found;
        found.plug = Find<VantrelCablePlugCall>(module, "VantrelCablePlug");
        found.deliver = Find<VantrelCableDeliverCall>(module, "VantrelCableDeliver");
        found.setChunk = Find<VantrelCableSetChunkCall>(module, "VantrelCableSetChunk");
        found.setBusy = Find<VantrelCableSetBusyCall>(module, "VantrelCableSetBusy");
        found.calls = Find<VantrelCableCallsCall>(module, "VantrelCableCalls");
        return found;
    }();
    return calls;
}

std::string CableCalls::TakeCalls() const {
    std::string text(1 << 16, '\0');
    const unsigned length = calls(text.data(), static_cast<unsigned>(text.size()));
    text.resize(std::min<std::size_t>(length, text.size() - 1));
    return text;
}

KeyboardOnCable::KeyboardOnCable(KeyboardOptions options)
    : sender_([](std::span<const std::uint8_t> message) {
          Cable().deliver(message.data(), static_cast<unsigned>(message.size()));
      }),
      outbox_(sender_),
      keyboard_(std::move(options), outbox_) {
    (void)keyboard_.Load();
    Cable().plug(&KeyboardOnCable::FromComputer, this);
}

KeyboardOnCable::~KeyboardOnCable() {
    Cable().plug(nullptr, nullptr);
    sender_.Stop();
}

std::vector<std::vector<std::uint8_t>> KeyboardOnCable::Packets() const {
    const std::lock_guard lock(mutex_);
    return packets_;
}

void KeyboardOnCable::FromComputer(const unsigned char* bytes, unsigned length, void* user) {
    auto* self = static_cast<KeyboardOnCable*>(user);
    std::size_t count = 0;
    {
        const std::lock_guard lock(self->mutex_);
        self->packets_.emplace_back(bytes, bytes + length);
        count = self->packets_.size();
    }
    self->keyboard_.OnPacket(std::span<const std::uint8_t>(bytes, length));
    if (count == self->cancelAfter_.load())
        CancelLink();
}

}  // namespace vantrel::test
