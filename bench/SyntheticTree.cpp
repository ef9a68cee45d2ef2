#include "SyntheticTree.h"

#include <algorithm>
#include <cmath>
#include <iterator>
#include <unordered_set>

namespace orlenta::bench {

std::uint64_t TRandom::Next() {
    // splitmix64: fast, and good enough for picking names.
    std::uint64_t z = (FState += 0x9E3779B97F4A7C15ull);
    z = (z ^ (z >> 30)) * 0xBF58476D1CE4E5B9ull;
    z = (z ^ (z >> 27)) * 0x94D049BB133111EBull;
    return z ^ (z >> 31);
}

double TRandom::Normal() {
    const double u = 1.0 - Unit(); // never 0
    const double v = Unit();
    return std::sqrt(-2.0 * std::log(u)) * std::cos(6.283185307179586 * v);
}

namespace {

template <typename T, size_t N> const T& Pick(TRandom& random, const T (&items)[N]) {
    return items[random.Below(N)];
}

const char* const kWords[] = {
    "Photos",
    "Music",
    "Documents",
    "Backup",
    "Projects",
    "Archive",
    "Drivers",
    "Setup",
    "Images",
    "Data",
    "Video",
    "Reports",
    "Source",
    "Tools",
    "Fonts",
    "Samples",
    "Scans",
    "Letters",
    "Invoices",
    "Holiday",
    "Wedding",
    "Garden",
    "Recipes",
    "Budget",
    "Thesis",
    "Lecture",
    "Games",
    "Patch",
    "Manual",
    "Install",
    "Export",
    "Draft",
    "Final",
    "Notes",
    "Album",
    "Live",
    "Remaster",
    "Concert",
    "Family",
    "School",
    "Office",
    "Travel",
    "Mountain",
    "Beach",
    "Winter",
    "Summer",
    "Kitchen",
    "Bridge",
    "Harbour",
    "Library",
    "Station",
    "Forest",
    "River",
    "Island",
    "Castle",
    "Market",
    // Non-ASCII letters in one, two, three and four bytes of UTF-8.
    "Müller",
    "Café",
    "Ærøskøbing",
    "Zürich",
    "Straße",
    "Kraków",
    "Señor",
    "Åland",
    "naïve",
    "façade",
    "Ελλάδα",
    "Москва",
    "東京",
    "音楽",
    "İstanbul",
    "Þingvellir",
    "Čeština",
    "Łódź",
    "🎵 Mix",
};

const char* const kLowerWords[] = {
    "readme", "setup",  "install", "config",  "data",   "index", "main",   "utils",
    "report", "budget", "invoice", "letter",  "notes",  "draft", "final",  "backup",
    "photo",  "scan",   "track",   "intro",   "outro",  "theme", "sample", "patch",
    "driver", "update", "license", "changes", "manual", "help",  "style",  "script",
};

// Extensions weighted by how often they occur: repeated entries are more likely.
const char* const kExtensions[] = {
    "jpg", "jpg", "jpg", "JPG", "JPG", "png", "gif",  "mp3", "mp3",  "mp3",  "flac", "ogg",
    "wav", "txt", "txt", "pdf", "pdf", "doc", "docx", "xls", "xlsx", "html", "htm",  "css",
    "js",  "exe", "dll", "dll", "sys", "inf", "cab",  "zip", "rar",  "iso",  "avi",  "mkv",
    "mp4", "mpg", "ini", "log", "cpp", "h",   "xml",  "bmp", "tif",  "m3u",  "nfo",  "bak",
};

const char* const kPrefixes[] = {"IMG_", "DSC", "DSCN", "P", "CIMG", "MVI_", "SAM_"};

const char* const kSpecials[] = {"Tom & Jerry", "Rock'n'Roll", "<draft>",   "\"Best of\"",
                                 "AT&T",        "50% off",     "C++ notes", "a + b = c"};

std::string Digits(TRandom& random, int count) {
    std::string text;
    for (int i = 0; i < count; ++i)
        text += static_cast<char>('0' + random.Below(10));
    return text;
}

std::string TwoDigits(std::uint64_t value) {
    return std::string(1, static_cast<char>('0' + value / 10 % 10)) +
           static_cast<char>('0' + value % 10);
}

std::string Year(TRandom& random) {
    return std::to_string(1995 + random.Below(30));
}

std::string Date(TRandom& random) {
    return Year(random) + "-" + TwoDigits(1 + random.Below(12)) + "-" +
           TwoDigits(1 + random.Below(28));
}

std::string DirectoryName(TRandom& random) {
    switch (random.Below(10)) {
    case 0: return Year(random);
    case 1: return Year(random) + "-" + TwoDigits(1 + random.Below(12));
    case 2: return SyntheticWord(random) + " " + SyntheticWord(random);
    case 3: return SyntheticWord(random) + " " + Year(random);
    case 4:
        return SyntheticWord(random) + " - " + SyntheticWord(random) + " (" + Year(random) + ")";
    case 5: return Pick(random, kLowerWords);
    case 6: return Pick(random, kSpecials);
    default: return SyntheticWord(random);
    }
}

std::string FileName(TRandom& random) {
    const std::string extension = Pick(random, kExtensions);
    switch (random.Below(21)) {
    case 0:
    case 1: {
        static const char* const kCameraExtensions[] = {"JPG", "jpg", "JPG", "MOV", "AVI", "CR2"};
        return Pick(random, kPrefixes) + Digits(random, 4) + "." + Pick(random, kCameraExtensions);
    }
    case 2: return TwoDigits(1 + random.Below(20)) + " - " + SyntheticTitle(random) + ".mp3";
    case 3: return "Track " + TwoDigits(1 + random.Below(20)) + "." + extension;
    case 4: return std::string(Pick(random, kLowerWords)) + "." + extension;
    case 5:
        return std::string(Pick(random, kLowerWords)) + "_" + Pick(random, kLowerWords) + "." +
               extension;
    case 6: return SyntheticWord(random) + " " + Date(random) + "." + extension;
    case 7: return std::string(Pick(random, kSpecials)) + "." + extension;
    case 8:
        return SyntheticWord(random) + " (" + std::to_string(2 + random.Below(3)) + ")." +
               extension;
    case 9: return SyntheticWord(random) + "." + extension;
    case 10:
        return SyntheticWord(random) + "_" + Pick(random, kLowerWords) + "_v" +
               std::to_string(1 + random.Below(9)) + "." + extension;
    default: return SyntheticTitle(random) + " " + Pick(random, kLowerWords) + "." + extension;
    }
}

// A name not yet taken in a directory: the same name twice gets a counter.
std::string Unique(std::unordered_set<std::string>& taken, std::string name) {
    if (taken.insert(name).second)
        return name;
    const size_t dot = name.rfind('.');
    const std::string stem = dot == std::string::npos || dot == 0 ? name : name.substr(0, dot);
    const std::string extension = stem.size() == name.size() ? "" : name.substr(dot);
    for (int n = 2;; ++n) {
        std::string candidate = stem + " (" + std::to_string(n) + ")" + extension;
        if (taken.insert(candidate).second)
            return candidate;
    }
}

} // namespace

std::string SyntheticWord(TRandom& random) {
    return Pick(random, kWords);
}

std::string SyntheticTitle(TRandom& random) {
    return SyntheticWord(random) + " " + SyntheticWord(random);
}

std::vector<TSyntheticDirectory> MakeSyntheticTree(TRandom& random, long fileCount) {
    const long directoryCount = std::max(1L, (fileCount + 5) / 10);
    std::vector<TSyntheticDirectory> tree(static_cast<size_t>(directoryCount));
    std::vector<std::unordered_set<std::string>> taken(tree.size());
    // Each new directory goes under one already made, picked uniformly: a few wide top levels
    // and a depth that grows with the logarithm of the size, as on real discs.
    for (size_t i = 1; i < tree.size(); ++i) {
        int parent = static_cast<int>(random.Below(i));
        while (tree[static_cast<size_t>(parent)].Depth >= kMaxDepth)
            parent = tree[static_cast<size_t>(parent)].Parent;
        TSyntheticDirectory& directory = tree[i];
        directory.Parent = parent;
        directory.Depth = tree[static_cast<size_t>(parent)].Depth + 1;
        directory.Name = Unique(taken[static_cast<size_t>(parent)], DirectoryName(random));
        tree[static_cast<size_t>(parent)].Children.push_back(static_cast<int>(i));
    }
    // Files per directory vary widely (a few folders hold hundreds, many hold a handful):
    // each directory gets a log-normal weight and every file picks a directory by weight.
    std::vector<double> cumulative(tree.size());
    double total = 0;
    for (size_t i = 0; i < tree.size(); ++i) {
        total += std::exp(1.2 * random.Normal());
        cumulative[i] = total;
    }
    for (long f = 0; f < fileCount; ++f) {
        const double point = random.Unit() * total;
        const size_t i = std::min(
            tree.size() - 1, static_cast<size_t>(std::distance(
                                 cumulative.begin(),
                                 std::upper_bound(cumulative.begin(), cumulative.end(), point))));
        tree[i].Files.push_back(Unique(taken[i], FileName(random)));
    }
    return tree;
}

} // namespace orlenta::bench
