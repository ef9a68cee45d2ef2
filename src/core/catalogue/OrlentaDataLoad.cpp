#include "core/base/OrlentaError.h"
#include "core/catalogue/OrlentaData.h"
#include "core/datafile/DataFile.h"
#include "core/xml/WellFormedness.h"
#include "core/xml/XmlSource.h"

#include <cerrno>
#include <cstring>

namespace orlenta {

namespace {

// Comments, processing instructions and a document type are kept so that a file written by
// another tool survives a load and a save; white-space-only text is dropped.
constexpr unsigned kParseOptions = pugi::parse_default | pugi::parse_declaration |
                                   pugi::parse_comments | pugi::parse_pi | pugi::parse_doctype;

// The text in memory is UTF-8 whatever the file was: a declaration that names another encoding
// would make the saved file lie about its bytes.
void DeclareUtf8(pugi::xml_document& xml) {
    for (pugi::xml_node node = xml.first_child(); node; node = node.next_sibling()) {
        if (node.type() == pugi::node_declaration) {
            if (pugi::xml_attribute encoding = node.attribute("encoding"))
                encoding.set_value("UTF-8");
            return;
        }
    }
}

// The binding matches names without namespace; a root in a default namespace is another element.
bool InNamespace(pugi::xml_node element) {
    return *element.attribute("xmlns").value() != '\0';
}

} // namespace

IXMLOrlentaDataType LoadOrlentaData(const std::string& path) {
    const TFilePtr file(std::fopen(path.c_str(), "rb"));
    if (!file)
        throw CannotOpenFileError(path, errno);
    return LoadOrlentaData(file.get(), path);
}

IXMLOrlentaDataType LoadOrlentaData(std::FILE* file, const std::string& path) {
    auto document = std::make_shared<TXMLDocument>();
    TXmlSourceBuffer source = ReadXmlSourceAsUtf8(file, path);
    const size_t size = source.Size();
    // The parse below rewrites the text in place: quote the faulty line before it runs.
    TXmlConversions conversions;
    const TXmlViolation violation =
        FindXmlViolation({source.Data(), size}, TXmlScan::Blocks, &conversions);
    const std::string violationError =
        violation ? XmlParseErrorAt(violation.Reason, {source.Data(), size}, violation.Offset)
                  : std::string();
    const pugi::xml_parse_result result = document->Xml().load_buffer_inplace_own(
        source.Release(), size,
        violation ? kParseOptions : WithoutIdleConversions(kParseOptions, conversions),
        pugi::encoding_utf8);
    // Of two faults the first in the text is reported; pugixml's texts win where both see one.
    if (!result && (!violation || violation.ParserReportsIt ||
                    static_cast<size_t>(result.offset) < violation.Offset)) {
        // The parse consumed the buffer in place; read the text again to quote the line.
        const TXmlSourceBuffer text = ReadXmlSourceAsUtf8(file, path);
        throw EOrlentaError(XmlParseErrorAt(result.description(),
                                            std::string_view(text.Data(), text.Size()),
                                            static_cast<size_t>(result.offset)));
    }
    if (!violationError.empty())
        throw EOrlentaError(violationError);
    if (const TXmlViolation topLevel = FindTopLevelViolation(document->Xml())) {
        const TXmlSourceBuffer text = ReadXmlSourceAsUtf8(file, path);
        throw EOrlentaError(XmlParseErrorAt(
            topLevel.Reason, std::string_view(text.Data(), text.Size()), topLevel.Offset));
    }
    const TXMLOrlentaDataType root = document->DocumentElement();
    if (!root || InNamespace(root.XmlNode()))
        throw EOrlentaError(kInterfaceNotSupported);
    DeclareUtf8(document->Xml());
    return IXMLOrlentaDataType(std::move(document));
}

} // namespace orlenta
