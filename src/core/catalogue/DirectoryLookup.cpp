#include "core/catalogue/DirectoryLookup.h"

#include "core/base/DecimalText.h"
#include "core/base/OrlentaError.h"
#include "core/catalogue/DirectoryWalk.h"

#include <algorithm>
#include <cstdint>
#include <string>

namespace orlenta {

namespace {

// The ID, already known to be a decimal integer, is the decimal form of its value: no plus
// sign, no leading zero, no "-0".
bool IsPlainDecimal(std::string_view id) {
    const std::string_view digits = !id.empty() && id.front() == '-' ? id.substr(1) : id;
    if (digits == "0")
        return id == "0";
    return !digits.empty() && digits.front() >= '1' && digits.front() <= '9';
}

} // namespace

TXMLDirectoryType FindDirectoryByID(const TXMLDirectoryType& directory, std::string_view id) {
    // A click walks every directory of the catalogue before the one it finds: the typed ID()
    // would add the attribute to every directory that lacks it.
    TXMLDirectoryType found;
    WalkDirectories(directory, TWalkAccess::ReadOnly, [&](const TXMLDirectoryType& current, int) {
        if (id != current.XmlNode().attribute(kIDAttribute).value())
            return true;
        found = current;
        return false;
    });
    return found;
}

TXMLDiscType DiscOf(const TXMLNode& directory) {
    TXMLNode node = directory;
    while (node && !node.Is(TXMLBinding::Disc))
        node = node.ParentNode();
    return TXMLDiscType(node.XmlNode(), node.OwnerDocument(), TXMLBinding::Disc);
}

int TreeNodeData(std::string_view id) {
    const std::optional<long long> value = ParseDecimal(id);
    if (!value || *value < INT32_MIN || *value > INT32_MAX)
        throw EOrlentaError("'" + std::string(id) + "' is not a valid integer value");
    return static_cast<int>(*value);
}

void TNodeDirectories::Start() {
    FDirectories.clear();
    FIDs.clear();
    FHolds = true;
}

void TNodeDirectories::Note(int node, const TXMLDirectoryType& directory, int data) {
    if (!FHolds)
        return;
    if (IsPlainDecimal(directory.ID()) && static_cast<size_t>(node) == FDirectories.size()) {
        FDirectories.push_back(directory);
        FIDs.push_back(data);
    } else {
        Clear();
    }
}

void TNodeDirectories::Finish() {
    // Unique IDs, checked once for all: sorting beats a set filled node by node.
    std::sort(FIDs.begin(), FIDs.end());
    if (std::adjacent_find(FIDs.begin(), FIDs.end()) != FIDs.end())
        Clear();
    FIDs.clear();
    FIDs.shrink_to_fit();
}

void TNodeDirectories::Clear() {
    FDirectories.clear();
    FIDs.clear();
    FHolds = false;
}

TXMLDirectoryType TNodeDirectories::Directory(int node) const {
    if (!FHolds || node < 0 || static_cast<size_t>(node) >= FDirectories.size())
        return {};
    return FDirectories[static_cast<size_t>(node)];
}

TNodeTarget FindNodeTarget(const TXMLOrlentaDataType& root, const TNodeDirectories& directories,
                           int node, int data) {
    if (const TXMLDirectoryType directory = directories.Directory(node))
        return {DiscOf(directory), directory};
    const std::string id = std::to_string(data);
    const TXMLDiscsType discs = root.Discs();
    for (int i = 0; i < discs.Count(); ++i) {
        const TXMLDiscType disc = discs.Disc(i);
        if (const TXMLDirectoryType directory = FindDirectoryByID(disc.Root(), id))
            return {disc, directory};
    }
    return {};
}

} // namespace orlenta
