#pragma once

#include "core/catalogue/OrlentaData.h"

#include <string>

namespace orlenta {

// The properties of a disc as the disc panel shows them: the memo decoded.
struct TDiscProperties {
    std::string Title;
    std::string Vendor;
    std::string MediaType;
    std::string CreationDate;
    std::string ReadDate;
    std::string DirCount;
    std::string FileCount;
    std::string Memo;
    // Where the disc was read from; empty when it does not say.
    std::string Source;
};

// The properties of disc (all empty for no disc), the memo decoded from its stored form.
TDiscProperties ReadDiscProperties(const TXMLDiscType& disc);

// Stores the properties into disc in the order Vendor, Title, MediaType, CreationDate, ReadDate,
// DirCount, FileCount, Memo; the memo escaped, nothing trimmed or checked. A memo equal to the
// stored one once decoded keeps its stored form. Source is touched only when it differs from the
// stored one (none counting as empty): a new text is stored, an emptied one removed.
void WriteDiscProperties(const TXMLDiscType& disc, const TDiscProperties& properties);

} // namespace orlenta
