#include "pattern/PatternCheck.h"

#include "common/FileOpenError.h"
#include "common/ScopedTempDir.h"
#include "pattern/CMidiPattern.h"
#include "pattern/PatternTexts.h"

namespace vantrel {

PatternProducts ConvertToProducts(const std::filesystem::path& midiFile, UserPrompt& prompt) {
    PatternProducts products;
    ScopedTempDir folder;
    if (!folder.Valid()) {
        products.errors.emplace_back(kTextCannotWrite);
        return products;
    }
    CMidiPattern pattern(prompt, folder.Path());
    pattern.AddInputFile(midiFile);
    try {
        pattern.Convert();
    } catch (const FileOpenError&) {
        products.errors.push_back(midiFile.string() + " Open Error");
        return products;
    }
    products.errors = pattern.Errors();
    if (products.Passed()) {
        products.controlList = pattern.ControlListWritten();
        products.patternData = pattern.PatternDataWritten();
    }
    return products;
}

}  // namespace vantrel
