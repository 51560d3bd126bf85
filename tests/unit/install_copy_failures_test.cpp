#include <gtest/gtest.h>

#include "install_test_support.h"
#include "MessageBoxRecorder.h"
#include "TempDir.h"
#include "install/CopyJob.h"

// A source that cannot be read, reported by name; and the user's Cancel at the copy job's first
// poll, which only a destination or a source that would fail right after it shows. (A full
// disk and Cancel at the later polls are seen end to end.)

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
    EXPECT_EQ(std::vector<std::string>{"Can't read filename: Z:\\proc\\self\\mem"},
              MessageBoxRecorder::Texts());
}

TEST(CopyJobCancel, AtOnceAfterTheDialogIsShown) {
    MessageBoxRecorder boxes;
    TempDir source;
    CurrentDirectory current(source.path());
    InstallingWatch watch;
    watch.CancelWhenShown();
    // Both the destination and the missing file would give a message after that first poll.
    char cwd[MAX_PATH];
    GetCurrentDirectoryA(MAX_PATH, cwd);
    CCopyJob job;
    job.SetDestination(cwd);
    job.AddFile("MISSING.TXT");
    EXPECT_FALSE(job.CopyFiles());
    EXPECT_TRUE(watch.cancelPressed);
    EXPECT_EQ(std::vector<std::string>{}, MessageBoxRecorder::Texts()) << "a cancel has no message";
    EXPECT_FALSE(IsWindowVisible(watch.dialog)) << "Cancel hides the dialog";
}
