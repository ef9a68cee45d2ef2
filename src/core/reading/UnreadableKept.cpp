#include "core/reading/UnreadableKept.h"

#include "core/base/DecimalText.h"
#include "core/catalogue/DirectoryWalk.h"
#include "core/catalogue/SizeAndDate.h"
#include "core/catalogue/TreeCounts.h"

#include <algorithm>
#include <string_view>

namespace orlenta {

namespace {

bool IsRoot(pugi::xml_node node) {
    return TextIs(node.name(), TXMLDirectoryType::kRootTag);
}

// The names from below the Root down to directory, read from the document as stored.
std::vector<std::string_view> NamesFromRoot(pugi::xml_node directory) {
    std::vector<std::string_view> names;
    for (pugi::xml_node node = directory; node && !IsRoot(node); node = node.parent().parent())
        names.push_back(node.attribute(kNameAttribute).value());
    std::reverse(names.begin(), names.end());
    return names;
}

// The directory at names below root, matched by the names as stored; none when it is not there.
pugi::xml_node DirectoryAt(pugi::xml_node root, const std::vector<std::string_view>& names) {
    pugi::xml_node at = root;
    for (const std::string_view name : names) {
        const pugi::xml_node directories = ElementFrom(at.first_child(), TXMLDirectoriesType::kTag);
        pugi::xml_node child = ElementFrom(directories.first_child(), TXMLDirectoryType::kTag);
        while (child && std::string_view(child.attribute(kNameAttribute).value()) != name)
            child = ElementFrom(child.next_sibling(), TXMLDirectoryType::kTag);
        if (!child)
            return {};
        at = child;
    }
    return at;
}

TTreeCounts CountsBelow(const TXMLDirectoryType& directory) {
    TTreeCounts counts;
    AddTreeCounts(directory, counts);
    return counts;
}

// count plus delta, written back; a count that is absent or not a number stays as it is.
void AdjustCount(const IXMLDiscType& disc, std::string_view count, long long delta,
                 void (TXMLDiscType::*set)(std::string_view) const) {
    const std::optional<long long> value = ParseDecimal(count);
    if (!value || delta == 0)
        return;
    (disc.*set)(std::to_string(std::max(0LL, *value + delta)));
}

// The size moves by the difference from was to now, without wrapping either way.
std::uint64_t Moved(std::uint64_t size, std::uint64_t was, std::uint64_t now) {
    if (now >= was)
        return SaturatingAdd(size, now - was);
    return size - std::min(size, was - now);
}

void PutBack(const IXMLDiscType& read, const TXMLDirectoryType& into, pugi::xml_node from,
             TXMLDocument* heldDocument) {
    TXMLDocument& document = *into.OwnerDocument();
    const TXMLDirectoryType held(from, heldDocument, TXMLBinding::Directory);
    const TTreeCounts partial = CountsBelow(into);
    const TTreeCounts kept = CountsBelow(held);
    AdjustCount(read, read.DirCount(), kept.Directories - partial.Directories,
                &TXMLDiscType::SetDirCount);
    AdjustCount(read, read.FileCount(), kept.Files - partial.Files, &TXMLDiscType::SetFileCount);

    const std::optional<std::uint64_t> heldSize = RecordedSize(from);
    const std::optional<std::uint64_t> readSize = RecordedSize(into.XmlNode());
    if (heldSize && readSize) {
        for (pugi::xml_node node = into.XmlNode(); node; node = node.parent().parent()) {
            if (const std::optional<std::uint64_t> size = RecordedSize(node))
                node.attribute(kSizeAttribute)
                    .set_value(std::to_string(Moved(*size, *readSize, *heldSize)).c_str());
            if (IsRoot(node))
                break;
        }
    }

    pugi::xml_node to = into.XmlNode();
    while (const pugi::xml_node child = to.first_child()) {
        document.ForgetItemLists(child);
        to.remove_child(child);
    }
    for (const pugi::xml_node child : from.children())
        to.append_copy(child);
}

} // namespace

std::size_t KeepWhatWasHeld(const IXMLDiscType& held, const IXMLDiscType& read,
                            const std::vector<TDiscReading::TUnreadableDirectory>& unreadable) {
    const pugi::xml_node heldRoot =
        ElementFrom(held.XmlNode().first_child(), TXMLDirectoryType::kRootTag);
    std::size_t putBack = 0;
    std::string_view lastPutBack;
    for (const TDiscReading::TUnreadableDirectory& directory : unreadable) {
        // Paths end in '/', so a prefix is an ancestor.
        if (!lastPutBack.empty() && directory.Path.starts_with(lastPutBack))
            continue;
        const pugi::xml_node from =
            DirectoryAt(heldRoot, NamesFromRoot(directory.Element.XmlNode()));
        if (!from)
            continue; // new since the disc was read: there is nothing to keep
        PutBack(read, directory.Element, from, held.OwnerDocument());
        lastPutBack = directory.Path;
        ++putBack;
    }
    return putBack;
}

} // namespace orlenta
