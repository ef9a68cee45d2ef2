#pragma once

// The catalogue document: a pugixml DOM and a typed access layer over it, one binding class per
// kind of element. Handles are small values (the node, its document, its binding) that point into
// a document owning everything; copying one allocates nothing. Reading an absent attribute adds it
// empty, and reading an absent child element appends it empty, so the document is written with
// them. Elements and attributes the schema does not name are kept and written back.

#include "core/catalogue/SizeAndDate.h"

#include <cstdint>
#include <cstdio>
#include <cstring>
#include <memory>
#include <pugixml.hpp>
#include <string>
#include <string_view>
#include <unordered_map>
#include <vector>

namespace orlenta {

class TXMLDocument;

// Which binding class an element has: chosen by its tag and the binding of its parent.
enum class TXMLBinding {
    Plain, // any element the schema does not register under its parent
    OrlentaData,
    Discs,
    Disc,
    Directory, // Root and Directory
    Directories,
    Filenames,
    Filename,
};

// Whether text is name. Walks compare a tag at each of a million nodes: inlined, this costs a
// fraction of a call of strcmp.
inline bool TextIs(const char* text, const char* name) {
    while (*name != '\0' && *text == *name) {
        ++text;
        ++name;
    }
    return *text == *name;
}

// node, or the first sibling after it, that is an element with this name. For walks that read
// the DOM directly, without the access layer's additions.
inline pugi::xml_node ElementFrom(pugi::xml_node node, const char* name) {
    while (node && (!TextIs(node.name(), name) || node.type() != pugi::node_element))
        node = node.next_sibling();
    return node;
}

// The binding of a child with this tag under a parent of this binding.
TXMLBinding ChildBinding(TXMLBinding parent, std::string_view tag);

// The generic element class: parent, owning document, binding test. Empty when default-built.
class TXMLNode {
public:
    TXMLNode() = default;
    TXMLNode(pugi::xml_node node, TXMLDocument* document, TXMLBinding binding)
        : FNode(node), FDocument(document), FBinding(binding) {}

    explicit operator bool() const { return static_cast<bool>(FNode); }
    bool operator==(const TXMLNode& other) const { return FNode == other.FNode; }

    TXMLBinding Binding() const { return FBinding; }
    // The binding-class test.
    bool Is(TXMLBinding binding) const { return FNode && FBinding == binding; }
    std::string_view NodeName() const { return FNode.name(); }
    // The parent element, bound by the registration rules; empty for the root element.
    TXMLNode ParentNode() const;
    TXMLDocument* OwnerDocument() const { return FDocument; }
    pugi::xml_node XmlNode() const { return FNode; }

protected:
    // The attribute with this name, added with the empty value when absent.
    pugi::xml_attribute EnsuredAttribute(const char* name) const;
    // The attribute's value; an absent attribute is added with the empty value first. The view
    // stays valid until the attribute is written or the element removed.
    std::string_view AttributeText(const char* name) const;
    // Sets the attribute, adding it when absent. The stored text is XML-safe UTF-8.
    void SetAttributeText(const char* name, std::string_view value) const;
    // The first child element with this tag, appended empty when there is none.
    pugi::xml_node ChildElement(const char* tag) const;
    // Sets the optional Size and Modified attributes, adding them when absent; a moment whose
    // year has not four digits is left out.
    void SetSizeAttribute(std::uint64_t bytes) const;
    void SetModifiedAttribute(std::int64_t seconds) const;

    // A handle is a view: its const operations may change the element, as pugixml's do.
    mutable pugi::xml_node FNode;
    TXMLDocument* FDocument = nullptr;
    TXMLBinding FBinding = TXMLBinding::Plain;
};

// An element whose items are its child elements bearing the item tag, in document order.
// The item list is built on first access and kept by the document, so Count and item by index
// cost constant time afterwards.
template <typename TItem> class TXMLCollection : public TXMLNode {
public:
    using TXMLNode::TXMLNode;

    int Count() const;
    // The item at index, 0 <= index < Count().
    TItem Item(int index) const;
    // A new, empty item appended after all existing children.
    TItem Add() const;
    // Takes item, with everything below it, out of the document; returns its former index,
    // or -1 when it is not an item of this collection.
    int Remove(const TItem& item) const;

    // A walk over the items in document order that builds no item list: for a single pass
    // over a large catalogue, where the list would cost memory and time for nothing.
    class TIterator {
    public:
        TIterator(pugi::xml_node node, TXMLDocument* document, TXMLBinding binding)
            : FNode(node), FDocument(document), FBinding(binding) {}
        TItem operator*() const { return TItem(FNode, FDocument, FBinding); }
        TIterator& operator++() {
            FNode = ElementFrom(FNode.next_sibling(), TItem::kTag);
            return *this;
        }
        bool operator==(const TIterator& other) const { return FNode == other.FNode; }

    private:
        pugi::xml_node FNode;
        TXMLDocument* FDocument;
        TXMLBinding FBinding;
    };
    TIterator begin() const {
        return TIterator(ElementFrom(FNode.first_child(), TItem::kTag), FDocument,
                         ChildBinding(FBinding, TItem::kTag));
    }
    TIterator end() const { return TIterator(pugi::xml_node(), FDocument, TXMLBinding::Plain); }

private:
    std::vector<pugi::xml_node_struct*>& Items() const;
};

class TXMLFilenameType : public TXMLNode {
public:
    static constexpr const char* kTag = kFilenameTag;
    using TXMLNode::TXMLNode;
    std::string_view Text() const { return AttributeText(kTextAttribute); }
    void SetText(std::string_view value) const { SetAttributeText(kTextAttribute, value); }
    // The file's size and modification time, when the disc was read with them.
    std::optional<std::uint64_t> Size() const { return RecordedSize(FNode); }
    std::optional<std::int64_t> Modified() const { return RecordedModified(FNode); }
    void SetSize(std::uint64_t bytes) const { SetSizeAttribute(bytes); }
    void SetModified(std::int64_t seconds) const { SetModifiedAttribute(seconds); }
};

class TXMLFilenamesType : public TXMLCollection<TXMLFilenameType> {
public:
    static constexpr const char* kTag = kFilenamesTag;
    using TXMLCollection::TXMLCollection;
    TXMLFilenameType Filename(int index) const { return Item(index); }
};

class TXMLDirectoriesType;

class TXMLDirectoryType : public TXMLNode {
public:
    static constexpr const char* kTag = kDirectoryTag;
    static constexpr const char* kRootTag = orlenta::kRootTag;
    using TXMLNode::TXMLNode;
    std::string_view Name() const { return AttributeText(kNameAttribute); }
    std::string_view ID() const { return AttributeText(kIDAttribute); }
    TXMLDirectoriesType Directories() const;
    TXMLFilenamesType Filenames() const;
    void SetName(std::string_view value) const { SetAttributeText(kNameAttribute, value); }
    void SetID(std::string_view value) const { SetAttributeText(kIDAttribute, value); }
    // The total size of the files recorded in the whole subtree and the directory's own
    // modification time, when the disc was read with sizes and dates.
    std::optional<std::uint64_t> Size() const { return RecordedSize(FNode); }
    std::optional<std::int64_t> Modified() const { return RecordedModified(FNode); }
    void SetSize(std::uint64_t bytes) const { SetSizeAttribute(bytes); }
    void SetModified(std::int64_t seconds) const { SetModifiedAttribute(seconds); }
    // The format of the archive whose contents the directory holds ("zip", "tar.gz", ...);
    // nothing for a directory of the file system. Reading it never adds it.
    std::optional<std::string_view> Archive() const {
        const pugi::xml_attribute archive = FNode.attribute(kArchiveAttribute);
        return archive ? std::optional<std::string_view>(archive.value()) : std::nullopt;
    }
    void SetArchive(std::string_view format) const { SetAttributeText(kArchiveAttribute, format); }
};

class TXMLDirectoriesType : public TXMLCollection<TXMLDirectoryType> {
public:
    static constexpr const char* kTag = kDirectoriesTag;
    using TXMLCollection::TXMLCollection;
    TXMLDirectoryType Directory(int index) const { return Item(index); }
};

class TXMLDiscType : public TXMLNode {
public:
    static constexpr const char* kTag = kDiscTag;
    using TXMLNode::TXMLNode;
    std::string_view Title() const { return AttributeText(kTitleAttribute); }
    std::string_view Vendor() const { return AttributeText(kVendorAttribute); }
    std::string_view MediaType() const { return AttributeText(kMediaTypeAttribute); }
    std::string_view CreationDate() const { return AttributeText(kCreationDateAttribute); }
    std::string_view ReadDate() const { return AttributeText(kReadDateAttribute); }
    std::string_view DirCount() const { return AttributeText(kDirCountAttribute); }
    std::string_view FileCount() const { return AttributeText(kFileCountAttribute); }
    std::string_view Memo() const { return AttributeText(kMemoAttribute); }
    TXMLDirectoryType Root() const;
    void SetTitle(std::string_view value) const { SetAttributeText(kTitleAttribute, value); }
    void SetVendor(std::string_view value) const { SetAttributeText(kVendorAttribute, value); }
    void SetMediaType(std::string_view value) const {
        SetAttributeText(kMediaTypeAttribute, value);
    }
    void SetCreationDate(std::string_view value) const {
        SetAttributeText(kCreationDateAttribute, value);
    }
    void SetReadDate(std::string_view value) const { SetAttributeText(kReadDateAttribute, value); }
    void SetDirCount(std::string_view value) const { SetAttributeText(kDirCountAttribute, value); }
    void SetFileCount(std::string_view value) const {
        SetAttributeText(kFileCountAttribute, value);
    }
    void SetMemo(std::string_view value) const { SetAttributeText(kMemoAttribute, value); }
    // The absolute path the disc was read from; absent for virtual discs and those read before
    // it was kept. Reading it adds nothing.
    std::optional<std::string_view> Source() const {
        const pugi::xml_attribute source = FNode.attribute(kSourceAttribute);
        return source ? std::optional<std::string_view>(source.value()) : std::nullopt;
    }
    void SetSource(std::string_view value) const { SetAttributeText(kSourceAttribute, value); }
    // The disc no longer says where it was read from.
    void RemoveSource() const { FNode.remove_attribute(kSourceAttribute); }
};

class TXMLDiscsType : public TXMLCollection<TXMLDiscType> {
public:
    static constexpr const char* kTag = kDiscsTag;
    using TXMLCollection::TXMLCollection;
    TXMLDiscType Disc(int index) const { return Item(index); }
};

class TXMLOrlentaDataType : public TXMLNode {
public:
    static constexpr const char* kTag = kOrlentaDataTag;
    using TXMLNode::TXMLNode;
    std::string_view Title() const { return AttributeText(kTitleAttribute); }
    std::string_view Memo() const { return AttributeText(kMemoAttribute); }
    std::string_view LastDirectoryID() const { return AttributeText(kLastDirectoryIDAttribute); }
    TXMLDiscsType Discs() const;
    void SetTitle(std::string_view value) const { SetAttributeText(kTitleAttribute, value); }
    void SetMemo(std::string_view value) const { SetAttributeText(kMemoAttribute, value); }
    void SetLastDirectoryID(std::string_view value) const {
        SetAttributeText(kLastDirectoryIDAttribute, value);
    }
};

// The interfaces the rest of the program names. Element handles do not own their document;
// IXMLOrlentaDataType does (below).
using IXMLDiscsType = TXMLDiscsType;
using IXMLDiscType = TXMLDiscType;
using IXMLDirectoryType = TXMLDirectoryType;
using IXMLDirectoriesType = TXMLDirectoriesType;
using IXMLFilenamesType = TXMLFilenamesType;
using IXMLFilenameType = TXMLFilenameType;

// The document: the DOM and the item lists of the collections reached so far.
class TXMLDocument {
public:
    TXMLDocument();
    TXMLDocument(const TXMLDocument&) = delete;
    TXMLDocument& operator=(const TXMLDocument&) = delete;

    pugi::xml_document& Xml() { return FXml; }
    const pugi::xml_document& Xml() const { return FXml; }
    // The root element bound as OrlentaData (empty when the document has no such root).
    TXMLOrlentaDataType DocumentElement();

    // Writes the document as XML text (UTF-8, no indentation) to path. Throws EOrlentaError.
    void SaveToFile(const std::string& path);
    // The same, to the open file; name is the file's name in messages. It is flushed, not closed.
    void SaveToStream(std::FILE* file, const std::string& name);

    // A new last child of parent with this tag, and a new attribute of element with this name
    // and the empty value. The tags and names of the schema are shared by every element that
    // bears them instead of being copied into each: on a catalogue of a million file names that
    // is tens of megabytes.
    pugi::xml_node AppendElement(pugi::xml_node parent, const char* tag);
    pugi::xml_attribute AppendAttribute(pugi::xml_node element, const char* name);

    // Item-list cache of the collections; used by TXMLCollection only.
    std::vector<pugi::xml_node_struct*>& ItemList(pugi::xml_node collection, const char* itemTag);
    void ItemAppended(pugi::xml_node collection, pugi::xml_node item);
    // Forgets the lists of every collection in the subtree about to be destroyed.
    void ForgetItemLists(pugi::xml_node subtree);

private:
    // The elements whose tag and attribute names new ones share. It stands before the root
    // element while elements are being added, and is taken out before the document is written.
    pugi::xml_node Prototypes();

    pugi::xml_document FXml;
    pugi::xml_node FPrototypes;
    std::unordered_map<pugi::xml_node_struct*, std::vector<pugi::xml_node_struct*>> FItemLists;
};

// The root element of an open catalogue, holding its document alive: the owning reference.
class IXMLOrlentaDataType : public TXMLOrlentaDataType {
public:
    IXMLOrlentaDataType() = default;
    explicit IXMLOrlentaDataType(std::shared_ptr<TXMLDocument> document);
    const std::shared_ptr<TXMLDocument>& Document() const { return FOwner; }

private:
    std::shared_ptr<TXMLDocument> FOwner;
};

// A new document: the declaration with version "1.0", then an empty root OrlentaData.
IXMLOrlentaDataType NewOrlentaData();

// Parses the file at path. Throws EOrlentaError with the three-line parse error, or
// "Interface not supported" when the root element is not OrlentaData.
IXMLOrlentaDataType LoadOrlentaData(const std::string& path);
// The same for the open file, read from its start; name is the file's name in messages.
IXMLOrlentaDataType LoadOrlentaData(std::FILE* file, const std::string& name);

// Hands out the next directory ID from the root's LastDirectoryID (empty or not a decimal
// integer counts as 0) and writes it back.
long long NextDirectoryID(const TXMLOrlentaDataType& root);

// --- TXMLCollection ---

template <typename TItem>
std::vector<pugi::xml_node_struct*>& TXMLCollection<TItem>::Items() const {
    return FDocument->ItemList(FNode, TItem::kTag);
}

template <typename TItem> int TXMLCollection<TItem>::Count() const {
    return static_cast<int>(Items().size());
}

template <typename TItem> TItem TXMLCollection<TItem>::Item(int index) const {
    return TItem(pugi::xml_node(Items().at(static_cast<size_t>(index))), FDocument,
                 ChildBinding(FBinding, TItem::kTag));
}

template <typename TItem> TItem TXMLCollection<TItem>::Add() const {
    pugi::xml_node item = FDocument->AppendElement(FNode, TItem::kTag);
    FDocument->ItemAppended(FNode, item);
    return TItem(item, FDocument, ChildBinding(FBinding, TItem::kTag));
}

template <typename TItem> int TXMLCollection<TItem>::Remove(const TItem& item) const {
    auto& items = Items();
    for (size_t i = 0; i < items.size(); ++i) {
        if (items[i] == item.XmlNode().internal_object()) {
            pugi::xml_node node(items[i]);
            items.erase(items.begin() + static_cast<std::ptrdiff_t>(i));
            // Node memory is reused by later additions: no list may stay keyed by a dead node.
            FDocument->ForgetItemLists(node);
            FNode.remove_child(node);
            return static_cast<int>(i);
        }
    }
    return -1;
}

} // namespace orlenta
