#include "core/state/HistoryList.h"

#include <gtest/gtest.h>

namespace orlenta {
namespace {

using TItems = std::vector<std::string>;

TEST(HistoryList, APickFromTheDropDownListIsCopiedOnTop) {
    // A dialog restored with two entries; the user picks the second one.
    THistoryList list;
    list.Assign({"/media/archive", "/data/photos"});
    EXPECT_EQ(list.RecordUse(1, true), 2u);
    EXPECT_EQ(list.Items(), (TItems{"/data/photos", "/media/archive", "/data/photos"}));
    EXPECT_EQ(list.RecentCount(), 1u);
    // Picking the copy again changes nothing but the selection, which goes to the plain entry.
    EXPECT_EQ(list.RecordUse(0, true), 2u);
    EXPECT_EQ(list.Items(), (TItems{"/data/photos", "/media/archive", "/data/photos"}));
}

TEST(HistoryList, KeepsThreeRecentEntriesNewestFirst) {
    THistoryList list;
    list.Assign({"/a", "/b", "/c", "/d"});
    size_t selected = 0;
    for (const char* path : {"/a", "/b", "/c", "/d"}) {
        const auto plain =
            std::find(list.Items().begin() + list.RecentCount(), list.Items().end(), path);
        selected = list.RecordUse(plain - list.Items().begin(), true);
    }
    EXPECT_EQ(list.Items(), (TItems{"/d", "/c", "/b", "/a", "/b", "/c", "/d"}));
    EXPECT_EQ(list.Recent(), (TItems{"/d", "/c", "/b"}));
    EXPECT_EQ(selected, 6u);
}

TEST(HistoryList, RecentEntriesAreEqualWithoutCaseButSelectionIsExact) {
    THistoryList list;
    list.Assign({"/data/Photos", "/data/photos"});
    EXPECT_EQ(list.RecordUse(0, true), 1u);
    EXPECT_EQ(list.RecordUse(2, true), 2u);
    EXPECT_EQ(list.Items(), (TItems{"/data/photos", "/data/Photos", "/data/photos"}));
    EXPECT_EQ(list.RecentCount(), 1u);
}

TEST(HistoryList, LeavingTheBoxOnlyAddsTheCopy) {
    THistoryList list;
    list.Assign({"/a", "/b", "/c", "/d"});
    // Each entry stays where it is, one lower under its new copy.
    for (const char* path : {"/d", "/c", "/b"}) {
        ASSERT_EQ(list.Items()[3], path);
        EXPECT_EQ(list.RecordUse(3, false), 4u);
    }
    EXPECT_EQ(list.Items(), (TItems{"/b", "/c", "/d", "/a", "/b", "/c", "/d"}));
    // A full record changes without showing it: the top lags until the next pick from the list.
    EXPECT_EQ(list.RecordUse(3, false), 3u);
    EXPECT_EQ(list.Recent(), (TItems{"/a", "/b", "/c"}));
    EXPECT_EQ(list.Items(), (TItems{"/b", "/c", "/d", "/a", "/b", "/c", "/d"}));
    EXPECT_EQ(list.RecordUse(3, true), 3u);
    EXPECT_EQ(list.Items(), (TItems{"/a", "/b", "/c", "/a", "/b", "/c", "/d"}));
}

TEST(HistoryList, BrowsingAppendsEvenARepeat) {
    THistoryList list;
    list.Append("/data");
    list.Append("/data");
    EXPECT_EQ(list.Items(), (TItems{"/data", "/data"}));
    EXPECT_EQ(list.RecentCount(), 0u);
}

} // namespace
} // namespace orlenta
