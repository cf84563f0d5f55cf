#include "midi/EventStore.h"

#include <new>

#include "midi/ByteReader.h"
#include "midi/TrackWalk.h"

namespace vantrel {
namespace {

// The lists of the last store cleared on this thread, kept for the next one: songs are read one
// after the other, and memory taken fresh from the system for each file comes back as page
// faults that cost more than the parse. Bounded, so that one huge file does not stay for good.
constexpr std::size_t kSpareRecordsMax = std::size_t{1} << 18;

struct SpareLists {
    std::vector<std::uint32_t> records;
    std::vector<std::uint32_t> blockTimes;
};

SpareLists& Spare() {
    thread_local SpareLists spare;
    return spare;
}

// Gives list the spare's memory when that holds needed elements and list's does not.
void TakeSpare(std::vector<std::uint32_t>& list, std::vector<std::uint32_t>& spare,
               std::size_t needed) {
    if (list.capacity() < needed && spare.capacity() >= needed)
        list.swap(spare);
    spare.clear();
}

// Empties list; its memory becomes the spare when larger than the spare's and bounded.
void GiveBack(std::vector<std::uint32_t>& list, std::vector<std::uint32_t>& spare) {
    list.clear();
    if (list.capacity() > spare.capacity() && list.capacity() <= kSpareRecordsMax)
        list.swap(spare);
    std::vector<std::uint32_t>().swap(list);
}

}  // namespace

EventStore::~EventStore() {
    Clear();
}

void EventStore::Start(std::span<const std::uint8_t> image, std::size_t trackCount,
                       const Totals& room) {
    Clear();
    image_ = image;
    TakeSpare(records_, Spare().records, room.events);
    TakeSpare(blockTimes_, Spare().blockTimes, BlocksFor(room.events));
    records_.reserve(room.events);
    blockTimes_.reserve(BlocksFor(room.events));
    metas_.reserve(room.metaEvents);
    metaBytes_.reserve(room.metaBytes);
    bounds_.reserve(trackCount + 1);
    bounds_.push_back(0);
}

void EventStore::Finish(std::size_t trackCount) {
    while (bounds_.size() < trackCount + 1)
        bounds_.push_back(records_.size());
}

void EventStore::Release() {
    Clear();
    std::vector<std::uint32_t>().swap(Spare().records);
    std::vector<std::uint32_t>().swap(Spare().blockTimes);
}

void EventStore::Clear() {
    GiveBack(records_, Spare().records);
    GiveBack(blockTimes_, Spare().blockTimes);
    std::vector<MetaCopy>().swap(metas_);
    std::vector<std::uint8_t>().swap(metaBytes_);
    bounds_.clear();
    image_ = {};
    timeWrapped_ = false;
    previousTime_ = 0;
}

std::uint32_t EventStore::TimeAt(std::size_t index, std::size_t trackBegin) const {
    const std::size_t blockStart = index / kBlockSize * kBlockSize;
    std::size_t from = trackBegin;
    std::uint32_t time = 0;
    if (blockStart >= trackBegin) {
        from = blockStart;
        time = blockTimes_[index / kBlockSize];
    } else {
        time = DeltaAt(trackBegin);
    }
    for (std::size_t i = from + 1; i <= index; ++i)
        time += DeltaAt(i);  // wraps as unsigned 32-bit, as the walk does
    return time;
}

MidiEvent EventStore::SystemEventAfter(std::uint32_t record, std::uint32_t timeBefore) const {
    const auto status = static_cast<std::uint8_t>(record & 0xFFu);
    ByteReader in(image_);
    in.Seek(StartOf(record));
    const std::uint32_t time = timeBefore + in.Vlq().value_or(0);
    in.Skip((in.Peek().value_or(0) & 0x80u) != 0 ? 1 : 0);
    TrackEventView view;
    view.status = status;
    if (!track_walk::ReadEventData(in, view))
        return {time, status, {}};
    if (status != 0xFF)
        return {time, status, view.body};
    // A meta event's data is its copied type byte and payload, side by side.
    const MetaCopy& meta = metas_[record >> kStatusBits];
    return {time, status,
            std::span<const std::uint8_t>(metaBytes_).subspan(meta.bytes, 1 + view.body.size())};
}

}  // namespace vantrel
