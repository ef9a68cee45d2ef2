#pragma once

// The names of the catalogue's elements and attributes as they are stored: the one place that
// spells them. The access layer, the walks, the exporters, the lists and the searches name them
// through these, so that a misspelt name cannot compile.

namespace orlenta {

// Elements, from the document's root down.
inline constexpr const char* kOrlentaDataTag = "OrlentaData";
inline constexpr const char* kDiscsTag = "Discs";
inline constexpr const char* kDiscTag = "Disc";
inline constexpr const char* kRootTag = "Root"; // the Directory that stands for a disc's top
inline constexpr const char* kDirectoriesTag = "Directories";
inline constexpr const char* kDirectoryTag = "Directory";
inline constexpr const char* kFilenamesTag = "Filenames";
inline constexpr const char* kFilenameTag = "Filename";

// The catalogue's own (OrlentaData) and a disc's (Disc); Title and Memo on both.
inline constexpr const char* kTitleAttribute = "Title";
inline constexpr const char* kMemoAttribute = "Memo";
inline constexpr const char* kLastDirectoryIDAttribute = "LastDirectoryID";
inline constexpr const char* kVendorAttribute = "Vendor";
inline constexpr const char* kMediaTypeAttribute = "MediaType";
inline constexpr const char* kCreationDateAttribute = "CreationDate";
inline constexpr const char* kReadDateAttribute = "ReadDate";
inline constexpr const char* kDirCountAttribute = "DirCount";
inline constexpr const char* kFileCountAttribute = "FileCount";
// Optional, on Disc: the absolute path the disc was read from.
inline constexpr const char* kSourceAttribute = "Source";

// A directory's (Root and Directory) and a file's (Filename).
inline constexpr const char* kNameAttribute = "Name";
inline constexpr const char* kIDAttribute = "ID";
inline constexpr const char* kTextAttribute = "Text";
// Optional, on Directory: the format of the archive whose contents it holds.
inline constexpr const char* kArchiveAttribute = "Archive";
// Optional, on Filename, Root and Directory: bytes, and the modification time in UTC.
inline constexpr const char* kSizeAttribute = "Size";
inline constexpr const char* kModifiedAttribute = "Modified";

} // namespace orlenta
