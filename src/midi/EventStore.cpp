#include "midi/EventStore.h"

#include <new>

#include "midi/ByteReader.h"
#include "midi/TrackWalk.h"

namespace vantrel {
namespace {

constexpr std::uint32_t kStatusBits = 8;
constexpr std::size_t kBlockShift = 4;  // a kept time every 16 events

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

// A reader at the first byte of the event that starts at start, past its delta time and its
// status byte if it has one; every event stored was read whole before, so these reads succeed.
ByteReader AtEventData(std::span<const std::uint8_t> image, std::uint32_t start) {
    ByteReader in(image);
    in.Seek(start);
    in.Vlq();
    const auto next = in.Peek();
    in.Skip(next && (*next & 0x80u) != 0 ? 1 : 0);
    return in;
}

}  // namespace

EventStore::~EventStore() {
    Clear();
}

void EventStore::Fill(std::span<const std::uint8_t> image, std::span<const TrackChunk> chunks,
                      const Totals& totals) {
    Clear();
    try {
        image_ = image;
        TakeSpare(records_, Spare().records, totals.events);
        TakeSpare(blockTimes_, Spare().blockTimes, (totals.events >> kBlockShift) + 1);
        records_.reserve(totals.events);
        blockTimes_.reserve((totals.events >> kBlockShift) + 1);
        metas_.reserve(totals.metaEvents);
        metaBytes_.reserve(totals.metaBytes);
        bounds_.reserve(chunks.size() + 1);
        bounds_.push_back(0);
        for (const TrackChunk& chunk : chunks) {
            const auto dataStart = static_cast<std::uint32_t>(chunk.DataStart());
            std::uint32_t previousTime = 0;
            WalkTrack(ChunkData(image, chunk), [&](const TrackEventView& view) {
                if ((records_.size() & ((std::size_t{1} << kBlockShift) - 1)) == 0)
                    blockTimes_.push_back(view.time);
                timeWrapped_ = timeWrapped_ || view.time < previousTime;
                previousTime = view.time;
                auto where = dataStart + static_cast<std::uint32_t>(view.offset);
                if (view.IsMeta()) {
                    const auto length = static_cast<std::uint32_t>(1 + view.body.size());
                    metas_.push_back(
                        {where, static_cast<std::uint32_t>(metaBytes_.size()), length});
                    metaBytes_.insert(metaBytes_.end(), view.lead.begin(), view.lead.end());
                    metaBytes_.insert(metaBytes_.end(), view.body.begin(), view.body.end());
                    where = static_cast<std::uint32_t>(metas_.size() - 1);
                }
                records_.push_back(where << kStatusBits | view.status);
                return true;
            });
            bounds_.push_back(records_.size());
        }
    } catch (const std::bad_alloc&) {
        Clear();
        throw;
    }
}

void EventStore::Clear() {
    GiveBack(records_, Spare().records);
    GiveBack(blockTimes_, Spare().blockTimes);
    std::vector<MetaCopy>().swap(metas_);
    std::vector<std::uint8_t>().swap(metaBytes_);
    bounds_.clear();
    image_ = {};
    timeWrapped_ = false;
}

std::uint32_t EventStore::StartOf(std::uint32_t record) const {
    const std::uint32_t where = record >> kStatusBits;
    return (record & 0xFFu) == 0xFF ? metas_[where].start : where;
}

std::uint32_t EventStore::DeltaAt(std::size_t index) const {
    ByteReader in(image_);
    in.Seek(StartOf(records_[index]));
    return in.Vlq().value_or(0);
}

std::uint32_t EventStore::TimeAt(std::size_t index, std::size_t trackBegin) const {
    const std::size_t blockStart = index >> kBlockShift << kBlockShift;
    std::size_t from = trackBegin;
    std::uint32_t time = 0;
    if (blockStart >= trackBegin) {
        from = blockStart;
        time = blockTimes_[index >> kBlockShift];
    } else {
        time = DeltaAt(trackBegin);
    }
    for (std::size_t i = from + 1; i <= index; ++i)
        time += DeltaAt(i);  // wraps as unsigned 32-bit, as the walk does
    return time;
}

MidiEvent EventStore::EventAt(std::size_t index, std::uint32_t time) const {
    const std::uint32_t record = records_[index];
    const auto status = static_cast<std::uint8_t>(record & 0xFFu);
    if (status == 0xFF) {
        const MetaCopy& meta = metas_[record >> kStatusBits];
        return {time, status,
                std::span<const std::uint8_t>(metaBytes_).subspan(meta.bytes, meta.length)};
    }
    ByteReader in = AtEventData(image_, record >> kStatusBits);
    TrackEventView view;
    view.status = status;
    if (!track_walk::ReadEventData(in, view))
        return {time, status, {}};
    return {time, status, view.body};
}

}  // namespace vantrel
