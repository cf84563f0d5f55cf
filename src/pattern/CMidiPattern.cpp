#include "pattern/CMidiPattern.h"

#include <algorithm>
#include <cmath>
#include <cstring>

#include "common/UserPrompt.h"
#include "common/Utf8Path.h"
#include "pattern/ControlListEntry.h"
#include "pattern/PatternTexts.h"

namespace vantrel {

namespace fs = std::filesystem;

namespace {

inline constexpr std::uint16_t kPatternDivision = 192;

bool LessIgnoringCase(const fs::path& a, const fs::path& b) {
    const std::string x = a.string();
    const std::string y = b.string();
    return std::lexicographical_compare(x.begin(), x.end(), y.begin(), y.end(), [](char l, char r) {
        return std::tolower(static_cast<unsigned char>(l)) <
               std::tolower(static_cast<unsigned char>(r));
    });
}

bool WriteBytes(std::ostream& out, std::span<const std::uint8_t> bytes) {
    out.write(reinterpret_cast<const char*>(bytes.data()),
              static_cast<std::streamsize>(bytes.size()));
    out.flush();
    return static_cast<bool>(out);
}

}  // namespace

std::string ProductBaseName(const fs::path& input) {
    const std::string name = input.filename().string();
    const auto dot = name.rfind('.');
    return dot == std::string::npos ? name + "." : name.substr(0, dot + 1);
}

CMidiPattern::CMidiPattern(UserPrompt& prompt, fs::path outputFolder)
    : prompt_(prompt), outputFolder_(std::move(outputFolder)) {}

void CMidiPattern::AddInputFile(fs::path path) {
    inputFiles_.push_back(std::move(path));
}

fs::path CMidiPattern::ControlListPath() const {
    return PathFromUtf8(outputBase_ + "dat");
}
fs::path CMidiPattern::PatternDataPath() const {
    return PathFromUtf8(outputBase_ + "sty");
}

std::string CMidiPattern::InputText() const {
    return Path().string();
}

bool CMidiPattern::Convert() {
    if (inputFiles_.empty())
        return false;
    if (patternNames_.size() < inputFiles_.size()) {
        // Also an error entry, so a caller that judges by the list alone does not take the
        // refusal for a success.
        errors_.emplace_back(kTextTooManyInputs);
        prompt_.Message(kTextTooManyInputs);
        return false;
    }
    std::sort(inputFiles_.begin(), inputFiles_.end(), LessIgnoringCase);
    const fs::path& first = inputFiles_.front();
    const fs::path folder = outputFolder_.empty() ? first.parent_path() : outputFolder_;
    outputBase_ = (folder / PathFromUtf8(ProductBaseName(first))).string();
    std::ofstream controlList(ControlListPath(), std::ios::binary | std::ios::trunc);
    if (!controlList) {
        errors_.emplace_back(kTextCannotWrite);
        prompt_.Message(kTextCannotWrite);
        return false;
    }
    bool allPassed = true;
    for (std::size_t i = 0; i < inputFiles_.size(); ++i) {
        if (!ConvertFile(i, controlList))
            allPassed = false;
    }
    return allPassed;
}

bool CMidiPattern::ConvertFile(std::size_t index, std::ofstream& controlList) {
    header_ = PatternHeader::Initial();
    for (auto& records : records_)
        records.clear();
    timeSignatureFound_ = kindFound_ = tempoFound_ = false;
    productsRefused_ = false;

    Reset();
    SetPath(inputFiles_[index]);
    LoadFile();
    if (const int code = ParseHeader(); code != kHeaderOk) {
        errors_.push_back(FormatText("%s Init Error:%d", InputText().c_str(), code));
        return false;
    }
    if (!ParseTracks()) {
        errors_.push_back(FormatText("%s Process Error", InputText().c_str()));
        return false;
    }
    MergeTracks();
    if (Division() != kPatternDivision) {
        errors_.emplace_back(kTextPpqnWarning);
        prompt_.Message(kTextPpqnError);
        return false;
    }
    const std::string& name = patternNames_[index];
    header_.name.fill(' ');
    std::memcpy(header_.name.data(), name.data(), std::min(name.size(), header_.name.size()));
    header_.index = static_cast<std::uint8_t>(index);

    ReadConductorTrack();
    if (!timeSignatureFound_) {
        errors_.push_back(name + " TimeSign Error");
        prompt_.Message(kTextTimeSignatureRequired);
        return false;
    }
    if (!tempoFound_) {
        errors_.push_back(name + " Tempo Error");
        prompt_.Message(kTextTempoRequired);
        return false;
    }
    ComputeMeasures();
    for (std::uint32_t track = 0; track < TrackCount(); ++track) {
        if (!ConvertTrack(track))
            return false;
    }
    if (productsRefused_)
        return false;
    return WriteProducts(index, controlList);
}

void CMidiPattern::ReadConductorTrack() {
    if (TrackCount() == 0)
        return;
    for (const MidiEvent& event : TrackEvents(0)) {
        const auto payload = event.MetaPayload();
        switch (event.MetaType()) {
            case 0x58:
                if (!timeSignatureFound_ && payload.size() == 4) {
                    header_.timeSignature = static_cast<std::uint8_t>(payload[1] * 16 | payload[0]);
                    timeSignatureFound_ = true;
                }
                break;
            case 0x51:
                if (!tempoFound_ && payload.size() == 3) {
                    const std::uint32_t micros = (std::uint32_t{payload[0]} << 16) |
                                                 (std::uint32_t{payload[1]} << 8) | payload[2];
                    // A tempo of 0 microseconds is stored as 0 rather than divided by.
                    const auto bpm =
                        micros == 0 ? 0u : static_cast<std::uint32_t>(60000000.0 / micros + 0.5);
                    header_.tempo = static_cast<std::uint16_t>(bpm);
                    tempoFound_ = true;
                }
                break;
            case 0x06: {
                static constexpr char kKinds[] = {'s', 'p', 't', 'h'};
                if (kindFound_ || payload.size() != 5 ||
                    std::memcmp(payload.data(), "qz4w", 4) != 0) {
                    break;
                }
                const auto kind =
                    std::find(std::begin(kKinds), std::end(kKinds), static_cast<char>(payload[4]));
                if (kind != std::end(kKinds)) {
                    header_.kind = static_cast<std::uint8_t>(kind - std::begin(kKinds));
                    kindFound_ = true;
                }
                break;
            }
            default:
                break;
        }
    }
}

void CMidiPattern::ComputeMeasures() {
    const auto merged = MergedEvents();
    const double lastTick = merged.empty() ? 0.0 : merged.back().time;
    const int numerator = header_.timeSignature & 0x0F;
    const int exponent = header_.timeSignature >> 4;
    // A numerator of 0 stores 0 measures rather than dividing by it.
    if (numerator == 0) {
        header_.measures = 0;
        return;
    }
    const double measures =
        std::ceil(std::ldexp(1.0, exponent) * (lastTick / Division()) * 0.25 / numerator);
    header_.measures = static_cast<std::uint16_t>(static_cast<std::uint64_t>(measures));
}

bool CMidiPattern::WriteProducts(std::size_t index, std::ofstream& controlList) {
    auto data = AssemblePatternData(records_, header_.channelMask);
    if (!data) {
        errors_.push_back(FormatText("%s Pattern Size Error", InputText().c_str()));
        return false;
    }
    const ControlListBytes entry =
        EncodeControlListEntry(header_, static_cast<std::uint16_t>(data->size()));
    controlListBytes_.insert(controlListBytes_.end(), entry.begin(), entry.end());
    const std::string failedName =
        FormatText("%s%.3d.sty File Write Error", outputBase_.c_str(), static_cast<int>(index + 1));
    if (!WriteBytes(controlList, entry)) {
        errors_.emplace_back(kTextCannotWrite);
        return false;
    }
    patternDataBytes_ = std::move(*data);
    std::ofstream patternData(PatternDataPath(), std::ios::binary | std::ios::trunc);
    if (!patternData || !WriteBytes(patternData, patternDataBytes_)) {
        errors_.push_back(failedName);
    }
    return true;
}

}  // namespace vantrel
