#include "core/state/HistoryList.h"

#include "core/base/AsciiText.h"

#include <algorithm>

namespace orlenta {

THistoryList::THistoryList(std::vector<std::string> items, std::vector<std::string> recent)
    : FItems(std::move(items)), FRecent(std::move(recent)) {
    if (FRecent.size() > FItems.size())
        FRecent.resize(FItems.size());
}

void THistoryList::Assign(std::vector<std::string> items) {
    FItems = std::move(items);
    FRecent.clear();
}

void THistoryList::Append(std::string entry) {
    FItems.push_back(std::move(entry));
}

size_t THistoryList::RecordUse(size_t index, bool fromDropDown) {
    if (index >= FItems.size())
        return index;
    const std::string entry = FItems[index];
    const auto recorded = std::find_if(FRecent.begin(), FRecent.end(), [&](const std::string& r) {
        return EqualIgnoringAsciiCase(r, entry);
    });
    bool grew = false;
    if (recorded != FRecent.end()) {
        // Moved to the front in the spelling used now: the top shows what was really chosen.
        FRecent.erase(recorded);
        FRecent.insert(FRecent.begin(), entry);
    } else {
        FRecent.insert(FRecent.begin(), entry);
        if (FRecent.size() > kMaxRecent)
            FRecent.pop_back();
        else
            grew = true;
    }
    if (grew) {
        FItems.insert(FItems.begin(), entry);
        ++index;
    }
    if (!fromDropDown)
        return index;
    std::copy(FRecent.begin(), FRecent.end(), FItems.begin());
    // Exactly the chosen text: on Linux /data/photos and /data/Photos are two directories.
    const auto plain = std::find(FItems.begin() + static_cast<std::ptrdiff_t>(FRecent.size()),
                                 FItems.end(), entry);
    return plain != FItems.end() ? static_cast<size_t>(plain - FItems.begin()) : index;
}

} // namespace orlenta
