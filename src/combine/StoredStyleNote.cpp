#include "combine/StoredStyleNote.h"

#include "combine/CombineLists.h"
#include "combine/PartBlockBytes.h"
#include "common/GroupedNumber.h"
#include "pattern/StyleImage.h"

namespace vantrel {

std::string StoredStyleNote(const CombineLists& lists, const std::string& when) {
    std::string note = "Stored by this program " + when + ":";
    // Block order: Intro, Ending, then the Fills.
    for (SubRepository sub : {SubRepository::Intro, SubRepository::Ending, SubRepository::Fill}) {
        const auto& paths = lists.List(sub).EntryPaths();
        for (std::size_t position = 0; position < paths.size(); ++position) {
            const std::size_t block = PartBlock(sub, position);
            const PartBlockBytes bytes = MeasurePart(paths[position], block);
            note += "\n" + StyleBlockName(block) + ": " + paths[position].filename().string();
            if (bytes.used)
                note += ", " + GroupedNumber(*bytes.used) + " bytes";
        }
    }
    return note;
}

}  // namespace vantrel
