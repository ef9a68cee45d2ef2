#include "core/state/StoredProperties.h"

#include "TestSupport.h"
#include "core/state/OvcIniFileStore.h"

#include <gtest/gtest.h>

namespace orlenta {
namespace {

using test::ReadFileBytes;
using test::TScratchDirectory;
using test::WriteFileBytes;

TEST(StoredProperties, SplitsEntriesAtTheFirstFullStop) {
    const struct {
        const char* Entry;
        std::optional<TStoredProperty> Property;
    } cases[] = {
        {"RootFromHistoryComboBox.Items", TStoredProperty{"RootFromHistoryComboBox", "Items"}},
        {" Box . Text ", TStoredProperty{"Box", "Text"}},
        {"Box.Font.Size", TStoredProperty{"Box", "Font.Size"}},
        {"BoxText", std::nullopt},
        {".Text", std::nullopt},
        {"Box. ", std::nullopt},
    };
    for (const auto& c : cases)
        EXPECT_EQ(ParseStoredProperty(c.Entry), c.Property) << c.Entry;
    EXPECT_EQ(AddDialogStoredProperties().size(), 8u);
    for (const std::string& entry : AddDialogStoredProperties())
        EXPECT_TRUE(ParseStoredProperty(entry)) << entry;
}

TEST(StoredProperties, ReadsBooleansAndTrimsTexts) {
    EXPECT_EQ(BooleanText(true), "True");
    EXPECT_EQ(BooleanText(false), "False");
    EXPECT_EQ(ParseBooleanText(" tRUE\t"), true);
    EXPECT_EQ(ParseBooleanText("FALSE"), false);
    for (const char* other : {"", "1", "yes", "Truely"})
        EXPECT_EQ(ParseBooleanText(other), std::nullopt) << other;
    EXPECT_EQ(TrimControlText(" \t/data/photos \x01\n"), "/data/photos");
    EXPECT_EQ(TrimControlText("\xC2\xA0/data \xC3\xBC "), "\xC2\xA0/data \xC3\xBC");
    EXPECT_EQ(TrimControlText(" \r\n"), "");
}

TEST(StoredProperties, KeepsAListInASectionOfItsOwn) {
    TScratchDirectory scratch;
    const std::string path = scratch / "Orlenta.ini";
    TOvcIniFileStore store([path](const std::string&) { return path; });
    WriteFileBytes(path, "[Add.RootFromHistoryComboBox.Items]\nCount=5\nItem4=old\n"
                         "[Add]\nIncludeFilenamesCheckBox.Checked=True\n");
    const std::vector<std::string> items{"/data/a ", " /data/b", "/data/a "};
    WriteListProperty(store, "Add", "RootFromHistoryComboBox.Items", items);
    EXPECT_EQ(ReadFileBytes(path), "[Add]\nIncludeFilenamesCheckBox.Checked=True\n"
                                   "[Add.RootFromHistoryComboBox.Items]\nCount=3\n"
                                   "Item0=/data/a \nItem1= /data/b\nItem2=/data/a \n");
    EXPECT_EQ(ReadListProperty(store, "Add", "RootFromHistoryComboBox.Items"), items);

    WriteListProperty(store, "Add", "RootFromHistoryComboBox.Items", {});
    EXPECT_EQ(ReadFileBytes(path), "[Add]\nIncludeFilenamesCheckBox.Checked=True\n");
}

TEST(StoredProperties, ReadsAListOnlyForAPositiveCount) {
    TScratchDirectory scratch;
    const std::string path = scratch / "Orlenta.ini";
    TOvcIniFileStore store([path](const std::string&) { return path; });
    using TItems = std::vector<std::string>;
    const struct {
        const char* Section;
        std::optional<TItems> Items;
    } cases[] = {
        {"Count= 2 \nItem0=a\nItem1=b\n", TItems{"a", "b"}},
        {"Count=3\nItem0=a\nItem2=c\nOther=x\n", TItems{"a", "", "c"}},
        {"Count=0\nItem0=a\n", std::nullopt},
        {"Count=-1\nItem0=a\n", std::nullopt},
        {"Count=two\nItem0=a\n", std::nullopt},
        {"Item0=a\n", std::nullopt},
        // A damaged count reads no more entries than the section has keys.
        {"Count=2000000000\nItem0=a\n", TItems{"a", ""}},
    };
    for (const auto& c : cases) {
        WriteFileBytes(path, std::string("[Add.Box.Items]\n") + c.Section);
        EXPECT_EQ(ReadListProperty(store, "Add", "Box.Items"), c.Items) << c.Section;
    }
}

} // namespace
} // namespace orlenta
