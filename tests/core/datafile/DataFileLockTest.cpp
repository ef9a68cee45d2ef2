// The lock that writers of one data file serialize on. Between processes the command-line tests
// show it; here two sessions of one process stand for them (flock tells their files apart).

#include "core/datafile/DataFileLock.h"

#include "TestSupport.h"
#include "core/catalogue/CatalogueSession.h"

#include <atomic>
#include <chrono>
#include <filesystem>
#include <gtest/gtest.h>
#include <thread>
#include <unistd.h>

namespace orlenta {
namespace {

namespace fs = std::filesystem;
using test::RawDeflateBytes;
using test::RawInflateBytes;
using test::ReadFileBytes;
using test::TRecordingHost;
using test::TScratchDirectory;
using test::WriteFileBytes;

std::string SavedTitle(const std::string& path) {
    const std::string text = RawInflateBytes(ReadFileBytes(path));
    const size_t start = text.find("Title=\"") + 7;
    return text.substr(start, text.find('"', start) - start);
}

TEST(DataFileLock, ASaveWaitsForTheSessionThatHoldsTheLockFromLoadToSave) {
    alarm(30); // a lock that is never let go fails the test instead of hanging it
    TScratchDirectory dir;
    fs::create_directory("data");
    WriteFileBytes("data/real.olx", RawDeflateBytes(R"(<OrlentaData Title="Old"/>)"));
    fs::create_symlink("data/real.olx", "link.olx");
    EXPECT_EQ(DataFileLockPath("link.olx"), "./data/.real.olx.lock") << "beside the real file";

    TRecordingHost holderHost;
    TCatalogueSession holder(holderHost);
    std::atomic<bool> otherSaved = false;
    std::thread other;
    {
        // Held under one name, saved under another: the save knows the lock as its own.
        const THeldDataFileLock lock(holder, "link.olx");
        ASSERT_TRUE(holder.OpenDataFile("link.olx"));
        EXPECT_TRUE(fs::exists("data/.real.olx.lock"));

        other = std::thread([&otherSaved] {
            TRecordingHost host;
            TCatalogueSession session(host);
            session.NewCatalogue();
            session.XMLIndexData.SetTitle("Other");
            session.OrlentaFilename = "data/real.olx";
            session.SaveDataFile();
            otherSaved = true;
        });
        std::this_thread::sleep_for(std::chrono::milliseconds(300));
        EXPECT_FALSE(otherSaved) << "the other writer came between load and save";

        holder.XMLIndexData.SetTitle("Holder");
        holder.OrlentaFilename = "data/real.olx";
        holder.SaveDataFile();
        EXPECT_EQ(SavedTitle("data/real.olx"), "Holder");
    }
    other.join();
    alarm(0);

    EXPECT_TRUE(otherSaved);
    EXPECT_EQ(SavedTitle("data/real.olx"), "Other");
    EXPECT_FALSE(fs::exists("data/.real.olx.lock")) << "the last holder removes it";
    EXPECT_TRUE(holderHost.WaitTexts.empty());
}

} // namespace
} // namespace orlenta
