#include "core/catalogue/EscapedText.h"
#include "core/exchange/CatalogueExport.h"
#include "core/exchange/ExportWalk.h"
#include "core/exchange/JsonText.h"
#include "core/exchange/JsonTree.h"

namespace orlenta {

namespace {

// The disc's properties as stored, in the order the disc panel shows them, with their JSON keys.
constexpr std::pair<const char*, const char*> kDiscProperties[] = {
    {"title", kTitleAttribute},         {"vendor", kVendorAttribute},
    {"mediaType", kMediaTypeAttribute}, {"creationDate", kCreationDateAttribute},
    {"readDate", kReadDateAttribute},   {"dirCount", kDirCountAttribute},
    {"fileCount", kFileCountAttribute},
};

void AppendMember(std::string& text, const char* key, std::string_view value) {
    text.push_back('"');
    text.append(key);
    text.append("\":");
    AppendJsonString(text, value);
}

void WriteDisc(pugi::xml_node disc, int index, TXMLDocument* document, TTextSink& sink) {
    std::string& text = sink.Text();
    text.append("{\"index\":");
    sink.AppendNumber(static_cast<std::int64_t>(index));
    for (const auto& [key, attribute] : kDiscProperties) {
        text.push_back(',');
        AppendMember(text, key, disc.attribute(attribute).value());
    }
    text.push_back(',');
    AppendMember(text, "memo", UnescapeText(disc.attribute(kMemoAttribute).value()));
    if (const pugi::xml_attribute source = disc.attribute(kSourceAttribute)) {
        text.push_back(',');
        AppendMember(text, "source", source.value());
    }
    text.append(",\"root\":");
    WriteJsonTree(ElementFrom(disc.first_child(), TXMLDirectoryType::kRootTag), document,
                  TJsonTreeForm::Readable, sink);
    text.push_back('}');
}

} // namespace

void WriteCatalogueJson(const TXMLOrlentaDataType& root, const TExportScope& scope,
                        std::ostream& out) {
    TTextSink sink(out);
    std::string& text = sink.Text();
    const pugi::xml_node element = root.XmlNode();
    text.push_back('{');
    AppendMember(text, "title", element.attribute(kTitleAttribute).value());
    text.push_back(',');
    AppendMember(text, "memo", UnescapeText(element.attribute(kMemoAttribute).value()));
    text.append(",\"discs\":[");
    bool first = true;
    for (const auto& [index, disc] : ExportedDiscs(root, scope.Disc)) {
        if (!first)
            sink.Append(',');
        first = false;
        WriteDisc(disc, index, root.OwnerDocument(), sink);
    }
    sink.Append("]}\n");
    sink.Flush();
}

} // namespace orlenta
