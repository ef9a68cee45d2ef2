#include "core/catalogue/EscapedText.h"
#include "core/exchange/CatalogueExport.h"
#include "core/exchange/ExportWalk.h"
#include "core/exchange/HtmlPage.h"
#include "core/exchange/JsonText.h"
#include "core/exchange/JsonTree.h"

#include <utility>
#include <vector>

namespace orlenta {

namespace {

// The disc properties the page lists, with their labels, as the disc panel shows them.
constexpr std::pair<const char*, const char*> kDiscProperties[] = {
    {"Vendor", kVendorAttribute},
    {"Media type", kMediaTypeAttribute},
    {"Creation date", kCreationDateAttribute},
    {"Read date", kReadDateAttribute},
    {"Directories", kDirCountAttribute},
    {"Files", kFileCountAttribute},
};

void AppendProperty(std::string& text, std::string_view label, std::string_view value) {
    text.push_back('[');
    AppendJsonString(text, label, true);
    text.push_back(',');
    AppendJsonString(text, value, true);
    text.push_back(']');
}

} // namespace

void WriteCatalogueHtml(const TXMLOrlentaDataType& root, const TExportScope& scope,
                        std::ostream& out) {
    TTextSink sink(out);
    std::string& text = sink.Text();
    const pugi::xml_node element = root.XmlNode();
    std::vector<pugi::xml_node> chosen;
    for (const auto& entry : ExportedDiscs(root, scope.Disc))
        chosen.push_back(entry.second);

    text.append(kHtmlPageHead);
    text.append("{\"title\":");
    AppendJsonString(text, element.attribute(kTitleAttribute).value(), true);
    text.append(",\"memo\":");
    AppendJsonString(text, UnescapeText(element.attribute(kMemoAttribute).value()), true);
    text.append(",\"discs\":[");
    for (std::size_t i = 0; i < chosen.size(); ++i) {
        const pugi::xml_node disc = chosen[i];
        text.append(i == 0 ? "{\"title\":" : ",{\"title\":");
        AppendJsonString(text, disc.attribute(kTitleAttribute).value(), true);
        text.append(",\"properties\":[");
        for (const auto& [label, attribute] : kDiscProperties) {
            AppendProperty(text, label, disc.attribute(attribute).value());
            text.push_back(',');
        }
        AppendProperty(text, "Memo", UnescapeText(disc.attribute(kMemoAttribute).value()));
        if (const pugi::xml_attribute source = disc.attribute(kSourceAttribute)) {
            text.push_back(',');
            AppendProperty(text, "Read from", source.value());
        }
        text.append("]}");
    }
    text.append("]}</script>\n");
    for (std::size_t i = 0; i < chosen.size(); ++i) {
        sink.Append("<script type=\"application/json\" class=\"tree\">");
        WriteJsonTree(ElementFrom(chosen[i].first_child(), TXMLDirectoryType::kRootTag),
                      root.OwnerDocument(), TJsonTreeForm::Compact, sink);
        sink.Append("</script>\n");
        if (i == 0)
            sink.Append(kHtmlPageScript);
    }
    if (chosen.empty())
        sink.Append(kHtmlPageScript);
    sink.Append(kHtmlPageEnd);
    sink.Flush();
}

} // namespace orlenta
