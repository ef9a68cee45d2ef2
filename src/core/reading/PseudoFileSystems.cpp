#include "core/reading/PseudoFileSystems.h"

#include <algorithm>
#include <cstdint>
#include <fstream>
#include <sstream>
#include <string>
#include <sys/statfs.h>
#include <sys/sysmacros.h>

namespace orlenta {

namespace {

// The file system types the kernel reports through statfs, for the file systems that hold no
// data. Not all of them are in the system's headers, so they are spelt out here.
constexpr std::uint32_t kProc = 0x9fa0;
constexpr std::uint32_t kSysfs = 0x62656572;
constexpr std::uint32_t kDevpts = 0x1cd1;
constexpr std::uint32_t kCgroup = 0x27e0eb;
constexpr std::uint32_t kCgroup2 = 0x63677270;
constexpr std::uint32_t kDebugfs = 0x64626720;
constexpr std::uint32_t kTracefs = 0x74726163;
constexpr std::uint32_t kSecurityfs = 0x73636673;
constexpr std::uint32_t kBpf = 0xcafe4a11;
constexpr std::uint32_t kPstore = 0x6165676c;
constexpr std::uint32_t kConfigfs = 0x62656570;
constexpr std::uint32_t kFusectl = 0x65735543;
constexpr std::uint32_t kMqueue = 0x19800202;
constexpr std::uint32_t kHugetlbfs = 0x958458f6;
constexpr std::uint32_t kAutofs = 0x0187;
// devtmpfs reports the type of the memory file system it is built on, which also holds
// ordinary data (/tmp, /dev/shm); only the mount table tells the two apart.
constexpr std::uint32_t kTmpfs = 0x01021994;
constexpr std::uint32_t kRamfs = 0x858458f6;

} // namespace

void TPseudoFileSystems::Clear() {
    FDevices.clear();
    FMountsRead = false;
    FDevTmpfs.clear();
}

bool TPseudoFileSystems::Holds(int fd, dev_t device) {
    for (auto known = FDevices.rbegin(); known != FDevices.rend(); ++known) {
        if (known->Device == device)
            return known->Pseudo;
    }
    const bool pseudo = Classify(fd, device);
    FDevices.push_back({device, pseudo});
    return pseudo;
}

bool TPseudoFileSystems::Classify(int fd, dev_t device) {
    struct statfs info {};
    // Unknown is taken as data: listing it shows what it holds.
    if (::fstatfs(fd, &info) != 0)
        return false;
    switch (static_cast<std::uint32_t>(info.f_type)) {
    case kProc:
    case kSysfs:
    case kDevpts:
    case kCgroup:
    case kCgroup2:
    case kDebugfs:
    case kTracefs:
    case kSecurityfs:
    case kBpf:
    case kPstore:
    case kConfigfs:
    case kFusectl:
    case kMqueue:
    case kHugetlbfs:
    case kAutofs: return true;
    case kTmpfs:
    case kRamfs: return IsDevTmpfs(device);
    default: return false;
    }
}

bool TPseudoFileSystems::IsDevTmpfs(dev_t device) {
    if (!FMountsRead) {
        FMountsRead = true;
        // Each line: mount ID, parent ID, major:minor (the st_dev of the files on it), root,
        // mount point, options, optional fields, "-", type, source, super options.
        std::ifstream mounts("/proc/self/mountinfo");
        std::string line;
        while (std::getline(mounts, line)) {
            std::istringstream fields(line);
            std::string id;
            std::string parent;
            unsigned major = 0;
            unsigned minor = 0;
            char colon = 0;
            if (!(fields >> id >> parent >> major >> colon >> minor) || colon != ':')
                continue;
            const std::size_t separator = line.find(" - ");
            if (separator == std::string::npos)
                continue;
            std::istringstream rest(line.substr(separator + 3));
            std::string type;
            if (rest >> type && type == "devtmpfs")
                FDevTmpfs.push_back(makedev(major, minor));
        }
    }
    return std::find(FDevTmpfs.begin(), FDevTmpfs.end(), device) != FDevTmpfs.end();
}

} // namespace orlenta
