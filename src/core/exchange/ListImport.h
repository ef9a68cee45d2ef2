#pragma once

// A new disc from a list of files: the disc is added as a virtual one is, then its tree is built
// from the list's paths, with a directory for every folder a path names.

#include "core/catalogue/CatalogueSession.h"
#include "core/exchange/FileList.h"

#include <optional>
#include <string>

namespace orlenta {

// Reads the list at path and appends a disc built from it to the open catalogue (a new one when
// none is open); the disc becomes the selected one. Its title is title when given, else the one
// the list holds, else the list's file name without its extension. Throws EOrlentaError, and adds
// nothing, when the list cannot be read, one of its lines is malformed, or a path names both a
// file and a folder.
// forSpreadsheets: a CSV exported for spreadsheets (TExportScope::ForSpreadsheets).
IXMLDiscType ImportFileList(TCatalogueSession& session, const std::string& path, TListFormat format,
                            const std::optional<std::string>& title, bool forSpreadsheets = false);

} // namespace orlenta
