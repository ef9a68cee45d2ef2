#pragma once

// Bringing a disc up to date: its source is read again into a catalogue of its own, compared
// with the tree the disc holds, and only on request put in its place. What the user wrote about
// the disc (title, vendor, media type, creation date, memo, source) stays.

#include "core/catalogue/CatalogueSession.h"
#include "core/catalogue/TreeDifference.h"
#include "core/reading/DiscReading.h"
#include "core/reading/RescanSafety.h"

#include <optional>
#include <string>

namespace orlenta {

class TDiscRescan {
public:
    // The reading goes through session's host, so that busy mode and messages show as when adding.
    explicit TDiscRescan(TCatalogueSession& session);
    TDiscRescan(const TDiscRescan&) = delete;
    TDiscRescan& operator=(const TDiscRescan&) = delete;

    // The reading behind Read: a front end binds its progress hooks here.
    TDiscReading& Reading() { return FReading; }

    // Reads source with the choices disc was read with: file names when it holds any, sizes and
    // dates when it holds any. False when the source is not an existing directory or cannot be
    // read (the host has said so) or the reading was stopped: then there is nothing to apply.
    // Difference() tells what changed; a folder below the source that could not be read keeps
    // what the disc held for it and is no change.
    bool Read(const IXMLDiscType& disc, const std::string& source);
    // Ends a running Read at the reader's next check; the disc stays as it was.
    void Stop();
    const TTreeDifference& Difference() const { return FDifference; }
    // After a Read: why applying it may lose the disc rather than update it (the source looks
    // unmounted or empty, or no file of the disc is left). A front end applies such a reading
    // only when the user insists.
    const std::optional<TRescanWarning>& Warning() const { return FWarning; }
    // After a Read: what to tell of the folders that could not be read, which keep what the disc
    // held for them; empty when every folder was read.
    const std::string& UnreadableText() const { return FUnreadableText; }
    // Where Read looks up mount points; tests name a table of their own.
    void SetFileSystemTable(std::string path) { FFileSystemTable = std::move(path); }

    // Puts the tree last read in place of disc's: every directory gets a new ID (an ID is never
    // used twice), the counts are those of the new reading and the read date today's.
    void Apply(const IXMLDiscType& disc);

private:
    TCatalogueSession& FSession;
    TCatalogueSession FScratch;
    TDiscReading FReading;
    TTreeDifference FDifference;
    std::optional<TRescanWarning> FWarning;
    std::string FUnreadableText;
    std::string FFileSystemTable = "/etc/fstab";
    bool FStopped = false;
    bool FRead = false;
};

} // namespace orlenta
