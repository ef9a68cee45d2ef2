#pragma once

// What the well-formedness scan reports, apart from the scan itself.

#include <cstddef>
#include <string>

namespace orlenta {

// The first place where a text is not well-formed XML 1.0; empty when there is none.
struct TXmlViolation {
    std::string Reason; // the parse error's reason; empty when the text is well-formed
    size_t Offset = 0;  // byte offset of the fault in the text
    // A fault pugixml reports itself (a broken tag, an element left open, no root element). Its
    // message is the one to show, so that the texts of those errors stay as they were.
    bool ParserReportsIt = false;

    explicit operator bool() const { return !Reason.empty(); }
};

// Which of pugixml's conversions have work in a text: with no carriage return there is no line
// end to normalise, with no tab, LF or CR in an attribute value no white space to turn into spaces,
// with no reference nothing to decode. Parsing without them builds the same DOM, faster.
struct TXmlConversions {
    bool LineEnds = false;
    bool ValueWhiteSpace = false;
    bool References = false;
};

// How FindXmlViolation reads the inside of the root element: 64 bytes at a time where bit
// operations show them well-formed, or every byte that matters one by one (for tests: both must
// find the same).
enum class TXmlScan { Blocks, Bytes };

} // namespace orlenta
