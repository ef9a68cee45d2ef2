// orlenta-bench-generate: synthetic catalogues (real data files, written through core) and
// synthetic directory trees on disk, for measuring loading, saving and reading.

#include "SyntheticTree.h"
#include "core/catalogue/CatalogueSession.h"
#include "core/catalogue/DiscProperties.h"
#include "core/catalogue/EscapedText.h"

#include <CLI/CLI.hpp>
#include <cerrno>
#include <cstring>
#include <ctime>
#include <fcntl.h>
#include <iostream>
#include <optional>
#include <string>
#include <sys/stat.h>
#include <unistd.h>

namespace orlenta::bench {

namespace {

const char* const kVendors[] = {"Acme", "Northwind", "Blue Heron", "Polaris", "Kestrel", ""};
const char* const kMediaTypes[] = {"CD-ROM", "CD-R",   "CD-RW", "DVD",
                                   "DVD+R",  "DVD+RW", "DVD-R", "DVD-RW"};

std::string TwoDigits(std::uint64_t value) {
    return std::string(1, static_cast<char>('0' + value / 10 % 10)) +
           static_cast<char>('0' + value % 10);
}

std::string SyntheticDate(TRandom& random) {
    return std::to_string(2000 + random.Below(24)) + "-" + TwoDigits(1 + random.Below(12)) + "-" +
           TwoDigits(1 + random.Below(28));
}

// Sizes and times as a reading with sizes and dates records them: every file a size spread over
// many orders of magnitude and a time in some twenty years, every directory its subtree's total
// and a time of its own. Empty when the catalogue is made without them.
struct TSyntheticSizes {
    std::vector<std::vector<std::uint64_t>> FileSizes;
    std::vector<std::uint64_t> Totals;

    TSyntheticSizes(TRandom& random, const std::vector<TSyntheticDirectory>& tree) {
        FileSizes.resize(tree.size());
        Totals.assign(tree.size(), 0);
        for (size_t i = 0; i < tree.size(); ++i) {
            for (size_t f = 0; f < tree[i].Files.size(); ++f) {
                const std::uint64_t scale = std::uint64_t{1} << random.Below(31);
                FileSizes[i].push_back(scale + random.Below(scale));
                Totals[i] += FileSizes[i].back();
            }
        }
        // Parents stand before their children.
        for (size_t i = tree.size(); i-- > 1;)
            Totals[static_cast<size_t>(tree[i].Parent)] += Totals[i];
    }
};

std::int64_t SyntheticTime(TRandom& random) {
    return 1700000000 - static_cast<std::int64_t>(random.Below(20 * 365 * 86400ull));
}

// Files of one directory are mostly written together: within a day of the directory's time.
std::int64_t SyntheticTimeNear(std::int64_t base, TRandom& random) {
    return base - static_cast<std::int64_t>(random.Below(86400));
}

void AppendFiles(const TXMLDirectoryType& element, const TSyntheticDirectory& directory,
                 const std::vector<std::uint64_t>* sizes, TRandom& random) {
    if (directory.Files.empty())
        return;
    const TXMLFilenamesType filenames = element.Filenames();
    const std::int64_t base = SyntheticTime(random);
    for (size_t i = 0; i < directory.Files.size(); ++i) {
        const TXMLFilenameType file = filenames.Add();
        file.SetText(directory.Files[i]);
        if (sizes != nullptr) {
            file.SetSize((*sizes)[i]);
            file.SetModified(SyntheticTimeNear(base, random));
        }
    }
}

void AppendSizeAndDate(const TXMLDirectoryType& element, const TSyntheticSizes* sizes, int index,
                       TRandom& random) {
    if (sizes == nullptr)
        return;
    element.SetSize(sizes->Totals[static_cast<size_t>(index)]);
    element.SetModified(SyntheticTime(random));
}

// Fills a disc as reading a directory tree does: directories depth first, each made with the
// next ID when the walk reaches it, and every directory with a Directories element, as the
// first rebuild of the tree leaves it.
void AppendTree(TCatalogueSession& session, const std::vector<TSyntheticDirectory>& tree,
                const TXMLDirectoryType& root, const TSyntheticSizes* sizes, TRandom& random) {
    root.SetID(std::to_string(session.NextDirectoryID()));
    AppendSizeAndDate(root, sizes, 0, random);
    AppendFiles(root, tree[0], sizes != nullptr ? &sizes->FileSizes[0] : nullptr, random);
    struct TPending {
        int Index;
        TXMLDirectoriesType Parent;
    };
    std::vector<TPending> pending;
    auto pushChildren = [&](const TSyntheticDirectory& directory,
                            const TXMLDirectoryType& element) {
        const TXMLDirectoriesType directories = element.Directories();
        for (auto it = directory.Children.rbegin(); it != directory.Children.rend(); ++it)
            pending.push_back({*it, directories});
    };
    pushChildren(tree[0], root);
    while (!pending.empty()) {
        const TPending current = pending.back();
        pending.pop_back();
        const TSyntheticDirectory& directory = tree[static_cast<size_t>(current.Index)];
        const TXMLDirectoryType element = current.Parent.Add();
        element.SetName(directory.Name);
        element.SetID(std::to_string(session.NextDirectoryID()));
        AppendSizeAndDate(element, sizes, current.Index, random);
        AppendFiles(element, directory,
                    sizes != nullptr ? &sizes->FileSizes[static_cast<size_t>(current.Index)]
                                     : nullptr,
                    random);
        pushChildren(directory, element);
    }
}

void GenerateCatalogue(const std::string& path, long fileCount, std::uint64_t seed,
                       bool withSizes) {
    TRandom random(seed);
    TSilentHost host;
    TCatalogueSession session(host);
    session.NewCatalogue();
    const IXMLOrlentaDataType& root = session.XMLIndexData();
    root.SetTitle("Synthetic archive of " + std::to_string(fileCount) + " files");
    root.SetMemo(EscapeText("Made for measuring.\r\nShelf " + std::to_string(random.Below(9))));
    const TXMLDiscsType discs = root.Discs();
    long files = 0;
    long directories = 0;
    while (files < fileCount) {
        // A disc holds a few hundred to a few thousand files.
        const long discFiles = std::min<long>(fileCount - files, 300 + random.Below(4700));
        const std::vector<TSyntheticDirectory> tree = MakeSyntheticTree(random, discFiles);
        const TXMLDiscType disc = discs.Add();
        TDiscProperties properties;
        properties.Title = SyntheticTitle(random) + " " + std::to_string(discs.Count());
        properties.Vendor = kVendors[random.Below(std::size(kVendors))];
        properties.MediaType = kMediaTypes[random.Below(std::size(kMediaTypes))];
        properties.CreationDate = random.Below(3) == 0 ? "" : SyntheticDate(random);
        properties.ReadDate = SyntheticDate(random);
        properties.DirCount = tree.size() > 1 ? std::to_string(tree.size() - 1) : "";
        properties.FileCount = std::to_string(discFiles);
        properties.Memo = random.Below(4) == 0
                              ? "Box " + std::to_string(random.Below(40)) + "\r\nCopied from the " +
                                    SyntheticWord(random) + " set"
                              : "";
        WriteDiscProperties(disc, properties);
        // Drawn apart from the names, so that a catalogue with sizes has the same names as one
        // without: the two compare by what the sizes cost alone.
        TRandom sizeRandom(seed ^ static_cast<std::uint64_t>(discs.Count()));
        const std::optional<TSyntheticSizes> sizes =
            withSizes ? std::optional<TSyntheticSizes>(std::in_place, sizeRandom, tree)
                      : std::nullopt;
        AppendTree(session, tree, disc.Root(), sizes ? &*sizes : nullptr, sizeRandom);
        files += discFiles;
        directories += static_cast<long>(tree.size()) - 1;
    }
    session.SetOrlentaFilename(path);
    session.SaveDataFile();
    std::cout << path << ": " << discs.Count() << " discs, " << directories << " directories, "
              << files << " files\n";
}

[[noreturn]] void Fail(const std::string& what, const std::string& path) {
    throw std::runtime_error(what + " \"" + path + "\": " + std::strerror(errno));
}

void GenerateTree(const std::string& top, long fileCount, std::uint64_t seed) {
    TRandom random(seed);
    const std::vector<TSyntheticDirectory> tree = MakeSyntheticTree(random, fileCount);
    std::vector<std::string> paths(tree.size());
    // Times spread over some twenty years, so that filters by date have something to sort.
    const std::time_t newest = 1700000000;
    for (size_t i = 0; i < tree.size(); ++i) {
        const TSyntheticDirectory& directory = tree[i];
        paths[i] =
            i == 0 ? top : paths[static_cast<size_t>(directory.Parent)] + "/" + directory.Name;
        if (mkdir(paths[i].c_str(), 0755) != 0 && !(i == 0 && errno == EEXIST))
            Fail("cannot make directory", paths[i]);
        for (const std::string& file : directory.Files) {
            const std::string path = paths[i] + "/" + file;
            const int fd = open(path.c_str(), O_WRONLY | O_CREAT | O_EXCL | O_CLOEXEC, 0644);
            if (fd < 0)
                Fail("cannot create file", path);
            const std::time_t modified =
                newest - static_cast<std::time_t>(random.Below(20 * 365 * 86400ull));
            const timespec times[2] = {
                {modified + static_cast<std::time_t>(random.Below(86400)), 0}, {modified, 0}};
            futimens(fd, times);
            close(fd);
        }
    }
    std::cout << top << ": " << tree.size() - 1 << " directories, " << fileCount << " files\n";
}

} // namespace

} // namespace orlenta::bench

int main(int argc, char** argv) {
    using namespace orlenta::bench;
    CLI::App app("Synthetic catalogues and directory trees for measuring Orlenta.",
                 "orlenta-bench-generate");
    app.require_subcommand(1);
    std::string path;
    long files = 10000;
    std::uint64_t seed = 1;

    CLI::App* catalogue = app.add_subcommand(
        "catalogue", "Write a data file holding discs of a few hundred to a few thousand files.");
    catalogue->add_option("FILE", path, "Data file to write")->required();
    catalogue->add_option("--files", files, "Number of file names in all")->capture_default_str();
    catalogue->add_option("--seed", seed, "Seed of the names")->capture_default_str();
    bool withSizes = false;
    catalogue->add_flag("--sizes", withSizes, "Give files and directories sizes and dates");
    catalogue->callback([&] { GenerateCatalogue(path, files, seed, withSizes); });

    CLI::App* tree =
        app.add_subcommand("tree", "Make a directory tree of empty files under DIR (made when "
                                   "absent; existing names are an error).");
    tree->add_option("DIR", path, "Top directory")->required();
    tree->add_option("--files", files, "Number of files in all")->capture_default_str();
    tree->add_option("--seed", seed, "Seed of the names")->capture_default_str();
    tree->callback([&] { GenerateTree(path, files, seed); });

    try {
        app.parse(argc, argv);
    } catch (const CLI::ParseError& error) {
        return app.exit(error) == 0 ? 0 : 2;
    } catch (const std::exception& error) {
        std::cerr << error.what() << '\n';
        return 1;
    }
    return 0;
}
