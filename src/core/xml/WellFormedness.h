#pragma once

// pugixml builds its DOM from text that XML 1.0 forbids, and the program would save that DOM as
// text that is not XML: a repeated attribute, a second root element, '<' in an attribute value,
// an undefined entity kept as literal text. This pass reads the raw text once before pugixml
// parses it and finds the first place where it is not well-formed.

#include "core/xml/XmlViolation.h"

#include <pugixml.hpp>
#include <string_view>

namespace orlenta {

// pugixml's parse options without the conversions that have no work in the text.
unsigned WithoutIdleConversions(unsigned options, const TXmlConversions& conversions);

// Checks UTF-8 text against the well-formedness rules of XML 1.0: valid UTF-8 holding only
// characters XML allows, one root element and nothing but comments, processing instructions,
// white space and one document type declaration around it, each attribute once per tag, no '<'
// in attribute values, references that are well-formed and name a predefined entity or a
// character XML allows, no '--' in comments, no ']]>' in text, an XML declaration only at the
// start and in its own syntax. Entities other than the five predefined ones are refused even when
// the document type declares them: nothing here expands them. Declarations inside the document
// type are read only as far as needed to find their ends and the entities they declare.
//
// Names and the syntax of tags are left to pugixml, and so, where the text ends in a tag, are the
// elements after the root element's end: the caller parses the text with pugixml and then checks
// its top level with FindTopLevelViolation.
// Where the text is well-formed, conversions (when given) tells which conversions it needs.
TXmlViolation FindXmlViolation(std::string_view text, TXmlScan scan = TXmlScan::Blocks,
                               TXmlConversions* conversions = nullptr);

// The first fault at the top level of a document pugixml parsed in place from a buffer: a second
// element or character data. Offset is into that buffer.
TXmlViolation FindTopLevelViolation(const pugi::xml_document& document);

} // namespace orlenta
