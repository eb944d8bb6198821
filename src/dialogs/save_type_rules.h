#pragma once

#include <optional>
#include <string>
#include <string_view>
#include <vector>

namespace tarn {

// The rules of the save dialog's type list, apart from any toolkit. A filter string alternates
// descriptions and patterns, "desc|pattern|desc|pattern"; type numbers count from 1.

// The descriptions of a filter string, in order.
std::vector<std::string> filterDescriptions(std::string_view filter);

// The type to preselect for an initial file name: the extension of the name's last path
// component is looked up, upper-cased, anywhere in the upper-cased filter; the type is the number
// of "|" before its first occurrence, halved, plus one. 1 when there is no name, no extension or
// no occurrence.
int preselectedFilterIndex(std::string_view initialName, std::string_view filter);

// The extension a type text stands for: after its first "(*." up to the next ";" or ")".
// Empty when the text has no "(*.".
std::string typeExtension(std::string_view typeText);

// The name box's new text after the type changed to one with the given extension: the name's
// last path component loses everything from its last "." and gets "." and the extension. No
// value when the extension is empty or the box already says the same, ignoring case.
std::optional<std::string> renamedForType(std::string_view currentName, std::string_view extension);

}  // namespace tarn
