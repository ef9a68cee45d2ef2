#pragma once

// The control-value state without the toolkit: the entries of a stored-property list, and how a
// Boolean, a text and a list property are kept in the profile file.

#include <optional>
#include <string>
#include <string_view>
#include <vector>

namespace orlenta {

class TOvcIniFileStore;

// The main window's section and the add-disc dialog's.
inline constexpr std::string_view kFormStateSection = "GUI";
inline constexpr std::string_view kAddDialogSection = "Add";

// The add-disc dialog's stored-property list, in the order it is saved and restored: the three
// radio buttons in this order leave the one stored as checked checked.
const std::vector<std::string>& AddDialogStoredProperties();

// An entry of a stored-property list: "Control.Property".
struct TStoredProperty {
    std::string Control;
    std::string Property;

    // The key in the state's section: control name, full stop, property name.
    std::string Key() const { return Control + "." + Property; }
    bool operator==(const TStoredProperty&) const = default;
};

// entry split at its first full stop, each part trimmed; none when there is no full stop or a
// part is empty, which makes the entry one to skip.
std::optional<TStoredProperty> ParseStoredProperty(std::string_view entry);

// "True" or "False".
std::string_view BooleanText(bool value);
// The Boolean of a stored text: trimmed, then "True" or "False" in any case; none otherwise.
std::optional<bool> ParseBooleanText(std::string_view text);

// text without leading and trailing blanks and control characters (anything up to the blank).
std::string TrimControlText(std::string_view text);

// The section that holds a list property: the state's section, a full stop, the property's key.
std::string ListSectionName(std::string_view section, std::string_view key);
// Erases the list's section, then writes Count and Item0, Item1, ... when items has entries;
// every entry is written as it is, blanks included.
void WriteListProperty(TOvcIniFileStore& store, std::string_view section, std::string_view key,
                       const std::vector<std::string>& items);
// The stored list; none (the list stays as it is) when Count, trimmed, is not a decimal integer
// above 0. An absent item reads as the empty entry.
std::optional<std::vector<std::string>>
ReadListProperty(const TOvcIniFileStore& store, std::string_view section, std::string_view key);

} // namespace orlenta
