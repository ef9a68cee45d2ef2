#pragma once

// A disc's tree as JSON, in the readable form of the JSON export or the compact form the web page
// embeds.

#include "core/catalogue/OrlentaData.h"
#include "core/exchange/TextSink.h"

namespace orlenta {

enum class TJsonTreeForm {
    // {"name":…,"size":…,"modified":"…","archive":"…","files":[{…}],"directories":[…]}; size,
    // modified and archive only where recorded.
    Readable,
    // [name,size,modified,archive,[name,size,modified,…],[directories…]]: a file is three values,
    // size and modified (seconds since 1970, UTC) null when not recorded, archive "" when none;
    // strings escaped to stand inside an HTML script element.
    Compact,
};

// Appends the tree below root (a Root element; none gives an empty top directory) to sink.
void WriteJsonTree(pugi::xml_node root, TXMLDocument* document, TJsonTreeForm form,
                   TTextSink& sink);

} // namespace orlenta
