#include "combine/PartTexts.h"

#include "midi/CMidiFile.h"

namespace vantrel {

namespace {

bool Differ(const std::optional<std::string>& a, const std::optional<std::string>& b) {
    return a && b && *a != *b;
}

}  // namespace

PartTexts ReadPartTexts(const std::filesystem::path& path) {
    PartTexts texts{path.filename().string(), std::nullopt, std::nullopt};
    CMidiFile info;
    if (!info.Load(path))
        return texts;
    if (!info.Tempos().empty()) {
        texts.tempo = "BPM: " + std::to_string(info.Tempos().front().bpm);
    }
    if (!info.TimeSignatures().empty()) {
        const TimeSignatureEntry& first = info.TimeSignatures().front();
        texts.timeSignature =
            std::to_string(first.numerator) + "/" + std::to_string(first.denominator);
    }
    return texts;
}

std::optional<std::pair<std::size_t, std::size_t>> FindInconsistentPair(
    const std::vector<PartTexts>& parts) {
    for (std::size_t i = 0; i < parts.size(); ++i) {
        for (std::size_t j = i + 1; j < parts.size(); ++j) {
            if (Differ(parts[i].timeSignature, parts[j].timeSignature) ||
                Differ(parts[i].tempo, parts[j].tempo)) {
                return std::make_pair(i, j);
            }
        }
    }
    return std::nullopt;
}

std::optional<std::size_t> FindInconsistentPart(const std::vector<PartTexts>& parts) {
    if (const auto pair = FindInconsistentPair(parts))
        return pair->second;
    return std::nullopt;
}

std::string BeatAndTempo(const PartTexts& part) {
    std::string text = part.timeSignature.value_or("");
    if (part.tempo)
        text += (text.empty() ? "" : ", ") + *part.tempo;
    return text;
}

}  // namespace vantrel
