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
    CopyJobTest() : cwd_(source.path()) {
        char dir[MAX_PATH];
        GetCurrentDirectoryA(MAX_PATH, dir);
        sourceDir = dir;
        dest = destRoot.Path("ZEL");
        CreateDirectoryA(dest.c_str(), NULL);
    }

    std::string Source(const std::string& name) const { return source.Path(name); }
    std::string Target(const std::string& name) const { return dest + "\\" + name; }
    void Add(std::initializer_list<const char*> names) {
        for (const char* name : names)
            job.AddFile(name);
    }
    std::vector<std::string> Boxes() const {
        std::vector<std::string> texts;
        for (const auto& box : MessageBoxRecorder::boxes)
            texts.push_back(box.text);
        return texts;
    }
    InstallingWatch::BarState LastBar() const {
        return watch.barDraws.empty() ? InstallingWatch::barEmpty : watch.barDraws.back().state;
    }

    MessageBoxRecorder boxes;
    TempDir source;
    TempDir destRoot;
    std::string sourceDir; // the current directory as the system spells it
    std::string dest;
    InstallingWatch watch;
    CCopyJob job;

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

TEST_F(CopyJobTest, MakesTheDestinationWithItsParents) {
    std::string deep = destRoot.Path("A\\B\\C");
    job.SetDestination((deep + "\\").c_str());
    EXPECT_TRUE(job.MakeDestinationDirectory());
    EXPECT_NE(INVALID_FILE_ATTRIBUTES, GetFileAttributesA(deep.c_str()));
    EXPECT_TRUE(Boxes().empty());

    CCopyJob bad;
    bad.SetDestination(destRoot.Path("bad<name").c_str());
    EXPECT_FALSE(bad.MakeDestinationDirectory());
    EXPECT_EQ(std::vector<std::string>{"CreateDirectory failed, err = 123\n"}, Boxes());
    RemoveTree(destRoot.Path("A"));
}

TEST_F(CopyJobTest, CopiesEveryFileByteForByteInListOrder) {
    // Sizes around the block size: one short block, exact blocks, one byte past them.
    source.WriteFile("C.BIN", Pattern(8192, 1));
    source.WriteFile("A.TXT", "read me\r\n");
    source.WriteFile("B.BIN", Pattern(4097, 2));
    source.WriteFile("D.BIN", Pattern(100000, 3));
    job.SetDestination((dest + "\\").c_str());
    Add({"C.BIN", "A.TXT", "B.BIN", "D.BIN"});

    EXPECT_TRUE(job.CopyFiles());
    EXPECT_TRUE(Boxes().empty());
    for (const char* name : {"C.BIN", "A.TXT", "B.BIN", "D.BIN"})
        EXPECT_EQ(FileContent(Source(name)), FileContent(Target(name))) << name;
    EXPECT_EQ((std::vector<std::string>{"Copying: C.BIN", "Copying: A.TXT", "Copying: B.BIN",
                                        "Copying: D.BIN"}),
              watch.copying);
    EXPECT_EQ("To: " + Target("C.BIN"), watch.to.front());
    EXPECT_EQ("To: " + Target("D.BIN"), watch.to.back());
    EXPECT_EQ(InstallingWatch::barFull, LastBar());
    ASSERT_NE(nullptr, watch.dialog);
    EXPECT_TRUE(IsWindow(watch.dialog));
    EXPECT_FALSE(IsWindowVisible(watch.dialog)) << "Finish hides the dialog";
}

TEST_F(CopyJobTest, AnEmptyListShowsAndHidesTheDialog) {
    job.SetDestination(dest.c_str());
    EXPECT_TRUE(job.CopyFiles());
    ASSERT_NE(nullptr, watch.dialog) << "the dialog was shown";
    EXPECT_FALSE(IsWindowVisible(watch.dialog));
    EXPECT_TRUE(watch.copying.empty());
    EXPECT_TRUE(Boxes().empty());
}

TEST_F(CopyJobTest, EmptyFilesGiveEmptyTargetsAndNoProgress) {
    source.WriteFile("E1", "");
    source.WriteFile("E2", "");
    job.SetDestination(dest.c_str());
    Add({"E1", "E2"});
    EXPECT_TRUE(job.CopyFiles());
    EXPECT_TRUE(FileExists(Target("E1")));
    EXPECT_TRUE(FileExists(Target("E2")));
    EXPECT_EQ("", FileContent(Target("E2")));
    ASSERT_FALSE(watch.barDraws.empty()) << "the bar was painted";
    for (const auto& draw : watch.barDraws)
        EXPECT_EQ(InstallingWatch::barEmpty, draw.state) << "the bar never leaves 0";
}

TEST_F(CopyJobTest, ANameAddedTwiceIsMeasuredAndCopiedTwice) {
    source.WriteFile("TWICE.BIN", Pattern(40000, 4));
    job.SetDestination(dest.c_str());
    Add({"TWICE.BIN", "TWICE.BIN"});
    EXPECT_TRUE(job.CopyFiles());
    EXPECT_EQ(2u, watch.copying.size());
    EXPECT_EQ(FileContent(Source("TWICE.BIN")), FileContent(Target("TWICE.BIN")))
        << "the second copy truncates and rewrites the first";
    // Measured twice: the first copy takes the bar half way only.
    int nFirstCopyDraws = 0;
    for (const auto& draw : watch.barDraws) {
        if (draw.file == 1) {
            nFirstCopyDraws++;
            EXPECT_NE(InstallingWatch::barFull, draw.state);
        }
    }
    EXPECT_GT(nFirstCopyDraws, 0);
    EXPECT_EQ(InstallingWatch::barFull, LastBar());
}

TEST_F(CopyJobTest, TheSourceDirectoryIsRefusedHoweverItIsSpelled) {
    source.WriteFile("A.TXT", "a");
    std::string doubled = sourceDir;
    doubled.insert(doubled.find('\\'), "\\");
    std::string slashes = sourceDir;
    std::replace(slashes.begin(), slashes.end(), '\\', '/');
    struct Row {
        std::string current; // the current directory as the system spells it
        std::string spelling;
    };
    // A drive root is the one directory the system spells with a trailing backslash. No A.TXT
    // is there, so a copy that got past the refusal writes nothing to the root.
    const Row rows[] = {{sourceDir, sourceDir},
                        {sourceDir, sourceDir + "\\"},
                        {sourceDir, doubled},
                        {sourceDir, slashes + "/"},
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
                  Boxes())
            << row.spelling;
    }
    EXPECT_EQ("a", FileContent(Source("A.TXT")));
}

TEST_F(CopyJobTest, AnotherSpellingOfTheSourceCannotOverwriteIt) {
    const std::string content = Pattern(10000, 5);
    source.WriteFile("A.TXT", content);
    const std::string spellings[] = {Lower(sourceDir), sourceDir + "\\.",
                                     sourceDir + "\\..\\" +
                                         sourceDir.substr(sourceDir.rfind('\\') + 1)};
    for (const std::string& spelling : spellings) {
        MessageBoxRecorder::boxes.clear();
        CCopyJob sameJob;
        sameJob.SetDestination(spelling.c_str());
        sameJob.AddFile("A.TXT");
        EXPECT_FALSE(sameJob.CopyFiles()) << spelling;
        EXPECT_EQ(std::vector<std::string>{"Can't open filename: " + spelling + "\\A.TXT"},
                  Boxes());
        EXPECT_EQ(content, FileContent(Source("A.TXT"))) << "the source is untouched";
    }
}

TEST_F(CopyJobTest, AFontThatIsItsOwnTargetIsSkipped) {
    source.WriteFile("QUIRN.FON", "font");
    job.SetDestination(Lower(sourceDir).c_str());
    Add({"QUIRN.FON"});
    EXPECT_TRUE(job.CopyFiles());
    EXPECT_TRUE(Boxes().empty());
    EXPECT_EQ("font", FileContent(Source("QUIRN.FON")));
}

TEST_F(CopyJobTest, AMissingSourceIsReportedBeforeAnythingIsCopied) {
    source.WriteFile("A.TXT", "a");
    job.SetDestination(dest.c_str());
    Add({"A.TXT", "MISSING.TXT"});
    EXPECT_FALSE(job.CopyFiles());
    EXPECT_EQ(std::vector<std::string>{"Can't open filename: " + sourceDir + "\\MISSING.TXT"},
              Boxes());
    EXPECT_FALSE(FileExists(Target("A.TXT")));
    EXPECT_TRUE(watch.copying.empty());
    EXPECT_TRUE(IsWindowVisible(watch.dialog)) << "a failure leaves the dialog shown";
    EXPECT_EQ(static_cast<unsigned>(MB_OK), MessageBoxRecorder::boxes[0].type);
}

TEST_F(CopyJobTest, AHeldFontTargetIsSkippedSilently) {
    source.WriteFile("A.TXT", Pattern(5000, 6));
    source.WriteFile("QUIRN.FON", Pattern(5000, 7));
    source.WriteFile("Z.TXT", Pattern(5000, 8));
    destRoot.WriteFile("ZEL\\QUIRN.FON", "loaded");
    job.SetDestination(dest.c_str());
    Add({"A.TXT", "QUIRN.FON", "Z.TXT"});
    {
        HeldFile held(Target("QUIRN.FON"));
        ASSERT_TRUE(held.IsOpen());
        EXPECT_TRUE(job.CopyFiles());
    }
    EXPECT_TRUE(Boxes().empty());
    EXPECT_EQ(FileContent(Source("A.TXT")), FileContent(Target("A.TXT")));
    EXPECT_EQ(FileContent(Source("Z.TXT")), FileContent(Target("Z.TXT")));
    EXPECT_EQ("loaded", FileContent(Target("QUIRN.FON")));
    EXPECT_EQ(InstallingWatch::barPartial, LastBar()) << "the bar stops short by the font's share";
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
        source.WriteFile(row.name, "new");
        if (row.block == directory) {
            ASSERT_TRUE(CreateDirectoryA(target.c_str(), NULL)) << row.name;
        } else {
            destRoot.WriteFile(std::string("ZEL\\") + row.name, "old");
        }
        BOOL bCopied;
        {
            HeldFile hold(row.block == held ? target : std::string());
            ASSERT_EQ(row.block == held, hold.IsOpen()) << row.name;
            CCopyJob rowJob;
            rowJob.SetDestination(dest.c_str());
            rowJob.AddFile(row.name);
            bCopied = rowJob.CopyFiles();
        }
        EXPECT_FALSE(bCopied) << row.name << " " << blockNames[row.block]
                              << ": got copied, expected failed";
        EXPECT_EQ(std::vector<std::string>{"Can't open filename: " + target}, Boxes())
            << row.name << " " << blockNames[row.block];
        DeleteFileA(target.c_str());
        RemoveDirectoryA(target.c_str());
        DeleteFileA(Source(row.name).c_str());
    }
}

TEST_F(CopyJobTest, ADriveRootTakesTheFilesDirectlyBelowIt) {
    const std::string name = "ZZCOPYJOB" + std::to_string(GetCurrentProcessId()) + ".TMP";
    source.WriteFile(name, "root");
    job.SetDestination("C:\\");
    job.AddFile(name.c_str());
    EXPECT_TRUE(job.CopyFiles());
    EXPECT_EQ("To: C:\\" + name, watch.to.at(0));
    EXPECT_EQ("root", FileContent("C:\\" + name));
    DeleteFileA(("C:\\" + name).c_str());
}
