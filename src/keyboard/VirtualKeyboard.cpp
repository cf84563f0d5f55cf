#include "keyboard/VirtualKeyboard.h"

#include <algorithm>
#include <utility>

#include "device/SysExProtocol.h"
#include "pattern/StyleImage.h"

namespace vantrel {

namespace {

constexpr std::size_t kMinSlots = 1;

std::vector<std::uint8_t> FrameStart() {
    std::vector<std::uint8_t> start{sysex::kSysExStart};
    const sysex::ManufacturerIdBytes id = sysex::ManufacturerId();
    start.insert(start.end(), id.begin(), id.end());
    start.insert(start.end(), sysex::kSignature.begin(), sysex::kSignature.end());
    return start;
}

std::minstd_rand::result_type JitterSeed(std::uint32_t seed) {
    return seed != 0 ? seed : std::random_device{}();
}

std::uint64_t CapacityOf(const KeyboardOptions& options, std::size_t slotCount) {
    return options.capacity.value_or(std::uint64_t{slotCount} * kStyleBufferSize);
}

// The longest message worth joining: file data of an image that fills the whole capacity.
std::size_t MaxMessage(std::uint64_t capacity) {
    constexpr std::uint64_t kLimit = std::uint64_t{1} << 31;
    return static_cast<std::size_t>(std::min(capacity, kLimit) * 2 + sysex::kFrameOverhead);
}

}  // namespace

VirtualKeyboard::VirtualKeyboard(KeyboardOptions options, KeyboardOutput& output)
    : options_(std::move(options)),
      output_(output),
      capacity_(CapacityOf(
          options_, std::clamp<std::size_t>(options_.slotCount, kMinSlots, sysex::kSlotCount))),
      store_(std::clamp<std::size_t>(options_.slotCount, kMinSlots, sysex::kSlotCount),
             options_.storeFolder),
      joiner_(FrameStart(), MaxMessage(capacity_), options_.joinRule),
      faults_(options_.faults),
      timing_(options_.timing),
      line_(options_.timing.din),
      jitter_(JitterSeed(options_.timing.jitterSeed)) {}

bool VirtualKeyboard::Load() {
    std::lock_guard lock(mutex_);
    if (!store_.Load(capacity_))
        return false;
    for (auto& [slot, content] : options_.initialSlots) {
        if (slot >= store_.Count() || !store_.Put(slot, content))
            return false;
    }
    return true;
}

void VirtualKeyboard::SetFaults(const KeyboardFaults& faults) {
    std::lock_guard lock(mutex_);
    faults_ = faults;
    packetNumber_ = 0;
    replyNumber_ = 0;
    ackNumber_ = 0;
}

void VirtualKeyboard::SetTiming(const KeyboardTiming& timing) {
    std::lock_guard lock(mutex_);
    timing_ = timing;
    line_ = KeyboardLine(timing.din);
    jitter_.seed(JitterSeed(timing.jitterSeed));
    linePacket_ = 0;
    stalledUntil_.reset();
    unplugged_ = false;
}

std::optional<SlotContent> VirtualKeyboard::Slot(std::size_t slot) const {
    std::lock_guard lock(mutex_);
    if (slot >= store_.Count())
        return std::nullopt;
    return store_.Slot(slot);
}

std::size_t VirtualKeyboard::SlotCount() const {
    std::lock_guard lock(mutex_);
    return store_.Count();
}

KeyboardCounters VirtualKeyboard::Counters() const {
    std::lock_guard lock(mutex_);
    return counters_;
}

void VirtualKeyboard::OnPacket(std::span<const std::uint8_t> packet) {
    std::lock_guard lock(mutex_);
    ++counters_.packets;
    ++packetNumber_;
    taken_ = options_.clock ? options_.clock() : KeyboardLine::Clock::now();
    in_ = line_.Received(taken_, packet.size());
    if (!Takes(in_))
        return;
    OnTakenPacket(packet);
    AfterPacket(in_);
}

bool VirtualKeyboard::Takes(KeyboardLine::Clock::time_point in) {
    ++linePacket_;
    if (unplugged_)
        return false;
    if (stalledUntil_ && in < *stalledUntil_)
        return false;
    stalledUntil_.reset();
    return true;
}

void VirtualKeyboard::AfterPacket(KeyboardLine::Clock::time_point in) {
    if (linePacket_ == timing_.stallAfterPacket && timing_.stallFor.count() > 0) {
        stalledUntil_ = in + timing_.stallFor;
        Log("stalled for " + std::to_string(timing_.stallFor.count()) + " ms after packet " +
            std::to_string(linePacket_));
    }
    if (linePacket_ == timing_.unplugAfterPacket) {
        unplugged_ = true;
        Log("unplugged after packet " + std::to_string(linePacket_));
    }
}

void VirtualKeyboard::OnTakenPacket(std::span<const std::uint8_t> packet) {
    if (faults_.silent)
        return;
    if (faults_.echo) {
        Emit(std::vector<std::uint8_t>(packet.begin(), packet.end()), {}, false);
        return;
    }
    const PacketJoiner::Result result = joiner_.Add(packet);
    if (result == PacketJoiner::Result::Dropped)
        return;
    const bool acknowledge = packetNumber_ != faults_.dropAckOfPacket;
    if (result == PacketJoiner::Result::Piece) {
        if (acknowledge)
            Acknowledge();
        return;
    }
    // The computer's status replies go out without waiting for an acknowledge, so none is sent.
    const std::vector<std::uint8_t> message = joiner_.Message();
    if (IsStatusReply(message)) {
        const auto frame = sysex::ParseFrame(message);
        OnStatusReply(frame->command, sysex::ShortFormParameters(*frame)->p1);
        return;
    }
    if (acknowledge)
        Acknowledge();
    OnMessage(message);
}

// Status replies share the short form with requests. A slot-list request carries P1 = 1 and a
// connect request P1 = 0, so 12h with P1 = 0 or 2 and 00h with P1 = 2 can only be status
// replies. A file data message of one byte and a delete of slot 2 look exactly like a status
// reply of 2 for their commands; they are taken as one only right after this keyboard sent
// that command's reply damaged, the one case in which the computer complains.
bool VirtualKeyboard::IsStatusReply(std::span<const std::uint8_t> message) const {
    if (sysex::CheckMessage(message) != sysex::CheckResult::Ok)
        return false;
    const auto frame = sysex::ParseFrame(message);
    const auto parameters = sysex::ShortFormParameters(*frame);
    if (!parameters || parameters->p2 != 0)
        return false;
    if (frame->command == sysex::kCommandSlotList) {
        return parameters->p1 == sysex::kStatusOk || parameters->p1 == sysex::kStatusBadChecksum;
    }
    if (parameters->p1 != sysex::kStatusBadChecksum)
        return false;
    return frame->command == sysex::kCommandConnect || damagedCommand_ == frame->command;
}

void VirtualKeyboard::OnStatusReply(std::uint8_t command, std::uint8_t p1) {
    ++counters_.statusReplies;
    if (p1 == sysex::kStatusBadChecksum) {
        // A reply damaged on every attempt would otherwise bounce between the two sides for as
        // long as both run.
        const auto last = lastReplies_.find(command);
        if (last == lastReplies_.end() || repeatsInARow_ >= kMaxRepeats)
            return;
        ++counters_.repeats;
        ++repeatsInARow_;
        Send(command, last->second);
        return;
    }
    if (slotList_) {
        ++slotList_->next;
        SendSlotListEntry();
    }
}

void VirtualKeyboard::OnMessage(std::span<const std::uint8_t> message) {
    damagedCommand_.reset();
    const auto frame = sysex::ParseFrame(message);
    if (!frame)
        return;
    if (download_ && frame->command == sysex::kCommandFile &&
        frame->payload.size() == std::size_t{download_->size} * 2) {
        OnFileData(frame->payload, frame->carriedChecksum);
        return;
    }
    // Anything else ends what was running: the computer has given up on it.
    download_.reset();
    slotList_.reset();
    if (frame->carriedChecksum != frame->frameChecksum) {
        ++counters_.checksumErrors;
        Log("message " + std::to_string(frame->command) + " refused: wrong checksum");
        Reply(frame->command,
              sysex::MakeStatusRecordReply(frame->command, sysex::kStatusBadChecksum));
        return;
    }
    switch (frame->command) {
        case sysex::kCommandConnect:
            OnConnect(*frame);
            break;
        case sysex::kCommandSlotList:
            OnSlotListRequest(*frame);
            break;
        case sysex::kCommandFile:
            OnFileHeader(frame->payload);
            break;
        case sysex::kCommandDelete:
            OnDelete(*frame);
            break;
        default:
            Reply(frame->command, sysex::MakeStatusRecordReply(frame->command, kStatusBadRequest));
            break;
    }
}

void VirtualKeyboard::OnConnect(const sysex::FrameView& frame) {
    const auto parameters = sysex::ShortFormParameters(frame);
    if (!parameters || parameters->p1 != 0) {
        Reply(sysex::kCommandConnect, sysex::MakeConnectReply(kStatusBadRequest, ""));
        return;
    }
    Log("connect");
    Reply(sysex::kCommandConnect, sysex::MakeConnectReply(sysex::kStatusOk, options_.name));
}

void VirtualKeyboard::OnSlotListRequest(const sysex::FrameView& frame) {
    const auto parameters = sysex::ShortFormParameters(frame);
    if (!parameters || parameters->p1 != sysex::kSlotListRequestP1) {
        Reply(sysex::kCommandSlotList, sysex::MakeSlotListEntry(kStatusBadRequest, 0, ""));
        return;
    }
    SlotListRun run;
    for (std::size_t slot = 0; slot < store_.Count(); ++slot)
        run.order.push_back(slot);
    if (faults_.slotListOutOfOrder && run.order.size() > 1)
        std::swap(run.order[0], run.order[1]);
    slotList_ = std::move(run);
    SendSlotListEntry();
}

void VirtualKeyboard::SendSlotListEntry() {
    if (slotList_->next >= slotList_->order.size()) {
        slotList_.reset();
        Reply(sysex::kCommandSlotList, sysex::MakeSlotListEntry(sysex::kStatusEndOfList, 0, ""));
        return;
    }
    const std::size_t slot = slotList_->order[slotList_->next];
    const auto& content = store_.Slot(slot);
    Reply(sysex::kCommandSlotList,
          sysex::MakeSlotListEntry(sysex::kStatusOk, static_cast<std::uint8_t>(slot),
                                   content ? std::string_view(content->name) : ""));
}

void VirtualKeyboard::OnFileHeader(std::span<const std::uint8_t> payload) {
    const auto header = sysex::ParseHeaderRecord(sysex::Unpack(payload));
    if (!header || header->value != sysex::kHeaderRecordValue || header->size == 0) {
        RefuseFile(kStatusBadRequest, "header record is malformed");
        return;
    }
    if (header->slot >= store_.Count()) {
        RefuseFile(kStatusNoSuchSlot, "slot " + std::to_string(header->slot) + " does not exist");
        return;
    }
    const std::uint64_t used = store_.BytesUsedExcept(header->slot);
    if (used > capacity_ || header->size > capacity_ - used) {
        RefuseFile(sysex::kStatusCapacity,
                   std::to_string(header->size) + " bytes do not fit the free capacity");
        return;
    }
    download_ = Download{header->slot, header->size, counters_.acknowledges - 1};
    Reply(sysex::kCommandFile, sysex::MakeStatusRecordReply(sysex::kCommandFile, 0));
}

void VirtualKeyboard::OnFileData(std::span<const std::uint8_t> payload,
                                 std::uint8_t carriedChecksum) {
    const Download download = *download_;
    download_.reset();
    std::vector<std::uint8_t> image = sysex::Unpack(payload);
    if (sysex::Checksum(image) != carriedChecksum) {
        ++counters_.checksumErrors;
        RefuseFile(sysex::kStatusBadChecksum, "file data sum is wrong");
        return;
    }
    if (const StyleImageVerdict verdict = ValidateStyleImage(image); !verdict) {
        RefuseFile(kStatusBadImage, "not a well-formed style image: " + verdict.reason);
        return;
    }
    const std::size_t size = image.size();
    if (!store_.Put(download.slot,
                    SlotContent{SlotStore::DefaultName(download.slot), std::move(image)})) {
        RefuseFile(kStatusStoreFailed,
                   "slot " + std::to_string(download.slot) + " could not be written");
        return;
    }
    Log("stored " + std::to_string(size) + " bytes in slot " + std::to_string(download.slot) +
        " after " + std::to_string(counters_.acknowledges - download.acknowledgesBefore) +
        " acknowledged packets");
    Reply(sysex::kCommandFile, sysex::MakeStatusRecordReply(sysex::kCommandFile, 0));
}

void VirtualKeyboard::OnDelete(const sysex::FrameView& frame) {
    const auto parameters = sysex::ShortFormParameters(frame);
    std::uint8_t status = kStatusBadRequest;
    if (parameters && parameters->p2 <= 1 && parameters->p1 <= 0x7F) {
        const auto slot = static_cast<std::size_t>(sysex::DecodeSlot(*parameters));
        if (slot >= store_.Count()) {
            status = kStatusNoSuchSlot;
        } else {
            status = store_.Erase(slot) ? sysex::kStatusOk : kStatusStoreFailed;
            Log((status == sysex::kStatusOk ? "deleted slot " : "could not delete slot ") +
                std::to_string(slot));
        }
    }
    Reply(sysex::kCommandDelete, sysex::MakeStatusRecordReply(sysex::kCommandDelete, status));
}

void VirtualKeyboard::RefuseFile(std::uint8_t status, const std::string& why) {
    Log("download refused (" + std::to_string(status) + "): " + why);
    Reply(sysex::kCommandFile, sysex::MakeStatusRecordReply(sysex::kCommandFile, status));
}

void VirtualKeyboard::Acknowledge() {
    ++counters_.acknowledges;
    ++ackNumber_;
    const auto ack = sysex::AcknowledgeMessage();
    KeyboardLine::Clock::duration delay = AckDelay();
    if (faults_.lateAckEvery != 0 && ackNumber_ % faults_.lateAckEvery == 0)
        delay += faults_.lateAckBy;
    Emit(std::vector<std::uint8_t>(ack.begin(), ack.end()), delay, false);
}

KeyboardLine::Clock::duration VirtualKeyboard::AckDelay() {
    if (timing_.ackJitter.count() <= 0)
        return timing_.ackDelay;
    const auto spread = timing_.ackJitter.count();
    std::uniform_int_distribution<long long> pick(-spread, spread);
    return std::max(std::chrono::milliseconds{0},
                    timing_.ackDelay + std::chrono::milliseconds{pick(jitter_)});
}

void VirtualKeyboard::Emit(std::vector<std::uint8_t> message, KeyboardLine::Clock::duration ready,
                           bool ownPath) {
    // A reply held back by the reply-delay fault travels on its own and holds nothing up; every
    // other message takes its turn on the line.
    const auto due = ownPath ? in_ + ready + line_.Carry(message.size())
                             : line_.Sent(in_ + ready, message.size());
    output_.Send(std::move(message), std::chrono::ceil<std::chrono::microseconds>(due - taken_));
}

void VirtualKeyboard::Reply(std::uint8_t command, std::vector<std::uint8_t> message) {
    lastReplies_[command] = message;
    repeatsInARow_ = 0;
    Send(command, std::move(message));
}

void VirtualKeyboard::Send(std::uint8_t command, std::vector<std::uint8_t> message) {
    ++counters_.replies;
    ++replyNumber_;
    if (faults_.corruptEveryReply || replyNumber_ == faults_.corruptReply) {
        // Flipping the lowest checksum bit keeps every byte a valid data byte.
        message[message.size() - 3] ^= 0x01;
        damagedCommand_ = command;
    }
    const bool heldBack = faults_.replyDelay.count() > 0;
    Emit(std::move(message), heldBack ? faults_.replyDelay : timing_.busyReply, heldBack);
}

void VirtualKeyboard::Log(const std::string& text) const {
    if (options_.log)
        options_.log(text);
}

}  // namespace vantrel
