#pragma once

// The waiting lock that lets Orlenta processes wait for each other instead of spoiling each
// other's files.

#include "core/base/CatalogueHost.h"

namespace orlenta {

// The status text while an operation waits for another process.
inline constexpr const char* kWaitingForAnotherOrlenta = "Waiting for another Orlenta...";

// Takes an exclusive flock on fd, waiting for as long as another process holds one; after a
// second of waiting the host shows kWaitingForAnotherOrlenta. False, with errno telling why,
// when the file system offers no such locks.
bool LockExclusively(int fd, ICatalogueHost& host);

// As LockExclusively, but a shared flock: it waits only for an exclusive holder, and others may
// take a shared one beside it.
bool LockShared(int fd, ICatalogueHost& host);

} // namespace orlenta
