#include "core/search/CatalogueSearch.h"

#include "core/catalogue/DirectoryWalk.h"

#include <vector>

namespace orlenta {

std::string_view SearchFieldName(TSearchField field) {
    switch (field) {
    case TSearchField::Title: return "title";
    case TSearchField::Vendor: return "vendor";
    case TSearchField::Memo: return "memo";
    case TSearchField::Directory: return "directory";
    case TSearchField::Filename: return "filename";
    }
    return {};
}

bool ContainsUpperKeyword(std::string_view upperKeyword, std::string_view value) {
    if (upperKeyword.empty() || value.size() < upperKeyword.size())
        return false;
    // Most bytes of a value fail on the keyword's first byte, so that test is most of the cost
    // of matching a million names; it is kept to one mask and one compare. An upper-case letter
    // is met by itself and by its lower-case form, which differs only in bit 5: clearing that
    // bit of the value's byte matches exactly those two. Any other byte matches only itself.
    const unsigned char first = static_cast<unsigned char>(upperKeyword.front());
    const unsigned char firstMask = (first >= 'A' && first <= 'Z') ? 0xDF : 0xFF;
    const size_t lastStart = value.size() - upperKeyword.size();
    for (size_t start = 0; start <= lastStart; ++start) {
        if ((static_cast<unsigned char>(value[start]) & firstMask) != first)
            continue;
        size_t k = 1;
        while (k < upperKeyword.size() && UpperAscii(value[start + k]) == upperKeyword[k])
            ++k;
        if (k == upperKeyword.size())
            return true;
    }
    return false;
}

bool ContainsKeyword(std::string_view keyword, std::string_view value) {
    return ContainsUpperKeyword(UpperCaseAscii(keyword), value);
}

namespace {

// Reports the hits of one directory itself: its name, then its file names.
bool DirectoryOwnHits(std::string_view upperKeyword, const TXMLDirectoryType& directory,
                      bool inDirectory, bool inFilename,
                      const std::function<bool(const TDirectoryHit&)>& onHit) {
    if (inDirectory && ContainsUpperKeyword(upperKeyword, directory.Name()) &&
        !onHit({TSearchField::Directory, directory, {}}))
        return false;
    if (inFilename) {
        for (const TXMLFilenameType file : directory.Filenames()) {
            const std::string_view name = file.Text();
            if (ContainsUpperKeyword(upperKeyword, name) &&
                !onHit({TSearchField::Filename, directory, name}))
                return false;
        }
    }
    return true;
}

} // namespace

bool WalkDirectoryHits(std::string_view upperKeyword, const TXMLDirectoryType& directory,
                       bool inDirectory, bool inFilename,
                       const std::function<bool(const TDirectoryHit&)>& onHit, std::string* path) {
    // The path's length at each depth, so that a directory's path is its parent's and its name.
    std::vector<size_t> pathLengths;
    const size_t startLength = path != nullptr ? path->size() : 0;
    const bool completed = WalkDirectories(
        directory, TWalkAccess::AccessLayer, [&](const TXMLDirectoryType& current, int depth) {
            if (path != nullptr) {
                pathLengths.resize(static_cast<size_t>(depth));
                path->resize(depth == 0 ? startLength : pathLengths.back());
                if (depth > 0) {
                    *path += '/';
                    *path += current.Name();
                }
                pathLengths.push_back(path->size());
            }
            return DirectoryOwnHits(upperKeyword, current, inDirectory, inFilename, onHit);
        });
    if (path != nullptr)
        path->resize(startLength);
    return completed;
}

std::string_view FindInDirectory(std::string_view upperKeyword, const TXMLDirectoryType& directory,
                                 bool inDirectory, bool inFilename) {
    std::string_view id;
    WalkDirectoryHits(upperKeyword, directory, inDirectory, inFilename,
                      [&id](const TDirectoryHit& hit) {
                          id = hit.Directory.ID();
                          return false;
                      });
    return id;
}

bool SearchCatalogue(const TXMLOrlentaDataType& root, const TSearchRequest& request,
                     const std::function<bool(const TSearchHit&)>& onHit) {
    const std::string keyword = UpperCaseAscii(request.Keyword);
    const TXMLDiscsType discs = root.Discs();
    const int count = discs.Count();
    for (int index = 0; index < count; ++index) {
        const TXMLDiscType disc = discs.Disc(index);
        auto report = [&](TSearchField field, std::string_view id) {
            return onHit({index, disc, field, id});
        };
        if (request.InTitle && ContainsUpperKeyword(keyword, disc.Title()) &&
            !report(TSearchField::Title, disc.Root().ID()))
            return false;
        if (request.InVendor && ContainsUpperKeyword(keyword, disc.Vendor()) &&
            !report(TSearchField::Vendor, disc.Root().ID()))
            return false;
        if (request.InMemo && ContainsUpperKeyword(keyword, disc.Memo()) &&
            !report(TSearchField::Memo, disc.Root().ID()))
            return false;
        if (request.InDirectory || request.InFilename) {
            bool goOn = true;
            WalkDirectoryHits(keyword, disc.Root(), request.InDirectory, request.InFilename,
                              [&](const TDirectoryHit& hit) {
                                  goOn = report(hit.Field, hit.Directory.ID());
                                  return false; // at most one directory hit per disc
                              });
            if (!goOn)
                return false;
        }
    }
    return true;
}

} // namespace orlenta
