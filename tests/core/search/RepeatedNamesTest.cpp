// Repeated names against a plain map of names, with the real hash and with hashes that make
// different names meet, on a few names and on thousands spread over many buckets.

#include "core/search/RepeatedNames.h"

#include <algorithm>
#include <gtest/gtest.h>
#include <map>
#include <random>
#include <string>

namespace orlenta {
namespace {

using TGroups = std::vector<std::vector<std::uint32_t>>;

// The groups of result, sorted so that two results compare whatever order the names came in.
TGroups GroupsOf(const TRepeatedNames& result) {
    TGroups groups;
    for (std::uint32_t name = 0; name < result.NameCount(); ++name)
        groups.emplace_back(result.Items.begin() + result.Starts[name],
                            result.Items.begin() + result.Starts[name + 1]);
    std::sort(groups.begin(), groups.end());
    return groups;
}

TGroups ExpectedGroups(const std::vector<std::string>& names) {
    std::map<std::string, std::vector<std::uint32_t>> byName;
    for (std::uint32_t item = 0; item < names.size(); ++item)
        byName[names[item]].push_back(item);
    TGroups groups;
    for (auto& [name, items] : byName) {
        if (items.size() >= 2)
            groups.push_back(items);
    }
    std::sort(groups.begin(), groups.end());
    return groups;
}

std::uint32_t SameHash(std::string_view) {
    return 42;
}
std::uint32_t LengthHash(std::string_view name) {
    return static_cast<std::uint32_t>(name.size() << 28);
}

struct THashCase {
    const char* Name;
    std::uint32_t (*Hash)(std::string_view);
};

TRepeatedNames Repeated(const std::vector<std::string>& names,
                        std::uint32_t (*hash)(std::string_view)) {
    std::vector<std::uint32_t> hashes;
    for (const std::string& name : names)
        hashes.push_back(hash(name));
    return FindRepeatedNames(
        hashes, [&names](std::uint32_t item) { return std::string_view(names[item]); });
}

class RepeatedNamesTest : public ::testing::TestWithParam<THashCase> {};

TEST_P(RepeatedNamesTest, GathersEachNameThatStandsTwiceInAscendingOrder) {
    std::vector<std::string> few = {"a.txt", "b.txt", "A.txt", "a.txt", "",  "bb",
                                    "",      "a.txt", "b.tx",  "ab",    "ba"};
    std::vector<std::string> many;
    std::mt19937 random(7);
    for (int i = 0; i < 5000; ++i)
        many.push_back(std::to_string(random() % 3000) + (i % 2 == 0 ? ".jpg" : ".JPG"));
    for (const auto* names : {&few, &many}) {
        const TRepeatedNames result = Repeated(*names, GetParam().Hash);
        EXPECT_EQ(result.Starts.back(), result.Items.size());
        EXPECT_EQ(GroupsOf(result), ExpectedGroups(*names)) << names->size() << " names";
    }
}

INSTANTIATE_TEST_SUITE_P(Hashes, RepeatedNamesTest,
                         ::testing::Values(THashCase{"Real", NameHash},
                                           THashCase{"AllMeet", SameHash},
                                           THashCase{"ByLength", LengthHash}),
                         [](const auto& info) { return std::string(info.param.Name); });

TEST(RepeatedNamesEdgeTest, NoneOrOneItemHasNoRepeats) {
    for (const size_t count : {0u, 1u}) {
        const TRepeatedNames result = Repeated(std::vector<std::string>(count, "x"), NameHash);
        EXPECT_EQ(result.NameCount(), 0u);
        EXPECT_TRUE(result.Items.empty());
    }
}

} // namespace
} // namespace orlenta
