#pragma once

// Which directories lie on file systems that hold no data: the kernel's views of processes,
// devices and its own settings. A walk never enters them. They are not part of any disc, and
// /proc alone leads, through every process's working directory, into the whole system again
// below each process.

#include <sys/types.h>
#include <vector>

namespace orlenta {

class TPseudoFileSystems {
public:
    // Forgets what it learnt of each device; file systems come and go between walks.
    void Clear();
    // True when the directory open as fd, which lies on device, is on a pseudo file system.
    bool Holds(int fd, dev_t device);

private:
    struct TDevice {
        dev_t Device;
        bool Pseudo;
    };

    bool Classify(int fd, dev_t device);
    bool IsDevTmpfs(dev_t device);

    // A walk meets few devices, and mostly the one it met last: a short list, searched from
    // its end.
    std::vector<TDevice> FDevices;
    bool FMountsRead = false;
    std::vector<dev_t> FDevTmpfs;
};

} // namespace orlenta
