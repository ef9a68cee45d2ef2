#include "core/search/FindAll.h"

#include <algorithm>
#include <charconv>
#include <numeric>

namespace orlenta {

namespace {

template <typename T> int Compare(const T& a, const T& b) {
    return a < b ? -1 : b < a ? 1 : 0;
}

// The order FindAll reports: by disc, its title, vendor and memo (the first three fields, in
// that order) before its names, names in walk order.
bool FoundBefore(const TFindHit& a, const TFindHit& b) {
    if (a.Disc != b.Disc)
        return a.Disc < b.Disc;
    const auto rank = [](const TFindHit& hit) {
        return hit.Entry == TNameIndex::kNone ? static_cast<std::uint64_t>(hit.Field)
                                              : std::uint64_t{3} + hit.Entry;
    };
    return rank(a) < rank(b);
}

// Ranks by key of the items 0 to count - 1: equal keys get equal ranks.
template <typename TCompare> std::vector<std::uint32_t> Ranks(size_t count, TCompare compare) {
    std::vector<std::uint32_t> order(count);
    std::iota(order.begin(), order.end(), std::uint32_t{0});
    std::sort(order.begin(), order.end(),
              [&](std::uint32_t a, std::uint32_t b) { return compare(a, b) < 0; });
    std::vector<std::uint32_t> ranks(count);
    std::uint32_t rank = 0;
    for (size_t i = 0; i < order.size(); ++i) {
        if (i > 0 && compare(order[i - 1], order[i]) != 0)
            ++rank;
        ranks[order[i]] = rank;
    }
    return ranks;
}

// Ranks of the directories the hits name, by path (kNone for the others). Only those paths
// are built: a handful of hits must not cost a path for each of 100,000 directories.
std::vector<std::uint32_t> DirectoryPathRanks(const TNameIndex& index,
                                              const std::vector<TFindHit>& hits) {
    std::vector<std::uint32_t> ranks(index.DirectoryCount(), TNameIndex::kNone);
    std::vector<std::uint32_t> directories;
    for (const TFindHit& hit : hits) {
        if (ranks[hit.Directory] == TNameIndex::kNone) {
            ranks[hit.Directory] = 0;
            directories.push_back(hit.Directory);
        }
    }
    // A separator below every character a name holds, so that a directory comes right before
    // its subdirectories and "/a/b" before "/a b".
    std::vector<std::string> keys(directories.size());
    for (size_t i = 0; i < directories.size(); ++i) {
        index.AppendPath(keys[i], directories[i]);
        std::replace(keys[i].begin(), keys[i].end(), '/', '\x01');
    }
    const std::vector<std::uint32_t> keyRanks =
        Ranks(keys.size(),
              [&](std::uint32_t a, std::uint32_t b) { return CompareNames(keys[a], keys[b]); });
    for (size_t i = 0; i < directories.size(); ++i)
        ranks[directories[i]] = keyRanks[i];
    return ranks;
}

} // namespace

namespace {

// FindAll with the text taken apart: a name part of nothing hits every directory and file name.
std::vector<TFindHit> FindFiltered(const TNameIndex& index, const TSearchRequest& request,
                                   const TFilteredText& split) {
    std::vector<TFindHit> hits;
    const bool everyName = split.Name.empty();
    const TSearchText text(split.Name, request.Wildcards);
    const TSizeDateFilter& filter = split.Filter;
    const bool filtered = !filter.Empty();
    const auto passes = [&](std::uint32_t entry) {
        return !filtered || filter.Passes(index.Size(entry), index.Modified(entry));
    };
    for (std::uint32_t disc = 0; disc < index.DiscCount(); ++disc) {
        const TNameIndex::TDisc& fields = index.Disc(disc);
        const std::uint32_t top = fields.FirstDirectory;
        if (!everyName && passes(index.DirectoryEntry(top))) {
            if (request.InTitle && text.Matches(fields.Title))
                hits.push_back({disc, top, TNameIndex::kNone, TSearchField::Title});
            if (request.InVendor && text.Matches(fields.Vendor))
                hits.push_back({disc, top, TNameIndex::kNone, TSearchField::Vendor});
            if (request.InMemo && text.Matches(fields.Memo))
                hits.push_back({disc, top, TNameIndex::kNone, TSearchField::Memo});
        }
        if (!request.InDirectory && !request.InFilename)
            continue;
        for (std::uint32_t directory = top; directory < fields.EndDirectory; ++directory) {
            const std::uint32_t entry = index.DirectoryEntry(directory);
            if (request.InDirectory && passes(entry) &&
                (everyName || text.Matches(index.Name(entry))))
                hits.push_back({disc, directory, entry, TSearchField::Directory});
            if (!request.InFilename)
                continue;
            const std::uint32_t end = index.FilesEnd(directory);
            // The filter first: two numbers are cheaper to test than a name.
            for (std::uint32_t file = entry + 1; file < end; ++file) {
                if (passes(file) && (everyName || text.Matches(index.Name(file))))
                    hits.push_back({disc, directory, file, TSearchField::Filename});
            }
        }
    }
    return hits;
}

TFilteredText Split(const TSearchRequest& request) {
    if (request.SizeDateFilters)
        return SplitFilters(request.Text);
    TFilteredText split;
    split.Name = request.Text;
    return split;
}

} // namespace

std::vector<TFindHit> FindAll(const TNameIndex& index, const TSearchRequest& request) {
    const TFilteredText split = Split(request);
    if (split.Name.empty() && split.Filter.Empty())
        return {};
    return FindFiltered(index, request, split);
}

TMissingValues MissingValues(const TNameIndex& index, const TSearchRequest& request) {
    TFilteredText split = Split(request);
    const bool sizes = split.Filter.OnSize;
    const bool dates = split.Filter.OnModified;
    if (!sizes && !dates)
        return TMissingValues::None;
    if ((sizes && !index.HasSizes()) || (dates && !index.HasModified()))
        return TMissingValues::InCatalogue;
    // The names alone, as if there were no filters (every name for a text of filters alone).
    split.Filter = {};
    const std::vector<TFindHit> named = FindFiltered(index, request, split);
    const bool anyRecorded = std::any_of(named.begin(), named.end(), [&](const TFindHit& hit) {
        const std::uint32_t entry = index.ValueEntry(hit.Entry, hit.Directory);
        return (!sizes || index.Size(entry).has_value()) &&
               (!dates || index.Modified(entry) != TSizeDateFilter::kNoModified);
    });
    return named.empty() || anyRecorded ? TMissingValues::None : TMissingValues::InNameHits;
}

std::string HitPath(const TNameIndex& index, const TFindHit& hit) {
    std::string path;
    index.AppendPath(path, hit.Directory);
    if (hit.Field == TSearchField::Filename) {
        path += '/';
        path += index.Name(hit.Entry);
    }
    if (path.empty())
        path += '/';
    return path;
}

void AppendHitLine(std::string& text, int discIndex, std::string_view title, TSearchField field,
                   std::string_view path) {
    char digits[16];
    text.append(digits, std::to_chars(digits, digits + sizeof digits, discIndex).ptr);
    text += '\t';
    text += title;
    text += '\t';
    text += SearchFieldName(field);
    text += '\t';
    text += path.empty() ? std::string_view("/") : path;
    text += '\n';
}

void AppendHitLine(std::string& text, const TNameIndex& index, const TFindHit& hit) {
    AppendHitLine(text, static_cast<int>(hit.Disc), index.Disc(hit.Disc).Title, hit.Field,
                  HitPath(index, hit));
}

void SortFindHits(const TNameIndex& index, std::vector<TFindHit>& hits, TFindOrder order,
                  bool descending) {
    const auto sortBy = [&](auto compare) {
        std::sort(hits.begin(), hits.end(), [&](const TFindHit& a, const TFindHit& b) {
            const int result = compare(a, b);
            if (result != 0)
                return descending ? result > 0 : result < 0;
            return FoundBefore(a, b);
        });
    };
    switch (order) {
    case TFindOrder::Found:
        if (descending)
            sortBy([](const TFindHit& a, const TFindHit& b) {
                return FoundBefore(a, b) ? -1 : FoundBefore(b, a) ? 1 : 0;
            });
        else
            std::sort(hits.begin(), hits.end(), FoundBefore);
        break;
    case TFindOrder::Disc: {
        const std::vector<std::uint32_t> ranks =
            Ranks(index.DiscCount(), [&](std::uint32_t a, std::uint32_t b) {
                return CompareNames(index.Disc(a).Title, index.Disc(b).Title);
            });
        sortBy([&](const TFindHit& a, const TFindHit& b) {
            return Compare(ranks[a.Disc], ranks[b.Disc]);
        });
        break;
    }
    case TFindOrder::Path: {
        const std::vector<std::uint32_t> ranks = DirectoryPathRanks(index, hits);
        sortBy([&](const TFindHit& a, const TFindHit& b) {
            if (const int result = Compare(ranks[a.Directory], ranks[b.Directory]))
                return result;
            const bool aFile = a.Field == TSearchField::Filename;
            const bool bFile = b.Field == TSearchField::Filename;
            if (aFile != bFile)
                return aFile ? 1 : -1;
            return aFile ? CompareNames(index.Name(a.Entry), index.Name(b.Entry)) : 0;
        });
        break;
    }
    case TFindOrder::Size:
        // No size sorts below every size.
        sortBy([&](const TFindHit& a, const TFindHit& b) {
            return Compare(index.Size(index.ValueEntry(a.Entry, a.Directory)),
                           index.Size(index.ValueEntry(b.Entry, b.Directory)));
        });
        break;
    case TFindOrder::Modified:
        sortBy([&](const TFindHit& a, const TFindHit& b) {
            return Compare(index.Modified(index.ValueEntry(a.Entry, a.Directory)),
                           index.Modified(index.ValueEntry(b.Entry, b.Directory)));
        });
        break;
    case TFindOrder::Field:
        sortBy([](const TFindHit& a, const TFindHit& b) {
            return Compare(SearchFieldName(a.Field), SearchFieldName(b.Field));
        });
        break;
    }
}

} // namespace orlenta
