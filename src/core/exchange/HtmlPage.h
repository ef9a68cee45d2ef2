#pragma once

// The fixed parts of the exported web page: everything but the data. No part of it comes from a
// catalogue.

namespace orlenta {

// From the document type to the opening of the catalogue's data element.
extern const char* const kHtmlPageHead;
// The page's script and the end of the document, after the data elements.
extern const char* const kHtmlPageTail;

} // namespace orlenta
