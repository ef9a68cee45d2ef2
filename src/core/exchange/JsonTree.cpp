#include "core/exchange/JsonTree.h"

#include "core/exchange/ExportWalk.h"
#include "core/exchange/JsonText.h"

namespace orlenta {

namespace {

void AppendReadableAttributes(std::string& text, pugi::xml_node element) {
    if (const auto size = RecordedSize(element)) {
        text.append(",\"size\":");
        text.append(element.attribute(kSizeAttribute).value());
    }
    if (RecordedModified(element)) {
        text.append(",\"modified\":\"");
        text.append(element.attribute(kModifiedAttribute).value());
        text.push_back('"');
    }
}

void AppendCompactAttributes(TTextSink& sink, pugi::xml_node element) {
    std::string& text = sink.Text();
    text.push_back(',');
    if (const auto size = RecordedSize(element))
        sink.AppendNumber(*size);
    else
        text.append("null");
    text.push_back(',');
    if (const auto modified = RecordedModified(element))
        sink.AppendNumber(*modified);
    else
        text.append("null");
}

void OpenDirectory(const TExportDirectory& directory, TJsonTreeForm form, TTextSink& sink) {
    std::string& text = sink.Text();
    const pugi::xml_attribute archive = directory.Node.attribute(kArchiveAttribute);
    if (form == TJsonTreeForm::Readable) {
        text.append("{\"name\":");
        AppendJsonString(text, directory.Name);
        AppendReadableAttributes(text, directory.Node);
        if (archive) {
            text.append(",\"archive\":");
            AppendJsonString(text, archive.value());
        }
        text.append(",\"files\":[");
        bool first = true;
        ForEachFilenameElement(directory.Node, [&](pugi::xml_node file) {
            text.append(first ? "{\"name\":" : ",{\"name\":");
            first = false;
            AppendJsonString(text, file.attribute(kTextAttribute).value());
            AppendReadableAttributes(text, file);
            text.push_back('}');
            sink.Written();
        });
        text.append("],\"directories\":[");
        return;
    }
    text.push_back('[');
    AppendJsonString(text, directory.Name, true);
    AppendCompactAttributes(sink, directory.Node);
    text.push_back(',');
    AppendJsonString(text, archive.value(), true);
    text.append(",[");
    bool first = true;
    ForEachFilenameElement(directory.Node, [&](pugi::xml_node file) {
        if (!first)
            text.push_back(',');
        first = false;
        AppendJsonString(text, file.attribute(kTextAttribute).value(), true);
        AppendCompactAttributes(sink, file);
        sink.Written();
    });
    text.append("],[");
}

void CloseDirectory(TJsonTreeForm form, TTextSink& sink) {
    sink.Append(form == TJsonTreeForm::Readable ? "]}" : "]]");
}

} // namespace

void WriteJsonTree(pugi::xml_node root, TXMLDocument* document, TJsonTreeForm form,
                   TTextSink& sink) {
    if (!root) {
        sink.Append(form == TJsonTreeForm::Readable
                        ? "{\"name\":\"\",\"files\":[],\"directories\":[]}"
                        : "[\"\",null,null,\"\",[],[]]");
        return;
    }
    // A directory's subdirectories follow it in the walk: it stays open until the walk comes back
    // to its depth or above.
    int openDepth = -1;
    WalkExportDirectories(TXMLDirectoryType(root, document, TXMLBinding::Directory),
                          [&](const TExportDirectory& directory) {
                              // A directory open at its depth is its previous sibling.
                              const bool sibling = openDepth >= directory.Depth;
                              for (; openDepth >= directory.Depth; --openDepth)
                                  CloseDirectory(form, sink);
                              if (sibling)
                                  sink.Append(',');
                              OpenDirectory(directory, form, sink);
                              openDepth = directory.Depth;
                              sink.Written();
                          });
    for (; openDepth >= 0; --openDepth)
        CloseDirectory(form, sink);
}

} // namespace orlenta
