// Times Find all in core on a large catalogue: building the name index after a load, and one
// search per keyword over it, against the walk over the document that orlenta-cli search does.
//
//   orlenta-bench-findall CATALOGUE.olx [--runs N] KEYWORD...
//
// A keyword holding *, ? or [ is a shell pattern; words such as size:>1G filter by the sizes and
// dates recorded, as in the window. Every search looks in all five fields. The
// load runs up to five times, everything else N times (20 unless told); medians are reported.

#include "core/catalogue/CatalogueSession.h"
#include "core/catalogue/DirectoryWalk.h"
#include "core/search/CatalogueSearch.h"
#include "core/search/FindAll.h"
#include "core/search/SizeDateFilter.h"

#include <algorithm>
#include <chrono>
#include <cstdio>
#include <cstdlib>
#include <cstring>
#include <ctime>
#include <optional>
#include <string>
#include <vector>

namespace {

using TClock = std::chrono::steady_clock;

// Milliseconds of the wall clock and of this thread's processor time. The machine may be busy
// with other work; the processor time is then the steadier figure.
struct TTimes {
    double Wall;
    double Cpu;
};

double CpuMilliseconds() {
    timespec now{};
    clock_gettime(CLOCK_THREAD_CPUTIME_ID, &now);
    return static_cast<double>(now.tv_sec) * 1e3 + static_cast<double>(now.tv_nsec) / 1e6;
}

class TStopwatch {
public:
    TTimes Elapsed() const {
        return {std::chrono::duration<double, std::milli>(TClock::now() - FWall).count(),
                CpuMilliseconds() - FCpu};
    }

private:
    TClock::time_point FWall = TClock::now();
    double FCpu = CpuMilliseconds();
};

double Median(std::vector<double> values) {
    std::sort(values.begin(), values.end());
    return values[values.size() / 2];
}

// The medians of runs calls of work; after each call, done runs untimed. first, when given,
// receives the times of the first call, the one that faults in memory the process never used.
template <typename TWork, typename TDone>
TTimes MedianTimes(int runs, TWork work, TDone done, TTimes* first = nullptr) {
    std::vector<double> wall;
    std::vector<double> cpu;
    for (int run = 0; run < runs; ++run) {
        const TStopwatch stopwatch;
        work();
        const TTimes times = stopwatch.Elapsed();
        if (run == 0 && first != nullptr)
            *first = times;
        wall.push_back(times.Wall);
        cpu.push_back(times.Cpu);
        done();
    }
    return {Median(wall), Median(cpu)};
}

template <typename TWork> TTimes MedianTimes(int runs, TWork work) {
    return MedianTimes(runs, work, [] {});
}

class TQuietHost : public orlenta::ICatalogueHost {
public:
    void SetBusy(const std::string&) override {}
    void FileChangedSet(bool) override {}
    void ShowMessage(orlenta::TMessageKind, const std::string& text) override {
        std::fprintf(stderr, "%s\n", text.c_str());
    }
};

// The hits of orlenta-cli search's walk over the document, counted instead of printed.
size_t WalkHits(const orlenta::TXMLOrlentaDataType& root, const orlenta::TSearchText& text) {
    using namespace orlenta;
    size_t hits = 0;
    for (const TXMLDiscType disc : root.Discs()) {
        hits +=
            text.Matches(disc.Title()) + text.Matches(disc.Vendor()) + text.Matches(disc.Memo());
        WalkDirectoryHits(text, disc.Root(), true, true, [&hits](const TDirectoryHit&) {
            ++hits;
            return true;
        });
    }
    return hits;
}

// Reads every name of the document as the index does, copying nothing: the part of the build
// that no index made from the loaded document can avoid.
size_t ReadEveryName(const orlenta::TXMLOrlentaDataType& root) {
    using namespace orlenta;
    size_t bytes = 0;
    const pugi::xml_node discs = ElementFrom(root.XmlNode().first_child(), TXMLDiscsType::kTag);
    for (pugi::xml_node disc = ElementFrom(discs.first_child(), TXMLDiscType::kTag); disc;
         disc = ElementFrom(disc.next_sibling(), TXMLDiscType::kTag)) {
        const TXMLDirectoryType top(ElementFrom(disc.first_child(), TXMLDirectoryType::kRootTag),
                                    root.OwnerDocument(), TXMLBinding::Directory);
        WalkDirectories(top, TWalkAccess::ReadOnly, [&](const TXMLDirectoryType& directory, int) {
            const pugi::xml_node node = directory.XmlNode();
            bytes += std::strlen(node.attribute("Name").value());
            const pugi::xml_node files = ElementFrom(node.first_child(), TXMLFilenamesType::kTag);
            for (pugi::xml_node file = ElementFrom(files.first_child(), TXMLFilenameType::kTag);
                 file; file = ElementFrom(file.next_sibling(), TXMLFilenameType::kTag))
                bytes += std::strlen(file.attribute("Text").value());
            return true;
        });
    }
    return bytes;
}

} // namespace

int main(int argc, char** argv) {
    using namespace orlenta;
    std::vector<std::string> keywords;
    int runs = 20;
    std::string file;
    for (int i = 1; i < argc; ++i) {
        const std::string argument = argv[i];
        if (argument == "--runs" && i + 1 < argc)
            runs = std::max(1, std::atoi(argv[++i]));
        else if (file.empty())
            file = argument;
        else
            keywords.push_back(argument);
    }
    if (file.empty()) {
        std::fprintf(stderr, "usage: orlenta-bench-findall CATALOGUE.olx [--runs N] KEYWORD...\n");
        return 2;
    }

    TQuietHost host;
    TCatalogueSession session(host);
    session.SetOrlentaFilename(file);
    // The first load, as when the window opens a catalogue, and the median of a few, in memory
    // that earlier loads gave back, as when the window opens another.
    bool loaded = true;
    TTimes firstLoad{};
    const TTimes load = MedianTimes(
        std::min(runs, 5), [&] { loaded = loaded && session.LoadDataFile(); }, [] {}, &firstLoad);
    if (!loaded)
        return 1;
    const TXMLOrlentaDataType root = session.XMLIndexData();
    // The walk's first pass adds what the access layer adds; later passes compare alike.
    WalkHits(root, TSearchText("x", false));

    // Each index is built into fresh memory, as after a change of the catalogue; the previous
    // one is freed outside the timing.
    std::optional<TNameIndex> built;
    TTimes firstBuild{};
    const TTimes build = MedianTimes(
        runs, [&] { built.emplace(root); }, [&] { built.reset(); }, &firstBuild);
    const TNameIndex index(root);
    size_t nameBytes = 0;
    const TTimes read = MedianTimes(runs, [&] { nameBytes = ReadEveryName(root); });
    std::printf("times in ms, wall-clock (processor), medians of %d runs\n", runs);
    std::printf("load: first %.1f (%.1f), median %.1f (%.1f)\n", firstLoad.Wall, firstLoad.Cpu,
                load.Wall, load.Cpu);
    std::printf("index build: first %.1f (%.1f) %.1f%% (%.1f%%) of the first load, median %.1f "
                "(%.1f) %.1f%% (%.1f%%) of the median load\n",
                firstBuild.Wall, firstBuild.Cpu, 100 * firstBuild.Wall / firstLoad.Wall,
                100 * firstBuild.Cpu / firstLoad.Cpu, build.Wall, build.Cpu,
                100 * build.Wall / load.Wall, 100 * build.Cpu / load.Cpu);
    std::printf("every name read, nothing copied: median %.1f (%.1f) %.1f%% (%.1f%%) of the "
                "median load%s\n",
                read.Wall, read.Cpu, 100 * read.Wall / load.Wall, 100 * read.Cpu / load.Cpu,
                nameBytes == index.NameBytes() ? "" : " other name bytes!");
    std::printf("index memory %.1f MB for %.1f MB of names (%.2fx), %u discs, %u directories, "
                "sizes %s, dates %s\n",
                static_cast<double>(index.MemoryBytes()) / 1e6,
                static_cast<double>(index.NameBytes()) / 1e6,
                static_cast<double>(index.MemoryBytes()) / static_cast<double>(index.NameBytes()),
                index.DiscCount(), index.DirectoryCount(), index.HasSizes() ? "kept" : "none",
                index.HasModified() ? "kept" : "none");

    for (const std::string& keyword : keywords) {
        TSearchRequest request;
        request.Text = keyword;
        request.InTitle = request.InVendor = request.InMemo = true;
        request.InDirectory = request.InFilename = true;
        request.Wildcards = true;
        request.SizeDateFilters = true;
        std::vector<TFindHit> hits;
        const TTimes find = MedianTimes(runs, [&] { hits = FindAll(index, request); });
        std::printf("find %-18s %8zu hits %6.1f (%5.1f)", ("'" + keyword + "'").c_str(),
                    hits.size(), find.Wall, find.Cpu);
        // The walk knows no filters; a filtered search is sorted by size instead, as a click on
        // the Size column does.
        const bool filtered = !SplitFilters(keyword).Filter.Empty();
        if (!filtered) {
            const TSearchText text(request.Text, request.Wildcards);
            size_t walkHits = 0;
            const TTimes walk = MedianTimes(runs, [&] { walkHits = WalkHits(root, text); });
            std::printf("   document walk %6.1f (%5.1f)%s", walk.Wall, walk.Cpu,
                        walkHits == hits.size() ? "" : " other hit count!");
        }
        std::vector<TFindHit> sorted;
        const TFindOrder order = filtered ? TFindOrder::Size : TFindOrder::Path;
        const TTimes sort = MedianTimes(std::max(1, runs / 4), [&] {
            sorted = hits;
            SortFindHits(index, sorted, order, false);
        });
        std::printf("   sort by %s %6.1f (%5.1f)\n", filtered ? "size" : "path", sort.Wall,
                    sort.Cpu);
    }
    return 0;
}
