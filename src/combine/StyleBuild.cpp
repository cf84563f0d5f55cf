#include "combine/StyleBuild.h"

#include "common/UserPrompt.h"
#include "common/Utf8Path.h"
#include "pattern/StyleImage.h"
#include "repository/SubRepository.h"

namespace vantrel {

namespace fs = std::filesystem;

namespace {

enum class PartResult { Placed, NotSupported, TooLarge };

PartResult PlacePart(StyleImageBuilder& image, std::size_t block, const fs::path& path,
                     UserPrompt& prompt, const PartConverter& convert) {
    const PatternProducts products = convert(path, prompt);
    if (!products.Passed()) {
        prompt.Message("File is not supported!");
        return PartResult::NotSupported;
    }
    if (!image.Place(block, products.controlList, products.patternData)) {
        prompt.Message(path.filename().string() + "File size is greater than 2K!");
        return PartResult::TooLarge;
    }
    return PartResult::Placed;
}

}  // namespace

std::optional<std::vector<std::uint8_t>> BuildStyleImage(const fs::path& root,
                                                         const std::vector<std::string>& fileNames,
                                                         UserPrompt& prompt,
                                                         const PartConverter& convert) {
    if (fileNames.size() < 2)
        return std::nullopt;
    StyleImageBuilder image;
    if (PlacePart(image, kIntroBlock,
                  SubRepositoryFolder(root, SubRepository::Intro) / PathFromUtf8(fileNames.front()),
                  prompt, convert) != PartResult::Placed ||
        PlacePart(image, kEndingBlock,
                  SubRepositoryFolder(root, SubRepository::Ending) / PathFromUtf8(fileNames.back()),
                  prompt, convert) != PartResult::Placed) {
        return std::nullopt;
    }
    const std::size_t fills = std::min(fileNames.size() - 2, kStyleMaxFills);
    for (std::size_t i = 1; i <= fills; ++i) {
        if (PlacePart(image, FillBlock(i),
                      SubRepositoryFolder(root, SubRepository::Fill) / PathFromUtf8(fileNames[i]),
                      prompt, convert) == PartResult::TooLarge) {
            return std::nullopt;
        }
    }
    const auto written = image.WrittenBytes();
    return std::vector<std::uint8_t>(written.begin(), written.end());
}

}  // namespace vantrel
