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

namespace {

// Reports the hits of one directory itself: its name, then its file names.
bool DirectoryOwnHits(const TSearchText& text, const TXMLDirectoryType& directory, bool inDirectory,
                      bool inFilename, const std::function<bool(const TDirectoryHit&)>& onHit) {
    if (inDirectory && text.Matches(directory.Name()) &&
        !onHit({TSearchField::Directory, directory, {}}))
        return false;
    if (inFilename) {
        for (const TXMLFilenameType file : directory.Filenames()) {
            const std::string_view name = file.Text();
            if (text.Matches(name) && !onHit({TSearchField::Filename, directory, name}))
                return false;
        }
    }
    return true;
}

} // namespace

bool WalkDirectoryHits(const TSearchText& text, const TXMLDirectoryType& directory,
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
            return DirectoryOwnHits(text, current, inDirectory, inFilename, onHit);
        });
    if (path != nullptr)
        path->resize(startLength);
    return completed;
}

std::string_view FindInDirectory(const TSearchText& text, const TXMLDirectoryType& directory,
                                 bool inDirectory, bool inFilename) {
    std::string_view id;
    WalkDirectoryHits(text, directory, inDirectory, inFilename, [&id](const TDirectoryHit& hit) {
        id = hit.Directory.ID();
        return false;
    });
    return id;
}

bool SearchCatalogue(const TXMLOrlentaDataType& root, const TSearchRequest& request,
                     const std::function<bool(const TSearchHit&)>& onHit) {
    const TSearchText text(request.Text, request.Wildcards);
    const TXMLDiscsType discs = root.Discs();
    const int count = discs.Count();
    for (int index = 0; index < count; ++index) {
        const TXMLDiscType disc = discs.Disc(index);
        auto report = [&](TSearchField field, std::string_view id) {
            return onHit({index, disc, field, id});
        };
        if (request.InTitle && text.Matches(disc.Title()) &&
            !report(TSearchField::Title, disc.Root().ID()))
            return false;
        if (request.InVendor && text.Matches(disc.Vendor()) &&
            !report(TSearchField::Vendor, disc.Root().ID()))
            return false;
        if (request.InMemo && text.Matches(disc.Memo()) &&
            !report(TSearchField::Memo, disc.Root().ID()))
            return false;
        if (request.InDirectory || request.InFilename) {
            bool goOn = true;
            WalkDirectoryHits(text, disc.Root(), request.InDirectory, request.InFilename,
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
