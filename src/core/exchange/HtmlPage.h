#pragma once

// The fixed parts of the exported web page: everything but the data. No part of it comes from a
// catalogue. They are edited as the page's own files in page/ (the markup up to the catalogue's
// data element, the style sheet and the script) and compiled in by the build.
//
// The data stands in script elements of type application/json, one for the catalogue and its
// discs' properties, one per disc's tree, so that opening the page parses only the first disc's
// tree; a search parses the others when it first needs them. The page's script follows the
// first disc's tree, so the page shows that disc while the browser still reads the others. Folders
// are built when opened and a folder's files a few thousand at a time, so a large catalogue never
// becomes a million elements. Every name reaches the page through textContent.

namespace orlenta {

// From the document type to the opening of the catalogue's data element.
extern const char* const kHtmlPageHead;
// The page's script, after the catalogue's data element and the first disc's tree.
extern const char* const kHtmlPageScript;
// The end of the document, after the other discs' trees.
extern const char* const kHtmlPageEnd;

} // namespace orlenta
