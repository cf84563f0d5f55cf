#include "midi/CMidiFile.h"

#include <new>

#include "common/UserPrompt.h"
#include "midi/ByteReader.h"
#include "midi/CMidiReader.h"
#include "midi/FileImage.h"
#include "midi/SmfHeader.h"

namespace vantrel {
namespace {

// Beats per minute as the keyboard's software has always rounded them: the quotient in single
// precision, plus one half, rounded to single precision again, then truncated.
std::int32_t BeatsPerMinute(std::uint32_t microsecondsPerQuarter) {
    const float quotient = 60000000.0f / static_cast<float>(microsecondsPerQuarter);
    return static_cast<std::int32_t>(static_cast<float>(static_cast<double>(quotient) + 0.5));
}

bool HasOneDataByte(std::uint8_t status) {
    return (status & 0xE0u) == 0xC0u;
}

// A denominator of 2^31 or more does not fit the entry.
constexpr std::uint8_t kMaxDenominatorPower = 30;

}  // namespace

bool CMidiFile::Load(const std::filesystem::path& path) {
    const FileImage file = ReadFileImage(path, kMaxMidiFileSize);
    return file.status == FileImageStatus::Ok && LoadImage(file.bytes);
}

bool CMidiFile::LoadImage(std::span<const std::uint8_t> image) {
    if (image.empty() || image.size() > kMaxMidiFileSize)
        return false;
    tempos_.clear();
    timeSignatures_.clear();
    latestTempo_ = 0;
    denominator_ = 0;
    numerator_ = 0;

    ByteReader in(image);
    if (!ReadChunkTag(in, "MThd") || in.U32BE() != std::optional<std::uint32_t>(6))
        return false;
    // Format and division are not judged here.
    const bool formatRead = in.Skip(2);
    const auto trackCount = in.U16BE();
    if (!formatRead || !trackCount || !in.Skip(2))
        return false;

    for (std::uint32_t i = 0; i < *trackCount; ++i) {
        if (!ReadChunkTag(in, "MTrk"))
            return false;
        const auto length = in.U32BE();
        // A chunk that runs past the end of the file is not all there: the load fails.
        auto chunk = length ? in.Sub(*length) : std::nullopt;
        if (!chunk)
            return false;
        if (*length == 0)
            continue;
        const auto firstDelta = chunk->Vlq();
        if (!firstDelta)
            return false;
        try {
            ScanTrack(*chunk, *firstDelta);
        } catch (const std::bad_alloc&) {
            if (prompt_ != nullptr)
                prompt_->Message("Run out of memory!");
            tempos_.clear();
            timeSignatures_.clear();
        }
    }
    return true;
}

// Faults inside a track only end its scan: a data byte with no running status, an unknown
// system status, or data used up in the middle of an event.
void CMidiFile::ScanTrack(ByteReader& in, std::uint32_t firstDelta) {
    double tick = firstDelta;
    std::uint8_t runningStatus = 0;
    while (true) {
        const auto byte = in.U8();
        if (!byte)
            return;
        if (*byte < 0x80) {
            if (runningStatus == 0)
                return;
            if (!HasOneDataByte(runningStatus) && !in.Skip(1))
                return;
        } else if (*byte < 0xF0) {
            runningStatus = *byte;
            if (!in.Skip(HasOneDataByte(*byte) ? 1 : 2))
                return;
        } else if (*byte == 0xF0 || *byte == 0xF7) {
            const auto count = in.Vlq();
            if (!count || !in.Skip(*count))
                return;
        } else if (*byte == 0xFF) {
            const auto type = in.U8();
            if (!type || *type == 0x2F)
                return;
            const auto count = in.Vlq();
            const auto payload = count ? in.Bytes(*count) : std::nullopt;
            if (!payload)
                return;
            if (*type == 0x51)
                OnTempo(*payload, tick);
            if (*type == 0x58)
                OnTimeSignature(*payload, tick);
        } else {
            return;
        }
        const auto delta = in.Vlq();
        if (!delta)
            return;
        tick += *delta;
    }
}

// A payload shorter than three bytes, or a tempo of zero (no beats per minute), is ignored.
void CMidiFile::OnTempo(std::span<const std::uint8_t> payload, double tick) {
    if (payload.size() < 3)
        return;
    const std::uint32_t tempo =
        (std::uint32_t{payload[0]} << 16) | (std::uint32_t{payload[1]} << 8) | payload[2];
    if (tempo == 0)
        return;
    latestTempo_ = tempo;
    if (denominator_ != 0)
        tempos_.push_back({BeatsPerMinute(tempo), tick});
}

// A payload shorter than two bytes, or a denominator too large to hold, is ignored.
void CMidiFile::OnTimeSignature(std::span<const std::uint8_t> payload, double tick) {
    if (payload.size() < 2 || payload[1] > kMaxDenominatorPower)
        return;
    denominator_ = std::int32_t{1} << payload[1];
    numerator_ = static_cast<std::int8_t>(payload[0]);
    timeSignatures_.push_back({denominator_, numerator_, tick});
    if (latestTempo_ != 0)
        tempos_.push_back({BeatsPerMinute(latestTempo_), tick});
}

}  // namespace vantrel
