#include "core/state/StoredProperties.h"

#include "core/base/AsciiText.h"
#include "core/base/DecimalText.h"
#include "core/state/OvcIniFileStore.h"

#include <algorithm>
#include <climits>

namespace orlenta {

namespace {

std::string ItemKey(size_t index) {
    return "Item" + std::to_string(index);
}

} // namespace

const std::vector<std::string>& AddDialogStoredProperties() {
    static const std::vector<std::string> properties{
        "CustomDirectoryRadioButton.Checked", "RootFromHistoryComboBox.Text",
        "RootFromHistoryComboBox.Items",      "SystemItemRadioButton.Checked",
        "IncludeFilenamesCheckBox.Checked",   "VirtualDiscRadioButton.Checked",
        "RecordSizesCheckBox.Checked",        "ReadArchivesCheckBox.Checked"};
    return properties;
}

std::optional<TStoredProperty> ParseStoredProperty(std::string_view entry) {
    const size_t stop = entry.find('.');
    if (stop == std::string_view::npos)
        return std::nullopt;
    TStoredProperty property{TrimControlText(entry.substr(0, stop)),
                             TrimControlText(entry.substr(stop + 1))};
    if (property.Control.empty() || property.Property.empty())
        return std::nullopt;
    return property;
}

std::string_view BooleanText(bool value) {
    return value ? "True" : "False";
}

std::optional<bool> ParseBooleanText(std::string_view text) {
    const std::string trimmed = TrimControlText(text);
    if (EqualIgnoringAsciiCase(trimmed, "False"))
        return false;
    if (EqualIgnoringAsciiCase(trimmed, "True"))
        return true;
    return std::nullopt;
}

std::string TrimControlText(std::string_view text) {
    const auto isTrimmed = [](char c) { return static_cast<unsigned char>(c) <= ' '; };
    while (!text.empty() && isTrimmed(text.front()))
        text.remove_prefix(1);
    while (!text.empty() && isTrimmed(text.back()))
        text.remove_suffix(1);
    return std::string(text);
}

std::string ListSectionName(std::string_view section, std::string_view key) {
    return std::string(section) + "." + std::string(key);
}

void WriteListProperty(TOvcIniFileStore& store, std::string_view section, std::string_view key,
                       const std::vector<std::string>& items) {
    const std::string listSection = ListSectionName(section, key);
    store.EraseSection(listSection);
    if (items.empty())
        return;
    store.WriteInteger(listSection, "Count", static_cast<int>(items.size()));
    for (size_t i = 0; i < items.size(); ++i)
        store.WriteString(listSection, ItemKey(i), items[i]);
}

std::optional<std::vector<std::string>>
ReadListProperty(const TOvcIniFileStore& store, std::string_view section, std::string_view key) {
    const std::string listSection = ListSectionName(section, key);
    const auto count = ParseDecimal(TrimControlText(store.ReadString(listSection, "Count", "0")));
    if (!count || *count <= 0 || *count > INT_MAX)
        return std::nullopt;
    // A damaged Count must not make a list of a billion entries: a list this program wrote
    // never counts more entries than its section has keys.
    const size_t entries = std::min(static_cast<size_t>(*count), store.KeyCount(listSection));
    std::vector<std::string> items;
    items.reserve(entries);
    for (size_t i = 0; i < entries; ++i)
        items.push_back(store.ReadString(listSection, ItemKey(i), ""));
    return items;
}

} // namespace orlenta
