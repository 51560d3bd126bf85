#include <gtest/gtest.h>

#include "install_test_support.h"
#include "MessageBoxRecorder.h"
#include "TempDir.h"
#include "install/CopyJob.h"

// Failures after a file was opened: they are reported by name and end the copy with FALSE; none
// of them may escape as a crash. And the user's Cancel, at each of the copy job's polls.

namespace {

std::vector<std::string> Boxes() {
    std::vector<std::string> texts;
    for (const auto& box : MessageBoxRecorder::boxes)
        texts.push_back(box.text);
    return texts;
}

} // namespace

TEST(CopyJobFailure, AWriteToAFullDeviceIsReportedByName) {
    // Through drive Z: every Linux path is reachable; /dev/full refuses every write with
    // ERROR_DISK_FULL.
    HANDLE hFull = CreateFileA("Z:\\dev\\full", GENERIC_WRITE, 0, NULL, OPEN_EXISTING, 0, NULL);
    if (hFull == INVALID_HANDLE_VALUE)
        GTEST_SKIP() << "Z:\\dev\\full is not reachable in this prefix";
    CloseHandle(hFull);
    MessageBoxRecorder boxes;
    TempDir source;
    source.WriteFile("full", Pattern(10000, 1));
    CurrentDirectory cwd(source.path());
    CCopyJob job;
    job.SetDestination("Z:\\dev");
    job.AddFile("full");
    EXPECT_FALSE(job.CopyFiles());
    EXPECT_EQ(std::vector<std::string>{"Can't write filename: Z:\\dev\\full"}, Boxes());
}

TEST(CopyJobFailure, AFullDiskIsReportedByName) {
    // A drive on a small file system that the test runner maps and names in the environment
    // (wine_run_begin in scripts/lib/wine-env.sh). Linux gives a 4096-byte write at a 4096-byte
    // offset all of its pages or none, so here the write that meets the full point fails outright.
    char dir[MAX_PATH] = "";
    GetEnvironmentVariableA("SETUP_TEST_SMALL_DRIVE", dir, MAX_PATH);
    ULARGE_INTEGER free;
    if (dir[0] == 0 || !GetDiskFreeSpaceExA(dir, &free, NULL, NULL))
        GTEST_SKIP() << "SETUP_TEST_SMALL_DRIVE does not name a mapped drive";
    ASSERT_LT(free.QuadPart, 4u << 20) << dir << " is not small";

    MessageBoxRecorder boxes;
    TempDir source;
    const std::string first = "FIRST" + std::to_string(GetCurrentProcessId()) + ".DAT";
    const std::string big = "BIG" + std::to_string(GetCurrentProcessId()) + ".DAT";
    source.WriteFile(first, Pattern(5000, 2));
    source.WriteFile(big, Pattern(static_cast<size_t>(free.QuadPart) + 65536, 3));
    CurrentDirectory cwd(source.path());
    CCopyJob job;
    job.SetDestination(dir);
    job.AddFile(first.c_str());
    job.AddFile(big.c_str());
    EXPECT_FALSE(job.CopyFiles());
    const std::string dest = std::string(job.GetDestination()) + "\\";
    EXPECT_EQ(std::vector<std::string>{"Can't write filename: " + dest + big}, Boxes());
    EXPECT_EQ(FileContent(source.Path(first)), FileContent(dest + first)) << "copied before";
    DeleteFileA((dest + first).c_str());
    DeleteFileA((dest + big).c_str());
}

TEST(CopyJobFailure, ASourceThatCannotBeReadIsReportedByName) {
    // Reading a process's memory file at offset 0 fails with an I/O error.
    if (!FileExists("Z:\\proc\\self\\mem"))
        GTEST_SKIP() << "Z:\\proc\\self\\mem is not reachable in this prefix";
    MessageBoxRecorder boxes;
    TempDir dest;
    CurrentDirectory cwd("Z:\\proc\\self");
    CCopyJob job;
    job.SetDestination(dest.path().c_str());
    job.AddFile("mem");
    EXPECT_FALSE(job.CopyFiles());
    EXPECT_EQ(std::vector<std::string>{"Can't read filename: Z:\\proc\\self\\mem"}, Boxes());
}

namespace {

class CopyJobCancel : public ::testing::Test {
protected:
    CopyJobCancel() : cwd_(source.path()) {
        source.WriteFile("A.TXT", Pattern(3000, 3));
        source.WriteFile("B.TXT", Pattern(3000, 4));
        dest = destRoot.path();
    }
    std::string Target(const std::string& name) const { return dest + "\\" + name; }

    MessageBoxRecorder boxes;
    TempDir source;
    TempDir destRoot;
    std::string dest;
    InstallingWatch watch;
    CCopyJob job;

private:
    CurrentDirectory cwd_;
};

} // namespace

TEST_F(CopyJobCancel, AtOnceAfterTheDialogIsShown) {
    watch.CancelWhenShown();
    // Both the destination and the missing file would give a message after that first poll.
    char cwd[MAX_PATH];
    GetCurrentDirectoryA(MAX_PATH, cwd);
    job.SetDestination(cwd);
    job.AddFile("MISSING.TXT");
    EXPECT_FALSE(job.CopyFiles());
    EXPECT_TRUE(watch.cancelPressed);
    EXPECT_TRUE(Boxes().empty()) << "a cancel has no message";
    EXPECT_FALSE(IsWindowVisible(watch.dialog)) << "Cancel hides the dialog";
}

TEST_F(CopyJobCancel, BeforeTheNextFile) {
    watch.CancelWhenCopying("B.TXT");
    job.SetDestination(dest.c_str());
    job.AddFile("A.TXT");
    job.AddFile("B.TXT");
    EXPECT_FALSE(job.CopyFiles());
    EXPECT_TRUE(watch.cancelPressed);
    EXPECT_TRUE(Boxes().empty());
    EXPECT_EQ(FileContent(source.Path("A.TXT")), FileContent(Target("A.TXT")))
        << "earlier files stay";
    EXPECT_FALSE(FileExists(Target("B.TXT"))) << "the poll comes before the target is made";
}

TEST_F(CopyJobCancel, InsideALargeFile) {
    const std::string big = Pattern(4 << 20, 5);
    source.WriteFile("BIG.DAT", big);
    watch.CancelAtBarDraw("BIG.DAT", 5);
    job.SetDestination(dest.c_str());
    job.AddFile("A.TXT");
    job.AddFile("BIG.DAT");
    job.AddFile("B.TXT");
    EXPECT_FALSE(job.CopyFiles());
    EXPECT_TRUE(watch.cancelPressed);
    EXPECT_TRUE(Boxes().empty());
    EXPECT_EQ(FileContent(source.Path("A.TXT")), FileContent(Target("A.TXT")));
    EXPECT_FALSE(FileExists(Target("B.TXT")));

    // Left in place, partly written, in whole blocks; what is there is the source's beginning.
    const std::string partial = FileContent(Target("BIG.DAT"));
    EXPECT_GT(partial.size(), 0u);
    EXPECT_LT(partial.size(), big.size() / 2) << "Cancel takes effect within a block or two";
    EXPECT_EQ(0u, partial.size() % 4096);
    EXPECT_EQ(big.substr(0, partial.size()), partial);
    EXPECT_EQ(big, FileContent(source.Path("BIG.DAT"))) << "the source is untouched";
}
