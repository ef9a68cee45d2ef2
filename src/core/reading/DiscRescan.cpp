#include "core/reading/DiscRescan.h"

#include "core/base/Clock.h"
#include "core/base/OrlentaError.h"
#include "core/catalogue/DirectoryWalk.h"
#include "core/catalogue/DiscProperties.h"
#include "core/catalogue/TreeCounts.h"
#include "core/reading/UnreadableKept.h"

#include <vector>

namespace orlenta {

namespace {

// Whether any element below top bears the tag, or any bears the attribute.
bool HoldsElement(pugi::xml_node top, const char* tag) {
    return static_cast<bool>(top.find_node([tag](pugi::xml_node node) {
        return node.type() == pugi::node_element && TextIs(node.name(), tag);
    }));
}

bool HoldsAttribute(pugi::xml_node top, const char* name) {
    if (top.attribute(name))
        return true;
    return static_cast<bool>(top.find_node(
        [name](pugi::xml_node node) { return static_cast<bool>(node.attribute(name)); }));
}

} // namespace

TDiscRescan::TDiscRescan(TCatalogueSession& session)
    : FSession(session), FScratch(session.Host()), FReading(FScratch) {}

bool TDiscRescan::Read(const IXMLDiscType& disc, const std::string& source) {
    FRead = false;
    FStopped = false;
    FDifference = {};
    FWarning.reset();
    FUnreadableText.clear();
    FScratch.NewCatalogue();
    const pugi::xml_node root =
        ElementFrom(disc.XmlNode().first_child(), TXMLDirectoryType::kRootTag);
    FReading.SetRecordSizes(HoldsAttribute(root, kSizeAttribute));
    // A disc read with archives is read with them again, so that their contents are kept.
    FReading.SetReadArchives(
        HoldsArchives(TXMLDirectoryType(root, disc.OwnerDocument(), TXMLBinding::Directory)));
    TDiscProperties properties = ReadDiscProperties(disc);
    properties.ReadDate = TodayDateText();
    properties.DirCount.clear();
    properties.FileCount.clear();
    if (source.empty() || FReading.AddDisc(source, HoldsElement(root, TXMLFilenameType::kTag),
                                           properties) != TAddDiscResult::Added)
        return false;
    if (FStopped)
        return false;
    const IXMLDiscType read = FScratch.XMLIndexData().Discs().Disc(0);
    const auto& unreadable = FReading.UnreadableDirectories();
    if (!unreadable.empty() && unreadable.front().Element.XmlNode() == read.Root().XmlNode()) {
        // Nothing was read at all: there is nothing to compare, let alone to apply.
        FSession.Host().ShowMessage(TMessageKind::Error, "Cannot read the folder \"" + source +
                                                             "\"; the disc is left as it was.");
        return false;
    }
    KeepWhatWasHeld(disc, read, unreadable);
    FUnreadableText = UnreadableDirectoriesText(FReading, "they keep what the disc held");
    FRead = true;
    FDifference = DifferenceOfTrees(disc.Root(), read.Root());
    FWarning = RescanWarning(disc.Root(), read.Root(), FDifference, source, FFileSystemTable);
    return true;
}

void TDiscRescan::Stop() {
    FStopped = true;
    FReading.StopReading();
}

void TDiscRescan::Apply(const IXMLDiscType& disc) {
    if (!FRead)
        throw EAssertionFailed("TDiscRescan.Apply -> nothing read", "DiscRescan", 1);
    const IXMLDiscType read = FScratch.XMLIndexData().Discs().Disc(0);
    const pugi::xml_node from = read.Root().XmlNode();
    pugi::xml_node to = disc.Root().XmlNode();
    TXMLDocument& document = *disc.OwnerDocument();
    while (const pugi::xml_node child = to.first_child()) {
        document.ForgetItemLists(child);
        to.remove_child(child);
    }
    to.remove_attribute(kSizeAttribute);
    to.remove_attribute(kModifiedAttribute);
    for (const pugi::xml_attribute attribute : from.attributes()) {
        if (TextIs(attribute.name(), kSizeAttribute) ||
            TextIs(attribute.name(), kModifiedAttribute))
            to.append_copy(attribute);
    }
    for (const pugi::xml_node child : from.children())
        to.append_copy(child);
    // IDs in the order reading hands them out: depth first, as the directories stand.
    std::vector<pugi::xml_node> directories;
    WalkDirectories(disc.Root(), TWalkAccess::ReadOnly,
                    [&](const TXMLDirectoryType& directory, int depth) {
                        if (depth > 0)
                            directories.push_back(directory.XmlNode());
                        return true;
                    });
    for (const pugi::xml_node directory : directories)
        TXMLDirectoryType(directory, &document, TXMLBinding::Directory)
            .SetID(std::to_string(FSession.NextDirectoryID()));
    disc.SetDirCount(read.DirCount());
    disc.SetFileCount(read.FileCount());
    disc.SetReadDate(read.ReadDate());
    FRead = false;
}

} // namespace orlenta
