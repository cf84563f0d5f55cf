#pragma once

#include <string>
#include <vector>

namespace vantrel {

class CMidiTrans;
class UserPrompt;

// The name the keyboard's slot list gives a slot that holds no style.
inline constexpr const char* kEmptySlotText = "Empty";

// Connected, the port layer exists and no device transaction runs: a request may go out.
bool LinkUsable();

// The keyboard's slots in slot order, each a stored name or "Empty". A failed read shows
// "Connection error!" and gives no rows. Callers check LinkUsable() first.
std::vector<std::string> ReadSlotRows(CMidiTrans& trans, UserPrompt& prompt);

}  // namespace vantrel
