#pragma once

#include <cstddef>
#include <string>
#include <vector>

namespace orlenta {

// The list of the custom-directory box. On top the recently-used part: copies of entries, at most
// kMaxRecent, the most recently used first, no two equal when ASCII letters are compared without
// case. Below it the plain entries in the order they were added. The list as shown is what is
// saved; it grows by browsing and by the recently-used copies, never by typed text, and never
// shrinks.
class THistoryList {
public:
    static constexpr size_t kMaxRecent = 3;

    THistoryList() = default;
    // items: the list as shown; recent: the record, newest first, whose size is the number of
    // entries on top of items that form the recently-used part.
    THistoryList(std::vector<std::string> items, std::vector<std::string> recent);

    // The whole list as shown and saved.
    const std::vector<std::string>& Items() const { return FItems; }
    // The record of recently used entries, newest first. Its size is the number of entries on
    // top of Items() that form the recently-used part; their text may lag behind the record
    // until the next rebuild.
    const std::vector<std::string>& Recent() const { return FRecent; }
    size_t RecentCount() const { return FRecent.size(); }

    // A restored list: plain entries only, nothing recorded.
    void Assign(std::vector<std::string> items);
    // A confirmed browse: the path goes after the last entry, also when an equal one is there.
    void Append(std::string entry);

    // The entry at index became the box's selection and is recorded as the most recently used.
    // When the record grew, a copy goes on top of the list and the entry stays where it is.
    // fromDropDown (the drop-down list closed) also rebuilds the top from the record and moves
    // the selection to the plain entry with exactly the entry's text; the focus leaving the box
    // leaves the top as it is. Returns where the selection is afterwards.
    size_t RecordUse(size_t index, bool fromDropDown);

private:
    std::vector<std::string> FItems;
    std::vector<std::string> FRecent;
};

} // namespace orlenta
