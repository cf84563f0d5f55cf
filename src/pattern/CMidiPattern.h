#pragma once

#include <array>
#include <cstdint>
#include <filesystem>
#include <fstream>
#include <string>
#include <vector>

#include "midi/CMidiReader.h"
#include "pattern/PatternHeader.h"
#include "pattern/PatternImage.h"

namespace vantrel {

class UserPrompt;

// The input's file name up to and including its last '.' (the name and a '.' when it has none);
// the products are named this followed by "dat" and by "sty".
std::string ProductBaseName(const std::filesystem::path& input);

// Checks that a Standard MIDI File is a valid accompaniment pattern for the keyboard and
// converts it into the keyboard's control list ("BASE.dat") and pattern data ("BASE.sty"),
// where BASE is the first input's file name up to and including its last '.'.
//
// One object serves one conversion: construct, AddInputFile, Convert, read Errors. An empty
// error list is success; callers judge by it, not by Convert's answer. Messages for the user go
// through the prompt. An input that cannot be opened throws FileOpenError out of Convert.
class CMidiPattern : public CMidiReader {
  public:
    // The products are written into outputFolder; an empty folder writes them beside the input.
    explicit CMidiPattern(UserPrompt& prompt, std::filesystem::path outputFolder = {});

    void AddInputFile(std::filesystem::path path);
    // True when every input passed every check that ends a file's conversion.
    bool Convert();
    const std::vector<std::string>& Errors() const { return errors_; }

    // Where the products go; known once Convert has run.
    std::filesystem::path ControlListPath() const;
    std::filesystem::path PatternDataPath() const;
    // What was written: every control list entry, and the last input's pattern data.
    const std::vector<std::uint8_t>& ControlListWritten() const { return controlListBytes_; }
    const std::vector<std::uint8_t>& PatternDataWritten() const { return patternDataBytes_; }
    // Settings of the last converted input.
    const PatternHeader& Header() const { return header_; }

  private:
    bool ConvertFile(std::size_t index, std::ofstream& controlList);
    void ReadConductorTrack();
    void ComputeMeasures();
    bool ConvertTrack(std::uint32_t track);
    bool TakeTrackChannel(std::uint32_t track, int& channel);
    void RecordEvent(std::uint32_t track, std::size_t slot, const MidiEvent& event,
                     std::uint32_t& previousTime);
    void TakeSetting(std::size_t slot, const MidiEvent& event);
    void AppendRecord(std::uint32_t track, std::size_t slot, const MidiEvent& event,
                      std::uint8_t data1, std::uint8_t data2, std::uint32_t& previousTime);
    void ComputeNoteLengths(std::uint32_t track, std::size_t slot);
    bool WriteProducts(std::size_t index, std::ofstream& controlList);
    std::string InputText() const;

    enum Setting { kProgram, kVolume, kPan, kReverb, kPort, kBankMsb, kBankLsb, kSettingCount };

    UserPrompt& prompt_;
    std::filesystem::path outputFolder_;
    std::vector<std::string> patternNames_{std::string()};
    std::vector<std::filesystem::path> inputFiles_;
    std::vector<std::string> errors_;
    PatternHeader header_ = PatternHeader::Initial();
    std::string outputBase_;
    ChannelRecords records_;
    bool timeSignatureFound_ = false;
    bool kindFound_ = false;
    bool tempoFound_ = false;
    // A delta or note length too long for the written forms, or a channel message with a data
    // byte the keyboard would take for a status byte: the file's products are not written, since
    // they would play wrongly.
    bool productsRefused_ = false;
    std::array<bool, kSettingCount> firstSeen_{};
    std::vector<std::uint8_t> controlListBytes_;
    std::vector<std::uint8_t> patternDataBytes_;
};

}  // namespace vantrel
