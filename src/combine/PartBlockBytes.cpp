#include "combine/PartBlockBytes.h"

#include "common/GroupedNumber.h"
#include "common/QuietPrompt.h"
#include "pattern/StyleImage.h"

namespace vantrel {

std::size_t PartBlock(SubRepository sub, std::size_t position) {
    switch (sub) {
        case SubRepository::Intro:
            return kIntroBlock;
        case SubRepository::Ending:
            return kEndingBlock;
        case SubRepository::Fill:
            break;
    }
    return FillBlock(position + 1);
}

PartBlockBytes MeasurePart(const std::filesystem::path& file, std::size_t block,
                           const PartConverter& convert) {
    PartBlockBytes bytes;
    bytes.capacity = StyleBlockCapacity(block);
    QuietPrompt quiet;
    const PatternProducts products = convert(file, quiet);
    if (products.Passed())
        bytes.used = products.controlList.size() + products.patternData.size();
    return bytes;
}

std::string BytesAgainstBlock(const PartBlockBytes& bytes) {
    return (bytes.used ? GroupedNumber(*bytes.used) : std::string("-")) + " / " +
           GroupedNumber(bytes.capacity);
}

}  // namespace vantrel
