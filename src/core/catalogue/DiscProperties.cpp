#include "core/catalogue/DiscProperties.h"

#include "core/catalogue/EscapedText.h"

namespace orlenta {

TDiscProperties ReadDiscProperties(const TXMLDiscType& disc) {
    if (!disc)
        return {};
    TDiscProperties properties;
    properties.Vendor = disc.Vendor();
    properties.Title = disc.Title();
    properties.MediaType = disc.MediaType();
    properties.CreationDate = disc.CreationDate();
    properties.ReadDate = disc.ReadDate();
    properties.DirCount = disc.DirCount();
    properties.FileCount = disc.FileCount();
    properties.Memo = UnescapeText(disc.Memo());
    properties.Source = std::string(disc.Source().value_or(""));
    return properties;
}

void WriteDiscProperties(const TXMLDiscType& disc, const TDiscProperties& properties) {
    disc.SetVendor(properties.Vendor);
    disc.SetTitle(properties.Title);
    disc.SetMediaType(properties.MediaType);
    disc.SetCreationDate(properties.CreationDate);
    disc.SetReadDate(properties.ReadDate);
    disc.SetDirCount(properties.DirCount);
    disc.SetFileCount(properties.FileCount);
    // A memo the user left as it was shown keeps its stored form: escaping the decoded text again
    // could write it differently (an escape for a plain letter, a lone line feed).
    if (properties.Memo != UnescapeText(disc.Memo()))
        disc.SetMemo(EscapeText(properties.Memo));
    // A disc that never said where it was read from stays so when the field is left empty.
    if (properties.Source == disc.Source().value_or(""))
        return;
    if (properties.Source.empty())
        disc.RemoveSource();
    else
        disc.SetSource(properties.Source);
}

} // namespace orlenta
