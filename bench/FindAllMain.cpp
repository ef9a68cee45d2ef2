// Times Find all in core on a large catalogue: building the name index after a load, and one
// search per keyword over it, against the walk over the document that orlenta-cli search does.
//
//   orlenta-bench-findall CATALOGUE.olx [--runs N] KEYWORD...
//
// A keyword holding *, ? or [ is a shell pattern. Every search looks in all five fields. The
// load runs once; everything else N times (20 unless told), and the median is reported.

#include "core/catalogue/CatalogueSession.h"
#include "core/search/CatalogueSearch.h"
#include "core/search/FindAll.h"

#include <algorithm>
#include <chrono>
#include <cstdio>
#include <cstdlib>
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

// The medians of runs calls of work; after each call, done runs untimed.
template <typename TWork, typename TDone> TTimes MedianTimes(int runs, TWork work, TDone done) {
    std::vector<double> wall;
    std::vector<double> cpu;
    for (int run = 0; run < runs; ++run) {
        const TStopwatch stopwatch;
        work();
        const TTimes times = stopwatch.Elapsed();
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
size_t WalkHits(const orlenta::TXMLOrlentaDataType& root, const std::string& keyword) {
    using namespace orlenta;
    const std::string upper = UpperCaseAscii(keyword);
    size_t hits = 0;
    for (const TXMLDiscType disc : root.Discs()) {
        hits += ContainsUpperKeyword(upper, disc.Title()) +
                ContainsUpperKeyword(upper, disc.Vendor()) +
                ContainsUpperKeyword(upper, disc.Memo());
        WalkDirectoryHits(upper, disc.Root(), true, true, [&hits](const TDirectoryHit&) {
            ++hits;
            return true;
        });
    }
    return hits;
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
    session.OrlentaFilename = file;
    const TStopwatch loading;
    if (!session.LoadDataFile())
        return 1;
    const TTimes load = loading.Elapsed();
    const TXMLOrlentaDataType root = session.XMLIndexData;
    // The walk's first pass adds what the access layer adds; later passes compare alike.
    WalkHits(root, "x");

    // Each index is built into fresh memory, as after a change of the catalogue; the previous
    // one is freed outside the timing.
    std::optional<TNameIndex> built;
    const TTimes build = MedianTimes(
        runs, [&] { built.emplace(root); }, [&] { built.reset(); });
    const TNameIndex index(root);
    std::printf("times in ms, wall-clock (processor), medians of %d runs\n", runs);
    std::printf("load %.1f (%.1f)\n", load.Wall, load.Cpu);
    std::printf("index build %.1f (%.1f): %.1f%% (%.1f%%) of the load\n", build.Wall, build.Cpu,
                100 * build.Wall / load.Wall, 100 * build.Cpu / load.Cpu);
    std::printf("index memory %.1f MB for %.1f MB of names (%.2fx), %u discs, %u directories\n",
                static_cast<double>(index.MemoryBytes()) / 1e6,
                static_cast<double>(index.NameBytes()) / 1e6,
                static_cast<double>(index.MemoryBytes()) / static_cast<double>(index.NameBytes()),
                index.DiscCount(), index.DirectoryCount());

    for (const std::string& keyword : keywords) {
        TFindRequest request;
        request.Text = keyword;
        std::vector<TFindHit> hits;
        const TTimes find = MedianTimes(runs, [&] { hits = FindAll(index, request); });
        std::printf("find %-18s %8zu hits %6.1f (%5.1f)", ("'" + keyword + "'").c_str(),
                    hits.size(), find.Wall, find.Cpu);
        if (!HasWildcard(keyword)) {
            size_t walkHits = 0;
            const TTimes walk = MedianTimes(runs, [&] { walkHits = WalkHits(root, keyword); });
            std::printf("   document walk %6.1f (%5.1f)%s", walk.Wall, walk.Cpu,
                        walkHits == hits.size() ? "" : " other hit count!");
        }
        std::vector<TFindHit> sorted;
        const TTimes sort = MedianTimes(std::max(1, runs / 4), [&] {
            sorted = hits;
            SortFindHits(index, sorted, TFindOrder::Path, false);
        });
        std::printf("   sort by path %6.1f (%5.1f)\n", sort.Wall, sort.Cpu);
    }
    return 0;
}
