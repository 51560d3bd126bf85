#include <gtest/gtest.h>

#include "TempDir.h"
#include "install/InstallLog.h"
#include "setup_log.h"
#include "whole_file.h"

#include <string>

namespace {

typedef std::vector<std::string> Lines;

TEST(CInstallLog, AppendsStampedLinesThatOthersCanReadAndAppendToMeanwhile) {
    TempDir dir;
    const std::string path = dir.WriteFile("setup.log", "an earlier run\r\n");
    CInstallLog log;
    ASSERT_TRUE(log.Open(path.c_str()));
    log.Write("C:\\ZEL", "Destination directory made: ");
    // Each line is in the file as soon as it is written, and others may read it meanwhile.
    std::string text = support::ReadWholeFile(path);
    ASSERT_EQ(0u, text.find("an earlier run\r\n")) << "got \"" << text << "\"";
    EXPECT_EQ(Lines({"Destination directory made: C:\\ZEL"}), support::LogLines(text.substr(16)));

    // Another writer appends meanwhile; the log's next line goes after it, and a text of several
    // lines stays one line of the log.
    HANDLE other = CreateFileA(path.c_str(), GENERIC_WRITE, FILE_SHARE_READ | FILE_SHARE_WRITE,
                               nullptr, OPEN_EXISTING, 0, nullptr);
    ASSERT_NE(INVALID_HANDLE_VALUE, other) << GetLastError();
    SetFilePointer(other, 0, nullptr, FILE_END);
    DWORD written = 0;
    WriteFile(other, "another\r\n", 9, &written, nullptr);
    CloseHandle(other);
    log.WriteFormat("%s %d\n\n%s\r\n", "Unknown switch:", 3, "Usage");
    text = support::ReadWholeFile(path);
    const size_t another = text.find("another\r\n");
    ASSERT_NE(std::string::npos, another) << "got \"" << text << "\"";
    EXPECT_EQ(Lines({"Unknown switch: 3 Usage"}), support::LogLines(text.substr(another + 9)));
}

TEST(CInstallLog, AFileThatCannotBeMadeIsNoLog) {
    TempDir dir;
    CInstallLog log;
    EXPECT_FALSE(log.Open(dir.Path("missing\\setup.log").c_str()));
    EXPECT_FALSE(log.IsOpen());
    log.Write("nothing");
    EXPECT_FALSE(support::PathExists(dir.Path("missing")));
}

TEST(CInstallLog, TheStampIsZeroPaddedToTheMillisecond) {
    const struct {
        SYSTEMTIME time;
        const char* stamp;
    } rows[] = {
        {{2026, 12, 2, 8, 9, 5, 3, 7}, "2026-12-08 09:05:03.007 "},
        {{1995, 8, 4, 24, 23, 59, 59, 999}, "1995-08-24 23:59:59.999 "},
        {{2000, 1, 6, 1, 0, 0, 0, 40}, "2000-01-01 00:00:00.040 "},
    };
    for (const auto& row : rows) {
        char stamp[kLogStampSize];
        FormatLogStamp(row.time, stamp);
        EXPECT_STREQ(row.stamp, stamp);
    }
}

} // namespace
