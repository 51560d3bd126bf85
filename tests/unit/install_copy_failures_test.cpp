#include <gtest/gtest.h>

#include "install_test_support.h"
#include "MessageBoxRecorder.h"
#include "TempDir.h"
#include "install/CopyJob.h"

// A source that cannot be read, reported by name. (A full disk and Cancel are seen end to end.)

TEST(CopyJobFailure, ASourceThatCannotBeReadIsReportedByName) {
    // Reading a process's memory file at offset 0 fails with an I/O error.
    if (!PathExists("Z:\\proc\\self\\mem"))
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
