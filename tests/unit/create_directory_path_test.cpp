#include <gtest/gtest.h>

#include "ImportPatch.h"
#include "MessageBoxRecorder.h"
#include "TempDir.h"
#include "install/CreateDirectoryPath.h"

using support::IsDirectory;

TEST(CreateDirectoryPath, MakesEveryMissingLevel) {
    MessageBoxRecorder boxes;
    TempDir dir;
    std::string target = dir.Path("A\\B\\C");
    EXPECT_TRUE(CreateDirectoryPath(target.c_str()));
    EXPECT_TRUE(IsDirectory(dir.Path("A")));
    EXPECT_TRUE(IsDirectory(dir.Path("A\\B")));
    EXPECT_TRUE(IsDirectory(target));
    EXPECT_TRUE(MessageBoxRecorder::boxes.empty());
    RemoveTree(dir.Path("A"));
}

TEST(CreateDirectoryPath, AnExistingDirectoryCountsAsMade) {
    MessageBoxRecorder boxes;
    TempDir dir;
    EXPECT_TRUE(CreateDirectoryPath(dir.path().c_str()));
    EXPECT_TRUE(MessageBoxRecorder::boxes.empty());
}

TEST(CreateDirectoryPath, LeavesTheCallersPathAsItWas) {
    MessageBoxRecorder boxes;
    TempDir dir;
    CString strPath(dir.Path("X\\Y").c_str());
    EXPECT_TRUE(CreateDirectoryPath(strPath));
    EXPECT_STREQ(dir.Path("X\\Y").c_str(), strPath);
    RemoveTree(dir.Path("X"));
}

TEST(CreateDirectoryPath, AnInvalidNameShowsTheErrorCodeOnce) {
    MessageBoxRecorder boxes;
    TempDir dir;
    EXPECT_FALSE(CreateDirectoryPath(dir.Path("bad|name\\sub").c_str()));
    ASSERT_EQ(1u, MessageBoxRecorder::boxes.size());
    EXPECT_EQ("CreateDirectory failed, err = 123\n", MessageBoxRecorder::boxes[0].text);
    EXPECT_EQ(static_cast<unsigned>(MB_OK), MessageBoxRecorder::boxes[0].type);
}

TEST(CreateDirectoryPath, APathThroughAFileEndsWithoutLooping) {
    MessageBoxRecorder boxes;
    TempDir dir;
    dir.WriteFile("file", "x");
    EXPECT_FALSE(CreateDirectoryPath(dir.Path("file\\sub").c_str()));
    EXPECT_FALSE(IsDirectory(dir.Path("file\\sub")));
    // The parent counts as existing, the second try misses again: false, and no box of its own.
    EXPECT_TRUE(MessageBoxRecorder::boxes.empty());
    EXPECT_FALSE(CreateDirectoryPath(dir.Path("file\\sub\\deeper").c_str()));
    EXPECT_TRUE(MessageBoxRecorder::boxes.empty());
}

TEST(CreateDirectoryPath, ABareDriveIsNeverMadeAndShowsNothing) {
    MessageBoxRecorder boxes;
    EXPECT_FALSE(CreateDirectoryPath("C:"));
    EXPECT_TRUE(MessageBoxRecorder::boxes.empty());
}

TEST(CreateDirectoryPath, AMissingDriveFailsWithoutABoxFromTheWalk) {
    MessageBoxRecorder boxes;
    // Every level fails as missing, up to the bare drive, which cannot be made.
    EXPECT_FALSE(CreateDirectoryPath("Q:\\ZEL\\SUB"));
    EXPECT_TRUE(MessageBoxRecorder::boxes.empty());
}

TEST(CreateDirectoryPath, ARelativeNameIsMadeInTheCurrentDirectory) {
    MessageBoxRecorder boxes;
    TempDir dir;
    char saved[MAX_PATH];
    GetCurrentDirectoryA(MAX_PATH, saved);
    SetCurrentDirectoryA(dir.path().c_str());
    EXPECT_TRUE(CreateDirectoryPath("REL"));
    EXPECT_FALSE(CreateDirectoryPath("REL")) << "without a backslash only a real creation counts";
    SetCurrentDirectoryA(saved);
    EXPECT_TRUE(IsDirectory(dir.Path("REL")));
    RemoveDirectoryA(dir.Path("REL").c_str());
}

namespace {

DWORD g_dwCreateDirectoryError;

// CreateDirectoryA as the system answers for a directory it will not make: no directory, and
// the chosen error.
BOOL WINAPI CreateDirectoryFailsWith(LPCSTR, LPSECURITY_ATTRIBUTES) {
    SetLastError(g_dwCreateDirectoryError);
    return FALSE;
}

} // namespace

// What each error of the system means for the walk: a directory that exists (which the system
// reports for a drive root as access denied) counts as made; any other error is shown.
TEST(CreateDirectoryPath, EachErrorOfTheSystemCountsAsMadeOrIsShown) {
    struct Row {
        DWORD dwError;
        BOOL bExpected;
        const char* pszBox; // null: no box
    };
    const Row rows[] = {
        {ERROR_ACCESS_DENIED, TRUE, nullptr},
        {ERROR_ALREADY_EXISTS, TRUE, nullptr},
        {ERROR_DISK_FULL, FALSE, "CreateDirectory failed, err = 112\n"},
    };
    for (const Row& row : rows) {
        MessageBoxRecorder boxes;
        g_dwCreateDirectoryError = row.dwError;
        BOOL bResult;
        {
            ImportPatch patch("kernel32.dll", "CreateDirectoryA",
                              reinterpret_cast<void*>(CreateDirectoryFailsWith));
            ASSERT_TRUE(patch.Installed());
            bResult = CreateDirectoryPath("C:\\ZEL");
        }
        EXPECT_EQ(row.bExpected, bResult)
            << "error " << row.dwError << ": got " << bResult << ", expected " << row.bExpected;
        if (row.pszBox == nullptr) {
            EXPECT_TRUE(MessageBoxRecorder::boxes.empty())
                << "error " << row.dwError << ": got a box, expected none";
        } else {
            ASSERT_EQ(1u, MessageBoxRecorder::boxes.size()) << "error " << row.dwError;
            EXPECT_EQ(row.pszBox, MessageBoxRecorder::boxes[0].text) << "error " << row.dwError;
        }
    }
}
