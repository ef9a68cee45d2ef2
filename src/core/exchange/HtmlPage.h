#pragma once

// The fixed parts of the exported web page: everything but the data. No part of it comes from a
// catalogue.

namespace orlenta {

// From the document type to the opening of the catalogue's data element.
extern const char* const kHtmlPageHead;
// The page's script, after the catalogue's data element and the first disc's tree.
extern const char* const kHtmlPageScript;
// The end of the document, after the other discs' trees.
extern const char* const kHtmlPageEnd;

} // namespace orlenta
