#pragma once

#include <cstdint>
#include <filesystem>
#include <span>
#include <vector>

namespace vantrel {

class ByteReader;
class UserPrompt;

struct TempoEntry {
    std::int32_t bpm = 0;
    double tick = 0;  // within its track
};

struct TimeSignatureEntry {
    std::int32_t denominator = 0;
    std::int32_t numerator = 0;
    double tick = 0;  // within its track
};

// Collects the tempo and time signature changes of a Standard MIDI File in the order they are
// met. Has its own light scanner: it reads over everything but tempo (FF 51) and time signature
// (FF 58) events, and only structural faults between chunks fail a load.
//
// A tempo entry is written only once a time signature is known: at every time signature (with
// the latest tempo) and at every tempo that follows one. Tempo and time signature carry over
// from one track to the next.
class CMidiFile {
  public:
    // prompt, when given, is told "Run out of memory!" if a track cannot be collected.
    explicit CMidiFile(UserPrompt* prompt = nullptr) : prompt_(prompt) {}

    // True when the file could be read, its header is "MThd" with length 6 and every announced
    // "MTrk" chunk lies wholly in the file. A file that cannot be opened, is empty or is larger
    // than kMaxMidiFileSize answers false and leaves the lists as they were.
    bool Load(const std::filesystem::path& path);
    // The same from bytes in memory.
    bool LoadImage(std::span<const std::uint8_t> image);

    const std::vector<TempoEntry>& Tempos() const { return tempos_; }
    const std::vector<TimeSignatureEntry>& TimeSignatures() const { return timeSignatures_; }

  private:
    void ScanTrack(ByteReader& in, std::uint32_t firstDelta);
    void OnTempo(std::span<const std::uint8_t> payload, double tick);
    void OnTimeSignature(std::span<const std::uint8_t> payload, double tick);

    UserPrompt* prompt_;
    std::vector<TempoEntry> tempos_;
    std::vector<TimeSignatureEntry> timeSignatures_;
    std::uint32_t latestTempo_ = 0;
    std::int32_t denominator_ = 0;
    std::int32_t numerator_ = 0;
};

}  // namespace vantrel
