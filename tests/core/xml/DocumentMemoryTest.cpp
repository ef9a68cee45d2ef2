// The documents' allocator: pages packed into regions and reused, regions and large blocks given
// back, memory from the C heap told apart, and pugixml really allocating through it.

#include "core/xml/DocumentMemory.h"

#include "core/catalogue/OrlentaData.h"

#include <cstdlib>
#include <cstring>
#include <gtest/gtest.h>
#include <memory>
#include <random>
#include <thread>
#include <vector>

namespace orlenta {
namespace {

// What pugixml asks for a page of nodes: 32 KiB and its header.
constexpr size_t kPageRequest = 32768 + 40;

TEST(DocumentMemoryTest, PagesFillRegionsAreReusedAndGiveRegionsBack) {
    const TDocumentMemoryUse before = DocumentMemoryUse();
    // Enough pages for more than one region, each filled with its own number.
    std::vector<unsigned char*> pages;
    for (int i = 0; i < 1500; ++i) {
        auto* page = static_cast<unsigned char*>(AllocateDocumentMemory(kPageRequest));
        ASSERT_NE(page, nullptr);
        std::memset(page, i % 251, kPageRequest);
        pages.push_back(page);
    }
    EXPECT_GE(DocumentMemoryUse().Regions, before.Regions + 2);
    EXPECT_EQ(DocumentMemoryUse().Pages, before.Pages + 1500);
    for (size_t i = 0; i < pages.size(); ++i) {
        ASSERT_EQ(pages[i][0], i % 251) << i;
        ASSERT_EQ(pages[i][kPageRequest - 1], i % 251) << i;
    }

    // A page given back is the next one handed out.
    void* middle = pages[700];
    FreeDocumentMemory(middle);
    pages[700] = static_cast<unsigned char*>(AllocateDocumentMemory(kPageRequest));
    EXPECT_EQ(pages[700], middle);

    for (unsigned char* page : pages)
        FreeDocumentMemory(page);
    EXPECT_EQ(DocumentMemoryUse().Regions, before.Regions);
    EXPECT_EQ(DocumentMemoryUse().Pages, before.Pages);
}

TEST(DocumentMemoryTest, LargeBlocksAreMappedAndHeapMemoryGoesBackToTheHeap) {
    const TDocumentMemoryUse before = DocumentMemoryUse();
    const size_t large = (size_t{5} << 20) + 123;
    auto* block = static_cast<char*>(AllocateDocumentMemory(large));
    ASSERT_NE(block, nullptr);
    std::memset(block, 'x', large);
    EXPECT_EQ(DocumentMemoryUse().LargeBlocks, before.LargeBlocks + 1);
    FreeDocumentMemory(block);
    EXPECT_EQ(DocumentMemoryUse().LargeBlocks, before.LargeBlocks);

    // Small requests, and memory pugixml had from malloc before the allocator was installed,
    // are the C heap's: the sanitizer build reports a wrong free.
    void* small = AllocateDocumentMemory(100);
    void* foreign = std::malloc(kPageRequest);
    EXPECT_EQ(DocumentMemoryUse().Pages, before.Pages);
    FreeDocumentMemory(small);
    FreeDocumentMemory(foreign);
    FreeDocumentMemory(nullptr);
    EXPECT_EQ(DocumentMemoryUse().Regions, before.Regions);
}

TEST(DocumentMemoryTest, ThreadsAllocatingAtOnceGetSeparatePages) {
    const TDocumentMemoryUse before = DocumentMemoryUse();
    std::vector<std::thread> threads;
    std::vector<int> faults(4, 0);
    for (int t = 0; t < 4; ++t) {
        threads.emplace_back([t, &faults] {
            std::mt19937 random(static_cast<unsigned>(t));
            std::vector<std::pair<unsigned char*, unsigned char>> held;
            for (int step = 0; step < 3000; ++step) {
                if (!held.empty() && random() % 3 == 0) {
                    const size_t which = random() % held.size();
                    const auto [page, mark] = held[which];
                    faults[t] += page[0] != mark || page[kPageRequest - 1] != mark;
                    FreeDocumentMemory(page);
                    held.erase(held.begin() + static_cast<std::ptrdiff_t>(which));
                    continue;
                }
                auto* page = static_cast<unsigned char*>(AllocateDocumentMemory(kPageRequest));
                const auto mark = static_cast<unsigned char>(t * 50 + step % 50);
                page[0] = mark;
                page[kPageRequest - 1] = mark;
                held.emplace_back(page, mark);
            }
            for (const auto& [page, mark] : held) {
                faults[t] += page[0] != mark || page[kPageRequest - 1] != mark;
                FreeDocumentMemory(page);
            }
        });
    }
    for (std::thread& thread : threads)
        thread.join();
    EXPECT_EQ(faults, std::vector<int>(4, 0));
    EXPECT_EQ(DocumentMemoryUse().Pages, before.Pages);
    EXPECT_EQ(DocumentMemoryUse().Regions, before.Regions);
}

TEST(DocumentMemoryTest, DocumentsLiveInItAndGiveItBack) {
    const TDocumentMemoryUse before = DocumentMemoryUse();
    {
        auto document = std::make_unique<TXMLDocument>();
        std::string text = "<OrlentaData><Discs>";
        for (int i = 0; i < 20000; ++i)
            text += "<Disc Title=\"Disc " + std::to_string(i) + "\"/>";
        text += "</Discs></OrlentaData>";
        ASSERT_TRUE(document->Xml().load_string(text.c_str()));
        EXPECT_GT(DocumentMemoryUse().Pages, before.Pages);
        EXPECT_STREQ(document->Xml()
                         .child("OrlentaData")
                         .child("Discs")
                         .last_child()
                         .attribute("Title")
                         .value(),
                     "Disc 19999");
    }
    EXPECT_EQ(DocumentMemoryUse().Pages, before.Pages);
    EXPECT_EQ(DocumentMemoryUse().LargeBlocks, before.LargeBlocks);
}

} // namespace
} // namespace orlenta
