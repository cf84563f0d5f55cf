#pragma once

#include <string>

namespace vantrel {

class CombineLists;

// What an upload of these lists put in a slot: when, then one line per part in block order with
// its file name and the bytes it took, e.g. "Fill 2: swing.mid, 1,312 bytes".
std::string StoredStyleNote(const CombineLists& lists, const std::string& when);

}  // namespace vantrel
