#include <gtest/gtest.h>

#include "install_test_support.h"
#include "MessageBoxRecorder.h"
#include "TempDir.h"
#include "install/CopyJob.h"

#include <algorithm>

namespace {

// A source directory made current, as the install sequence makes the program's directory, and a
// destination directory beside it.
class CopyJobTest : public ::testing::Test {
protected:
    CopyJobTest() : cwd_(source_.path()) {
        char dir[MAX_PATH];
        GetCurrentDirectoryA(MAX_PATH, dir);
        sourceDir_ = dir;
        dest_ = destRoot_.Path("ZEL");
        CreateDirectoryA(dest_.c_str(), nullptr);
    }

    std::string Source(const std::string& name) const { return source_.Path(name); }
    std::string Target(const std::string& name) const { return dest_ + "\\" + name; }
    void Add(std::initializer_list<const char*> names) {
        for (const char* name : names)
            job_.AddFile(name);
    }
    InstallingWatch::BarState LastBar() const {
        return watch_.barDraws.empty() ? InstallingWatch::barEmpty : watch_.barDraws.back().state;
    }

    MessageBoxRecorder boxes_;
    TempDir source_;
    TempDir destRoot_;
    std::string sourceDir_; // the current directory as the system spells it
    std::string dest_;
    InstallingWatch watch_;
    CCopyJob job_;

private:
    CurrentDirectory cwd_;
};

std::string Lower(std::string s) {
    std::transform(s.begin(), s.end(), s.begin(), [](char c) { return (char)tolower(c); });
    return s;
}

} // namespace

TEST(CopyJobDestination, IsKeptNormalised) {
    CCopyJob job;
    EXPECT_STREQ("", job.GetDestination());
    job.SetDestination("C:/ZEL//");
    EXPECT_STREQ("C:\\ZEL", job.GetDestination());
    job.SetDestination("C:\\");
    EXPECT_STREQ("C:", job.GetDestination()) << "a drive root is stored as the bare drive";
}

TEST_F(CopyJobTest, CopiesEveryFileByteForByteInListOrder) {
    // Sizes around the block size: one short block, exact blocks, one byte past them.
    source_.WriteFile("C.BIN", BytePattern(8192, 1));
    source_.WriteFile("A.TXT", "read me\r\n");
    source_.WriteFile("B.BIN", BytePattern(4097, 2));
    source_.WriteFile("D.BIN", BytePattern(100000, 3));
    job_.SetDestination((dest_ + "\\").c_str());
    Add({"C.BIN", "A.TXT", "B.BIN", "D.BIN"});

    EXPECT_TRUE(job_.CopyFiles());
    EXPECT_TRUE(MessageBoxRecorder::Texts().empty());
    for (const char* name : {"C.BIN", "A.TXT", "B.BIN", "D.BIN"})
        EXPECT_EQ(ReadWholeFile(Source(name)), ReadWholeFile(Target(name))) << name;
    EXPECT_EQ((std::vector<std::string>{"Copying: C.BIN", "Copying: A.TXT", "Copying: B.BIN",
                                        "Copying: D.BIN"}),
              watch_.copying);
    EXPECT_EQ("To: " + Target("C.BIN"), watch_.to.front());
    EXPECT_EQ("To: " + Target("D.BIN"), watch_.to.back());
    EXPECT_EQ(InstallingWatch::barFull, LastBar());
    ASSERT_NE(nullptr, watch_.dialog);
    EXPECT_TRUE(IsWindow(watch_.dialog));
    EXPECT_FALSE(IsWindowVisible(watch_.dialog)) << "Finish hides the dialog";
}

TEST_F(CopyJobTest, AnEmptyListShowsAndHidesTheDialog) {
    job_.SetDestination(dest_.c_str());
    EXPECT_TRUE(job_.CopyFiles());
    ASSERT_NE(nullptr, watch_.dialog) << "the dialog was shown";
    EXPECT_FALSE(IsWindowVisible(watch_.dialog));
    EXPECT_TRUE(watch_.copying.empty());
    EXPECT_TRUE(MessageBoxRecorder::Texts().empty());
}

TEST_F(CopyJobTest, EmptyFilesGiveEmptyTargetsAndNoProgress) {
    source_.WriteFile("E1", "");
    source_.WriteFile("E2", "");
    job_.SetDestination(dest_.c_str());
    Add({"E1", "E2"});
    EXPECT_TRUE(job_.CopyFiles());
    EXPECT_TRUE(PathExists(Target("E1")));
    EXPECT_TRUE(PathExists(Target("E2")));
    EXPECT_EQ("", ReadWholeFile(Target("E2")));
    ASSERT_FALSE(watch_.barDraws.empty()) << "the bar was painted";
    for (const auto& draw : watch_.barDraws)
        EXPECT_EQ(InstallingWatch::barEmpty, draw.state) << "the bar never leaves 0";
}

TEST_F(CopyJobTest, ANameAddedTwiceIsMeasuredAndCopiedTwice) {
    source_.WriteFile("TWICE.BIN", BytePattern(40000, 4));
    job_.SetDestination(dest_.c_str());
    Add({"TWICE.BIN", "TWICE.BIN"});
    EXPECT_TRUE(job_.CopyFiles());
    EXPECT_EQ(2u, watch_.copying.size());
    EXPECT_EQ(ReadWholeFile(Source("TWICE.BIN")), ReadWholeFile(Target("TWICE.BIN")))
        << "the second copy truncates and rewrites the first";
    // Measured twice: the first copy takes the bar half way only.
    int nFirstCopyDraws = 0;
    for (const auto& draw : watch_.barDraws) {
        if (draw.file == 1) {
            nFirstCopyDraws++;
            EXPECT_NE(InstallingWatch::barFull, draw.state);
        }
    }
    EXPECT_GT(nFirstCopyDraws, 0);
    EXPECT_EQ(InstallingWatch::barFull, LastBar());
}

TEST_F(CopyJobTest, TheSourceDirectoryIsRefusedHoweverItIsSpelled) {
    source_.WriteFile("A.TXT", "a");
    std::string doubled = sourceDir_;
    doubled.insert(doubled.find('\\'), "\\");
    std::string slashes = sourceDir_;
    std::replace(slashes.begin(), slashes.end(), '\\', '/');
    struct Row {
        std::string current; // the current directory as the system spells it
        std::string spelling;
    };
    // A drive root is the one directory the system spells with a trailing backslash. No A.TXT
    // is there, so a copy that got past the refusal writes nothing to the root.
    const Row rows[] = {{sourceDir_, sourceDir_},
                        {sourceDir_, sourceDir_ + "\\"},
                        {sourceDir_, doubled},
                        {sourceDir_, slashes + "/"},
                        {"C:\\", "C:\\"}};
    for (const Row& row : rows) {
        MessageBoxRecorder::boxes.clear();
        CurrentDirectory current(row.current);
        CCopyJob sameJob;
        sameJob.SetDestination(row.spelling.c_str());
        sameJob.AddFile("A.TXT");
        EXPECT_FALSE(sameJob.CopyFiles()) << row.spelling;
        // The message shows the directory exactly as the system gave it.
        EXPECT_EQ(std::vector<std::string>{"Destination directory cannot be " + row.current},
                  MessageBoxRecorder::Texts())
            << row.spelling;
    }
    EXPECT_EQ("a", ReadWholeFile(Source("A.TXT")));
}

TEST_F(CopyJobTest, AFontThatIsItsOwnTargetIsSkipped) {
    source_.WriteFile("QUIRN.FON", "font");
    job_.SetDestination(Lower(sourceDir_).c_str());
    Add({"QUIRN.FON"});
    EXPECT_TRUE(job_.CopyFiles());
    EXPECT_TRUE(MessageBoxRecorder::Texts().empty());
    EXPECT_EQ("font", ReadWholeFile(Source("QUIRN.FON")));
}

// Whether a held font is skipped is seen end to end; only here does the bar show that the
// font's share is not counted as copied.
TEST_F(CopyJobTest, AHeldFontTargetLeavesTheBarShortByItsShare) {
    source_.WriteFile("QUIRN.FON", BytePattern(5000, 7));
    source_.WriteFile("Z.TXT", BytePattern(5000, 8));
    destRoot_.WriteFile("ZEL\\QUIRN.FON", "loaded");
    job_.SetDestination(dest_.c_str());
    Add({"QUIRN.FON", "Z.TXT"});
    HeldFile held(Target("QUIRN.FON"));
    ASSERT_TRUE(held.IsOpen());
    EXPECT_TRUE(job_.CopyFiles());
    EXPECT_EQ(InstallingWatch::barPartial, LastBar())
        << "got bar state " << LastBar() << " (0 empty, 2 full), expected 1: short of full";
}

// Only a font the system holds open is passed over; a target that cannot be opened for any
// other reason (here a directory of that name; a read-only file is no such target where Wine
// runs as root), or a held file that is no font by its upper-case name, fails the copy.
TEST_F(CopyJobTest, AnUnopenableTargetIsReportedUnlessItIsAHeldFont) {
    enum Block { held, directory };
    const char* const blockNames[] = {"held open", "a directory"};
    struct Row {
        const char* name;
        Block block;
    };
    const Row rows[] = {
        {"README.TXT", held},
        {"quirn.fon", held},
        {"QUIRN.FON", directory},
    };
    for (const Row& row : rows) {
        MessageBoxRecorder::boxes.clear();
        const std::string target = Target(row.name);
        source_.WriteFile(row.name, "new");
        if (row.block == directory) {
            ASSERT_TRUE(CreateDirectoryA(target.c_str(), nullptr)) << row.name;
        } else {
            destRoot_.WriteFile(std::string("ZEL\\") + row.name, "old");
        }
        BOOL bCopied;
        {
            HeldFile hold(row.block == held ? target : std::string());
            ASSERT_EQ(row.block == held, hold.IsOpen()) << row.name;
            CCopyJob rowJob;
            rowJob.SetDestination(dest_.c_str());
            rowJob.AddFile(row.name);
            bCopied = rowJob.CopyFiles();
        }
        EXPECT_FALSE(bCopied) << row.name << " " << blockNames[row.block]
                              << ": got copied, expected failed";
        EXPECT_EQ(std::vector<std::string>{"Can't open filename: " + target},
                  MessageBoxRecorder::Texts())
            << row.name << " " << blockNames[row.block];
        DeleteFileA(target.c_str());
        RemoveDirectoryA(target.c_str());
        DeleteFileA(Source(row.name).c_str());
    }
}

TEST_F(CopyJobTest, ADriveRootTakesTheFilesDirectlyBelowIt) {
    const std::string name = "ZZCOPYJOB" + std::to_string(GetCurrentProcessId()) + ".TMP";
    source_.WriteFile(name, "root");
    job_.SetDestination("C:\\");
    job_.AddFile(name.c_str());
    EXPECT_TRUE(job_.CopyFiles());
    EXPECT_EQ("To: C:\\" + name, watch_.to.at(0));
    EXPECT_EQ("root", ReadWholeFile("C:\\" + name));
    DeleteFileA(("C:\\" + name).c_str());
}
