#pragma once

// A small catalogue whose names are what breaks careless writers, and a reader of RFC 4180 text
// of the test's own, so that the export is checked by a parser and not by the code under test.

#include "core/catalogue/OrlentaData.h"

#include <string>
#include <vector>

namespace orlenta::test {

// Names no writer may alter or let out of their quotes.
inline const std::vector<std::string> kHostileNames = {
    "a<b&c>",   "q\"u,o\nte", "cr\r\nlf", "</script>", "tab\there", "\xC3\xBC \xE6\x97\xA5",
    "-- ,\"\"", "<!--",       "\\u003c",
};

// One disc "Hostile, \"disc\"": the top directory holds a file of each hostile name (sizes 0,
// 1, ...), the directory "</script>" (size 42, modified 2024-01-02T03:04:05Z) holds the file
// "x&y" of 42 bytes, and the directory "box.zip" with Archive="zip" holds "in zip". Two last
// files, named below the access layer, hold a byte that is not UTF-8 and control characters.
IXMLOrlentaDataType HostileCatalogue();

// The records of RFC 4180 text with CRLF line ends; throws std::runtime_error when it is not.
std::vector<std::vector<std::string>> ParseRfc4180(const std::string& text);

} // namespace orlenta::test
