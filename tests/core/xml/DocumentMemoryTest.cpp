// The documents' allocator: pages packed into regions and reused, regions and large blocks given
// back, memory from the C heap told apart, out of memory without a trace, and pugixml really
// allocating through it, except in the sanitizer build, which must see the documents' blocks.

#include "core/xml/DocumentMemory.h"

#include "AddressSanitizer.h"
#include "core/catalogue/OrlentaData.h"

#include <cstdio>
#include <cstdlib>
#include <cstring>
#include <fcntl.h>
#include <gtest/gtest.h>
#include <memory>
#include <new>
#include <random>
#include <thread>
#include <unistd.h>
#include <vector>

// The program's operator new, which can be made to fail on one thread: the allocator's own lists
// then cannot grow, as when the process is out of memory.
namespace {
thread_local bool tNewFails = false;

void* NewOrThrow(size_t size) {
    if (!tNewFails) {
        if (void* memory = std::malloc(size == 0 ? 1 : size))
            return memory;
    }
    throw std::bad_alloc();
}
} // namespace

void* operator new(size_t size) {
    return NewOrThrow(size);
}
void* operator new(size_t size, const std::nothrow_t&) noexcept {
    try {
        return NewOrThrow(size);
    } catch (const std::bad_alloc&) {
        return nullptr;
    }
}
void operator delete(void* memory) noexcept {
    std::free(memory);
}
void operator delete(void* memory, size_t) noexcept {
    std::free(memory);
}
void operator delete(void* memory, const std::nothrow_t&) noexcept {
    std::free(memory);
}

namespace orlenta {
namespace {

// What pugixml asks for a page of nodes: 32 KiB and its header.
constexpr size_t kPageRequest = 32768 + 40;

// Pages of virtual memory the process has mapped, read without the heap.
size_t MappedPages() {
    char text[128] = {};
    const int fd = open("/proc/self/statm", O_RDONLY | O_CLOEXEC);
    if (fd < 0 || read(fd, text, sizeof text - 1) <= 0)
        ADD_FAILURE() << "cannot read /proc/self/statm";
    if (fd >= 0)
        close(fd);
    return std::strtoul(text, nullptr, 10);
}

// Where the allocator cannot record a block it has mapped, it gives the mapping back and returns
// null: pugixml's callback expects null, and an exception must not pass through pugixml. First in
// the file, so that the allocator's lists are still empty and the first new region needs room.
TEST(DocumentMemoryTest, OutOfMemoryForItsListsGivesNullAndLeavesNothingMapped) {
    const TDocumentMemoryUse before = DocumentMemoryUse();
    std::vector<void*> pages;
    pages.reserve(4096);
    const size_t mapped = MappedPages();
    bool threw = false;
    const auto allocate = [&threw](size_t size) -> void* {
        try {
            return AllocateDocumentMemory(size);
        } catch (...) {
            threw = true;
            return nullptr;
        }
    };
    tNewFails = true;
    void* const large = allocate(size_t{8} << 20);
    // Pages until a region is needed that the list of regions has no room for.
    while (pages.size() < pages.capacity()) {
        void* page = allocate(kPageRequest);
        if (page == nullptr)
            break;
        pages.push_back(page);
    }
    tNewFails = false;
    EXPECT_FALSE(threw);
    EXPECT_EQ(large, nullptr);
    EXPECT_LT(pages.size(), pages.capacity());

    // With memory back, it allocates again.
    void* page = AllocateDocumentMemory(kPageRequest);
    EXPECT_NE(page, nullptr);
    pages.push_back(page);
    for (void* held : pages)
        FreeDocumentMemory(held);
    EXPECT_EQ(DocumentMemoryUse().Regions, before.Regions);
    EXPECT_EQ(DocumentMemoryUse().LargeBlocks, before.LargeBlocks);
    // A leaked region or block would be 4 or 8 MiB.
    EXPECT_LT(MappedPages(), mapped + 256);
}

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

std::string DiscsText(int discs) {
    std::string text = "<OrlentaData><Discs>";
    for (int i = 0; i < discs; ++i)
        text += "<Disc Title=\"Disc " + std::to_string(i) + "\"/>";
    return text + "</Discs></OrlentaData>";
}

TEST(DocumentMemoryTest, DocumentsLiveInItAndGiveItBack) {
    const TDocumentMemoryUse before = DocumentMemoryUse();
    {
        auto document = std::make_unique<TXMLDocument>();
        const std::string text = DiscsText(20000);
        ASSERT_TRUE(document->Xml().load_string(text.c_str()));
#ifdef ORLENTA_TEST_ADDRESS_SANITIZER
        EXPECT_EQ(DocumentMemoryUse().Pages, before.Pages);
#else
        EXPECT_GT(DocumentMemoryUse().Pages, before.Pages);
#endif
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

// In the sanitizer build a document's blocks are the heap's: a write past one, or a read after the
// document is gone, is reported. Another document keeps memory of the same kind in use meanwhile.
TEST(DocumentMemoryTest, TheSanitizerSeesFaultsInADocumentsMemory) {
#ifndef ORLENTA_TEST_ADDRESS_SANITIZER
    GTEST_SKIP() << "Only the AddressSanitizer build checks the documents' memory.";
#else
    // Some 22 KB: pugixml parses a copy of it in one block, starting at the root's '<'.
    const std::string text = DiscsText(1000);
    TXMLDocument other;
    ASSERT_TRUE(other.Xml().load_string(text.c_str()));
    const auto load = [&text] {
        auto document = std::make_unique<TXMLDocument>();
        if (!document->Xml().load_string(text.c_str()))
            std::abort();
        return document;
    };
    EXPECT_DEATH(
        {
            const auto document = load();
            char* copy = const_cast<char*>(document->Xml().first_child().name()) - 1;
            copy[text.size() + 1] = 'x';
        },
        "heap-buffer-overflow");
    EXPECT_DEATH(
        {
            auto document = load();
            const char* title = document->Xml()
                                    .child("OrlentaData")
                                    .child("Discs")
                                    .first_child()
                                    .attribute("Title")
                                    .value();
            document.reset();
            std::printf("%c\n", title[0]);
        },
        "heap-use-after-free");
#endif
}

} // namespace
} // namespace orlenta
