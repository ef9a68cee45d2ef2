#include "core/catalogue/OrlentaData.h"

#include "core/base/DecimalText.h"
#include "core/base/OrlentaError.h"
#include "core/base/UtcTime.h"
#include "core/xml/DocumentMemory.h"
#include "core/xml/XmlText.h"

#include <cerrno>
#include <charconv>
#include <cstdio>
#include <cstring>
#include <iterator>

namespace orlenta {

TXMLBinding ChildBinding(TXMLBinding parent, std::string_view tag) {
    switch (parent) {
    case TXMLBinding::OrlentaData:
        return tag == TXMLDiscsType::kTag ? TXMLBinding::Discs : TXMLBinding::Plain;
    case TXMLBinding::Discs:
        return tag == TXMLDiscType::kTag ? TXMLBinding::Disc : TXMLBinding::Plain;
    case TXMLBinding::Disc:
        return tag == TXMLDirectoryType::kRootTag ? TXMLBinding::Directory : TXMLBinding::Plain;
    case TXMLBinding::Directory:
        if (tag == TXMLDirectoriesType::kTag)
            return TXMLBinding::Directories;
        return tag == TXMLFilenamesType::kTag ? TXMLBinding::Filenames : TXMLBinding::Plain;
    case TXMLBinding::Directories:
        return tag == TXMLDirectoryType::kTag ? TXMLBinding::Directory : TXMLBinding::Plain;
    case TXMLBinding::Filenames:
        return tag == TXMLFilenameType::kTag ? TXMLBinding::Filename : TXMLBinding::Plain;
    case TXMLBinding::Filename:
    case TXMLBinding::Plain: return TXMLBinding::Plain;
    }
    return TXMLBinding::Plain;
}

namespace {

// The binding of any element, found from the root down; used only for parents of plain elements.
TXMLBinding ResolveBinding(pugi::xml_node node) {
    pugi::xml_node parent = node.parent();
    if (parent.type() == pugi::node_document) {
        return std::string_view(node.name()) == TXMLOrlentaDataType::kTag ? TXMLBinding::OrlentaData
                                                                          : TXMLBinding::Plain;
    }
    return ChildBinding(ResolveBinding(parent), node.name());
}

TXMLBinding ParentBindingOf(TXMLBinding child, std::string_view tag) {
    switch (child) {
    case TXMLBinding::Discs: return TXMLBinding::OrlentaData;
    case TXMLBinding::Disc: return TXMLBinding::Discs;
    case TXMLBinding::Directory:
        return tag == TXMLDirectoryType::kRootTag ? TXMLBinding::Disc : TXMLBinding::Directories;
    case TXMLBinding::Directories:
    case TXMLBinding::Filenames: return TXMLBinding::Directory;
    case TXMLBinding::Filename: return TXMLBinding::Filenames;
    case TXMLBinding::OrlentaData:
    case TXMLBinding::Plain: break;
    }
    return TXMLBinding::Plain;
}

} // namespace

TXMLNode TXMLNode::ParentNode() const {
    pugi::xml_node parent = FNode.parent();
    if (!parent || parent.type() != pugi::node_element)
        return {};
    const TXMLBinding binding = FBinding == TXMLBinding::Plain
                                    ? ResolveBinding(parent)
                                    : ParentBindingOf(FBinding, FNode.name());
    return TXMLNode(parent, FDocument, binding);
}

pugi::xml_attribute TXMLNode::EnsuredAttribute(const char* name) const {
    const pugi::xml_attribute attribute = FNode.attribute(name);
    return attribute ? attribute : FDocument->AppendAttribute(FNode, name);
}

std::string_view TXMLNode::AttributeText(const char* name) const {
    pugi::xml_attribute attribute = EnsuredAttribute(name);
    return attribute.value();
}

void TXMLNode::SetAttributeText(const char* name, std::string_view value) const {
    pugi::xml_attribute attribute = EnsuredAttribute(name);
    const char* current = attribute.value();
    if (value.data() >= current && value.data() <= current + std::strlen(current)) {
        // Writing an attribute's own text back: copy first, pugixml may reuse the buffer.
        const std::string copy(value);
        SetAttributeText(name, copy);
        return;
    }
    if (IsXmlSafeText(value)) {
        attribute.set_value(value.data(), value.size());
    } else {
        const std::string safe = ToXmlSafeText(value);
        attribute.set_value(safe.data(), safe.size());
    }
}

void TXMLNode::SetSizeAttribute(std::uint64_t bytes) const {
    char text[24];
    const auto written = std::to_chars(std::begin(text), std::end(text), bytes);
    *written.ptr = '\0';
    EnsuredAttribute(kSizeAttribute).set_value(text);
}

void TXMLNode::SetModifiedAttribute(std::int64_t seconds) const {
    char text[kUtcTimeLength + 1];
    if (!FormatUtcTime(seconds, text))
        return;
    text[kUtcTimeLength] = '\0';
    EnsuredAttribute(kModifiedAttribute).set_value(text);
}

pugi::xml_node TXMLNode::ChildElement(const char* tag) const {
    pugi::xml_node child = FNode.child(tag);
    if (!child)
        child = FDocument->AppendElement(FNode, tag);
    return child;
}

TXMLDirectoriesType TXMLDirectoryType::Directories() const {
    return TXMLDirectoriesType(ChildElement(TXMLDirectoriesType::kTag), FDocument,
                               TXMLBinding::Directories);
}

TXMLFilenamesType TXMLDirectoryType::Filenames() const {
    return TXMLFilenamesType(ChildElement(TXMLFilenamesType::kTag), FDocument,
                             TXMLBinding::Filenames);
}

TXMLDirectoryType TXMLDiscType::Root() const {
    return TXMLDirectoryType(ChildElement(TXMLDirectoryType::kRootTag), FDocument,
                             TXMLBinding::Directory);
}

TXMLDiscsType TXMLOrlentaDataType::Discs() const {
    return TXMLDiscsType(ChildElement(TXMLDiscsType::kTag), FDocument, TXMLBinding::Discs);
}

// --- TXMLDocument ---

TXMLDocument::TXMLDocument() {
    UseDocumentMemory();
}

TXMLOrlentaDataType TXMLDocument::DocumentElement() {
    pugi::xml_node root = FXml.last_child();
    while (root && root.type() != pugi::node_element)
        root = root.previous_sibling();
    if (!root || std::string_view(root.name()) != TXMLOrlentaDataType::kTag)
        return {};
    return TXMLOrlentaDataType(root, this, TXMLBinding::OrlentaData);
}

namespace {

// Parsed in place from a buffer the document keeps, so its strings are not owned by any node:
// pugixml lets copies of such a node or attribute point at the same strings.
constexpr std::string_view kPrototypesXml =
    R"(<_ Text="" Name="" ID="" Title="" Vendor="" MediaType="" CreationDate="" ReadDate="" )"
    R"(DirCount="" FileCount="" Memo="" LastDirectoryID="" Size="" Modified="">)"
    R"(<Filename/><Directory/><Directories/><Filenames/><Disc/><Root/><Discs/></_>)";

} // namespace

pugi::xml_node TXMLDocument::Prototypes() {
    if (!FPrototypes) {
        pugi::xml_node holder = FXml.prepend_child(pugi::node_element);
        holder.append_buffer(kPrototypesXml.data(), kPrototypesXml.size(), pugi::parse_default,
                             pugi::encoding_utf8);
        FPrototypes = holder.first_child();
    }
    return FPrototypes;
}

pugi::xml_node TXMLDocument::AppendElement(pugi::xml_node parent, const char* tag) {
    for (pugi::xml_node prototype = Prototypes().first_child(); prototype;
         prototype = prototype.next_sibling()) {
        if (TextIs(prototype.name(), tag))
            return parent.append_copy(prototype);
    }
    return parent.append_child(tag);
}

pugi::xml_attribute TXMLDocument::AppendAttribute(pugi::xml_node element, const char* name) {
    if (const pugi::xml_attribute prototype = Prototypes().attribute(name))
        return element.append_copy(prototype);
    return element.append_attribute(name);
}

std::vector<pugi::xml_node_struct*>& TXMLDocument::ItemList(pugi::xml_node collection,
                                                            const char* itemTag) {
    auto [it, inserted] = FItemLists.try_emplace(collection.internal_object());
    if (inserted) {
        for (pugi::xml_node item = ElementFrom(collection.first_child(), itemTag); item;
             item = ElementFrom(item.next_sibling(), itemTag))
            it->second.push_back(item.internal_object());
    }
    return it->second;
}

void TXMLDocument::ItemAppended(pugi::xml_node collection, pugi::xml_node item) {
    // A list not built yet will see the item when it is built.
    auto it = FItemLists.find(collection.internal_object());
    if (it != FItemLists.end())
        it->second.push_back(item.internal_object());
}

void TXMLDocument::ForgetItemLists(pugi::xml_node subtree) {
    if (FItemLists.empty())
        return;
    // Depth first without recursion: a subtree may nest deeper than the call stack allows.
    pugi::xml_node node = subtree;
    for (;;) {
        FItemLists.erase(node.internal_object());
        if (pugi::xml_node child = node.first_child()) {
            node = child;
            continue;
        }
        while (node != subtree && !node.next_sibling())
            node = node.parent();
        if (node == subtree)
            return;
        node = node.next_sibling();
    }
}

namespace {

// pugixml writes in small pieces; a stdio stream with a large buffer batches them, and the
// first failure is kept so that a full disk is reported instead of a short file.
class TFileXmlWriter : public pugi::xml_writer {
public:
    explicit TFileXmlWriter(std::FILE* file) : FFile(file) {}
    void write(const void* data, size_t size) override {
        if (FErrno == 0 && std::fwrite(data, 1, size, FFile) != size)
            FErrno = errno != 0 ? errno : EIO;
    }
    int Errno() const { return FErrno; }

private:
    std::FILE* FFile;
    int FErrno = 0;
};

} // namespace

void TXMLDocument::SaveToFile(const std::string& path) {
    std::FILE* file = std::fopen(path.c_str(), "wb");
    if (file == nullptr)
        throw CannotCreateFileError(path, errno);
    std::vector<char> buffer(1 << 18);
    std::setvbuf(file, buffer.data(), _IOFBF, buffer.size());
    try {
        SaveToStream(file, path);
    } catch (...) {
        std::fclose(file);
        throw;
    }
    if (std::fclose(file) != 0)
        throw CannotWriteFileError(path, errno);
}

void TXMLDocument::SaveToStream(std::FILE* file, const std::string& name) {
    if (FPrototypes) {
        // Copies keep pointing at the strings, which live in a buffer the document keeps.
        FXml.remove_child(FPrototypes.parent());
        FPrototypes = {};
    }
    TFileXmlWriter writer(file);
    errno = 0;
    FXml.save(writer, "", pugi::format_raw, pugi::encoding_utf8);
    int error = writer.Errno();
    if (error == 0 && std::fflush(file) != 0)
        error = errno;
    if (error != 0)
        throw CannotWriteFileError(name, error);
}

// --- document functions ---

IXMLOrlentaDataType::IXMLOrlentaDataType(std::shared_ptr<TXMLDocument> document)
    : TXMLOrlentaDataType(document->DocumentElement()), FOwner(std::move(document)) {}

IXMLOrlentaDataType NewOrlentaData() {
    auto document = std::make_shared<TXMLDocument>();
    pugi::xml_node declaration = document->Xml().append_child(pugi::node_declaration);
    declaration.append_attribute("version").set_value("1.0");
    document->Xml().append_child(TXMLOrlentaDataType::kTag);
    return IXMLOrlentaDataType(std::move(document));
}

long long NextDirectoryID(const TXMLOrlentaDataType& root) {
    const std::string next = IncrementedDecimal(root.LastDirectoryID());
    root.SetLastDirectoryID(next);
    return DecimalOrZero(next);
}

} // namespace orlenta
