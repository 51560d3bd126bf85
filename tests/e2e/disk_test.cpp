// The disk and the medium fail the copy: a source file missing, a target held open, a disk that
// fills up, a write lost at the close. Every case: the cause named, then the sequence's own
// message, exit code 2, and what was made before the failure left in place. The full disks are
// tmpfs mounts that the runner maps (wine_run_begin in scripts/lib/wine-env.sh): the small drive
// (E2E_SMALL_DRIVE, without room for the program file) and the fill drive (E2E_FILL_DRIVE, with
// few entries), which the tests fill to the chosen point themselves; a disk that fills part-way
// through a block, and a failing close, are the hook's (fault_hook.c).
#include "setup_fixture.h"

namespace {

const char kFailed[] = "Failed to install ZEL";
constexpr uint64_t kPage = 4096;

uint64_t FreeBytes(const std::string& drive) {
    ULARGE_INTEGER available;
    if (!GetDiskFreeSpaceExA((drive + "\\").c_str(), &available, nullptr, nullptr))
        return 0;
    return available.QuadPart;
}

// Makes empty files in `dir` until the file system of its drive takes no further entry, then
// removes `spare` of them again.
::testing::AssertionResult UseUpEntries(const std::string& dir, int spare) {
    std::vector<std::string> made;
    for (int i = 0;; i++) {
        if (i > 100000)
            return ::testing::AssertionFailure() << dir << " takes entries without end";
        std::string path = dir + "\\E" + std::to_string(i);
        HANDLE file = CreateFileA(path.c_str(), GENERIC_WRITE, 0, nullptr, CREATE_NEW,
                                  FILE_ATTRIBUTE_NORMAL, nullptr);
        if (file == INVALID_HANDLE_VALUE) {
            if (GetLastError() != ERROR_DISK_FULL)
                return ::testing::AssertionFailure()
                       << "making " << path << ": " << robot::LastErrorText();
            break;
        }
        CloseHandle(file);
        made.push_back(path);
    }
    if (made.size() < static_cast<size_t>(spare))
        return ::testing::AssertionFailure() << "only " << made.size() << " entries in " << dir;
    for (int i = 0; i < spare; i++) {
        if (!DeleteFileA(made.back().c_str()))
            return ::testing::AssertionFailure()
                   << "removing " << made.back() << ": " << robot::LastErrorText();
        made.pop_back();
    }
    return ::testing::AssertionSuccess();
}

// Writes the file `path` so large that exactly `bytesFree` bytes stay free on `drive`.
::testing::AssertionResult FillUpTo(const std::string& drive, const std::string& path,
                                    uint64_t bytesFree) {
    const uint64_t now = FreeBytes(drive);
    if (now < bytesFree)
        return ::testing::AssertionFailure()
               << drive << " has " << now << " bytes free, fewer than " << bytesFree;
    if (!WriteWholeFile(path, std::string(static_cast<size_t>(now - bytesFree), 'F')))
        return ::testing::AssertionFailure()
               << "writing " << path << ": " << robot::LastErrorText();
    if (FreeBytes(drive) != bytesFree)
        return ::testing::AssertionFailure()
               << drive << " has " << FreeBytes(drive) << " bytes free, not " << bytesFree;
    return ::testing::AssertionSuccess();
}

class DiskAndMedium : public SetupTest {};

TEST_F(DiskAndMedium, AMissingSourceFileIsNamedAndNothingIsCopied) {
    ASSERT_TRUE(RemoveMediumFile("README.TXT"));
    ASSERT_NE(nullptr, Reach(Step::kCopy));
    std::string error;
    ASSERT_NE(nullptr, robot::WaitForMessageBox("SETUP", &setup_, robot::kDefaultTimeoutMs, &error))
        << error;
    // The files are measured before the first is begun: the dialog stays behind the message
    // with its first line still cleared.
    HWND installing = robot::FindDialog("Installing...", setup_.Id());
    ASSERT_NE(nullptr, installing) << "got no Installing dialog, expected it behind the message";
    EXPECT_EQ("", robot::TextOf(GetDlgItem(installing, IDC_INSTALLING_COPYING)));
    ExpectEnd({"Can't open filename: C:\\MEDIUM\\README.TXT", kFailed});
    EXPECT_TRUE(robot::IsDirectory(kDefaultDestination)) << "the directory is made first";
    EXPECT_EQ(Texts{}, robot::ListTree(kDefaultDestination, {})) << "but nothing copied";
}

TEST_F(DiskAndMedium, AHeldOpenReadMeIsNamed) {
    ASSERT_TRUE(CreateDirectoryA(kDefaultDestination, nullptr));
    ASSERT_TRUE(WriteWholeFile("C:\\ZEL\\README.TXT", "an older read-me"));
    HeldFile held("C:\\ZEL\\README.TXT");
    ASSERT_TRUE(held.IsOpen()) << robot::LastErrorText();
    ASSERT_NE(nullptr, Reach(Step::kCopy));
    ExpectEnd({"Can't open filename: C:\\ZEL\\README.TXT", kFailed});
    held.Release();
    EXPECT_EQ("an older read-me", ReadWholeFile("C:\\ZEL\\README.TXT"));
    EXPECT_EQ("", CompareWithMedium(kDefaultDestination, FilesFrom(1)))
        << "the program, copied before it, stays";
}

TEST_F(DiskAndMedium, AFullDiskOnTheFirstFile) {
    const std::string drive = robot::Env("E2E_SMALL_DRIVE");
    ULARGE_INTEGER free;
    if (drive.empty() || !GetDiskFreeSpaceExA((drive + "\\").c_str(), &free, nullptr, nullptr))
        GTEST_SKIP() << "E2E_SMALL_DRIVE does not name a mapped drive";
    ASSERT_LT(free.QuadPart, 46592u) << drive << " has room for the program file";
    const std::string dest = drive + "\\ZEL";
    CleanLater(dest);
    ASSERT_NE(nullptr, Reach(Step::kCopy, dest));
    ExpectEnd({"Can't write filename: " + dest + "\\ZEL.EXE", kFailed});
    // A silent run tells the same in its log alone.
    ASSERT_TRUE(RunSilent("/D=" + dest));
    EXPECT_EQ(Texts({"Can't write filename: " + dest + "\\ZEL.EXE", kFailed}), messages_);
    EXPECT_EQ(2u, exitCode_);
}

TEST_F(DiskAndMedium, AFullDiskWhileTheDirectoriesAreMade) {
    const std::string drive = FillDrive();
    if (drive.empty())
        GTEST_SKIP() << "E2E_FILL_DRIVE does not name a mapped drive";
    // Room for one more entry: the first missing directory is made, the second finds the disk
    // full.
    const std::string filler = drive + "\\FILLER";
    CleanLater(filler);
    ASSERT_TRUE(CreateDirectoryA(filler.c_str(), nullptr)) << robot::LastErrorText();
    ASSERT_TRUE(UseUpEntries(filler, 1));
    const std::string dest = drive + "\\ONE\\TWO\\THREE";
    CleanLater(drive + "\\ONE");
    ASSERT_NE(nullptr, Reach(Step::kCopy, dest));
    ExpectEnd(
        {"CreateDirectory failed, err = 112\n", "Unable to create destination directory: " + dest});
    EXPECT_TRUE(robot::IsDirectory(drive + "\\ONE")) << "made before the disk was full";
    EXPECT_FALSE(robot::PathExists(drive + "\\ONE\\TWO"));
}

TEST_F(DiskAndMedium, AFullDiskOnTheLastFile) {
    const std::string drive = FillDrive();
    if (drive.empty())
        GTEST_SKIP() << "E2E_FILL_DRIVE does not name a mapped drive";
    // The last file is made 16 pages long, and the disk keeps room for the nine files before it
    // and half of it.
    const size_t kLastSize = 16 * kPage;
    ASSERT_TRUE(ReplaceMediumFile("QUIRNDB.FON", kLastSize));
    uint64_t room = 8 * kPage;
    for (size_t i = 0; i + 1 < kProductFiles.size(); i++) {
        robot::FileSum sum;
        ASSERT_TRUE(robot::SumFile("C:\\MEDIUM\\" + kProductFiles[i], &sum)) << kProductFiles[i];
        room += (sum.size + kPage - 1) / kPage * kPage;
    }
    const std::string filler = drive + "\\FILLER.BIN";
    CleanLater(filler);
    ASSERT_TRUE(FillUpTo(drive, filler, room));
    const std::string dest = drive + "\\ZEL";
    CleanLater(dest);
    ASSERT_NE(nullptr, Reach(Step::kCopy, dest));
    ExpectEnd({"Can't write filename: " + dest + "\\QUIRNDB.FON", kFailed});
    EXPECT_EQ("", CompareWithMedium(dest, {"QUIRNDB.FON"})) << "the nine files before it";
    const std::string partial = ReadWholeFile(dest + "\\QUIRNDB.FON");
    EXPECT_LT(partial.size(), kLastSize);
    EXPECT_TRUE(partial == ReadWholeFile("C:\\MEDIUM\\QUIRNDB.FON").substr(0, partial.size()));
}

// A file system that fills up part-way through a write writes what fits and says so only by the
// count; the next write fails. The full point is half-way into the last block of a file: a copy
// that took the short count for the whole block would go on to the next file (and after the last
// one say Success), the file cut short. tmpfs fills by whole pages, the size of the copy's
// blocks, so the hook gives SETUP such a disk (E2E_HOOK_DISK_ROOM, the bytes it takes).
TEST_F(DiskAndMedium, AFullDiskInsideTheLastBlockOfAFile) {
    for (size_t i : {size_t{0}, kProductFiles.size() - 1}) {
        const std::string& name = kProductFiles[i];
        SCOPED_TRACE(name);
        uint64_t room = 0;
        for (size_t j = 0; j <= i; j++) {
            robot::FileSum sum;
            ASSERT_TRUE(robot::SumFile("C:\\MEDIUM\\" + kProductFiles[j], &sum))
                << kProductFiles[j];
            room += sum.size;
            if (j == i) {
                const uint64_t lastBlock = sum.size % kPage != 0 ? sum.size % kPage : kPage;
                room -= lastBlock - lastBlock / 2;
            }
        }
        HookWith("E2E_HOOK_DISK_ROOM", std::to_string(room));
        ASSERT_NE(nullptr, Reach(Step::kCopy));
        const std::string target = std::string(kDefaultDestination) + "\\" + name;
        ExpectEnd({"Can't write filename: " + target, kFailed});
        EXPECT_EQ("", CompareWithMedium(kDefaultDestination, FilesFrom(i)))
            << "the files before it";
        EXPECT_EQ(i + 1, robot::ListTree(kDefaultDestination, {}).size()) << "nothing after it";
        RemoveWhatTheRunMade();
    }
}

// A network share or a removable disk may report a lost write only when the file is closed; the
// hook has the close of README.TXT's target report it (E2E_HOOK_CLOSE_FAILS).
TEST_F(DiskAndMedium, AWriteLostAtTheCloseIsNamed) {
    const std::string target = std::string(kDefaultDestination) + "\\README.TXT";
    HookWith("E2E_HOOK_CLOSE_FAILS", target);
    ASSERT_NE(nullptr, Reach(Step::kCopy));
    ExpectEnd({"Can't close filename: " + target, kFailed});
    EXPECT_EQ("", CompareWithMedium(kDefaultDestination, FilesFrom(2)))
        << "ZEL.EXE, and README.TXT as written before the close";
    EXPECT_EQ(2u, robot::ListTree(kDefaultDestination, {}).size()) << "nothing after README.TXT";
}

} // namespace
