// The fitted file converted exactly as the upload converts it, and what it takes of its block.
#include <string>

#include "common/AtomicFile.h"
#include "common/QuietPrompt.h"
#include "common/ScopedTempDir.h"
#include "fit/FitSteps.h"
#include "pattern/PatternCheck.h"
#include "pattern/PatternDecoder.h"

namespace vantrel {

void MeasureBudget(FitRun& run) {
    FitResult& result = run.result;
    ScopedTempDir folder;
    const auto path = folder.Path() / "fitted.mid";
    if (!folder.Valid() || !WriteFileAtomically(path, result.output)) {
        result.checkErrors.push_back("the fitted file could not be written to a temporary folder");
        return;
    }
    QuietPrompt prompt;
    const PatternProducts products = ConvertToProducts(path, prompt);
    const std::string folderText = path.string();
    for (std::string error : products.errors) {
        // The temporary name means nothing to the user; the entries name the output instead.
        if (const auto at = error.find(folderText); at != std::string::npos)
            error.replace(at, folderText.size(), "output");
        result.checkErrors.push_back(std::move(error));
    }
    if (!products.Passed())
        return;
    result.bytes = products.controlList.size() + products.patternData.size();
    const PatternDecodeResult decoded = DecodePatternData(products.patternData);
    if (!decoded.pattern)
        return;
    for (const PatternChannel& channel : decoded.pattern->channels)
        result.channelBytes[channel.channel] = channel.end - channel.offset;
}

}  // namespace vantrel
