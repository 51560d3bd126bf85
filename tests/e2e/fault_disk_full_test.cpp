// A disk that fills up while SETUP works: while the destination's directories are made, and on
// the last file of the copy (the first file is InstallFailure.AFullDiskIsNamedAndSetupEnds). Both
// run on the fill drive that the runner maps (E2E_FILL_DRIVE, a small tmpfs with few entries),
// filled by the test to the chosen point. Every case: the cause named, then the sequence's own
// message, exit code 2, and what was made before the full point left in place.
#include "fault_steps.h"

namespace {

constexpr DWORD kFailed = 2;
constexpr uint64_t kPage = 4096;

uint64_t Pages(uint64_t bytes) {
    return (bytes + kPage - 1) / kPage * kPage;
}

class FaultDiskFull : public FaultTest {
protected:
    void SetUp() override {
        FaultTest::SetUp();
        drive_ = FillDrive();
        if (drive_.empty())
            GTEST_SKIP() << "E2E_FILL_DRIVE does not name a mapped drive";
    }

    std::string drive_;
};

TEST_F(FaultDiskFull, WhileTheDirectoriesAreMade) {
    // Room for one more entry: the first missing directory is made, the second finds the disk
    // full.
    const std::string filler = drive_ + "\\FILLER";
    CleanLater(filler);
    ASSERT_TRUE(CreateDirectoryA(filler.c_str(), nullptr)) << robot::LastErrorText();
    ASSERT_TRUE(UseUpEntries(filler, 1));
    const std::string dest = drive_ + "\\ONE\\TWO\\THREE";
    CleanLater(drive_ + "\\ONE");

    ASSERT_TRUE(Start(dest));
    std::vector<std::string> messages;
    DWORD code = 0;
    ASSERT_TRUE(MessagesUntilExit(&messages, &code));
    EXPECT_EQ((std::vector<std::string>{"CreateDirectory failed, err = 112\n",
                                        "Unable to create destination directory: " + dest}),
              messages);
    EXPECT_EQ(kFailed, code);
    EXPECT_TRUE(robot::IsDirectory(drive_ + "\\ONE")) << "made before the disk was full";
    EXPECT_FALSE(robot::PathExists(drive_ + "\\ONE\\TWO"));
}

TEST_F(FaultDiskFull, OnTheLastFile) {
    // The last file is made 16 pages long, and the disk keeps room for the nine files before it
    // and half of it.
    const size_t kLastSize = 16 * kPage;
    ASSERT_TRUE(ReplaceMediumFile("QUIRNDB.FON", kLastSize));
    uint64_t room = 8 * kPage;
    for (size_t i = 0; i + 1 < kProductFiles.size(); i++) {
        robot::FileSum sum;
        ASSERT_TRUE(robot::SumFile("C:\\MEDIUM\\" + kProductFiles[i], &sum)) << kProductFiles[i];
        room += Pages(sum.size);
    }
    const std::string filler = drive_ + "\\FILLER.BIN";
    CleanLater(filler);
    ASSERT_TRUE(FillUpTo(drive_, filler, room));
    const std::string dest = drive_ + "\\ZEL";
    CleanLater(dest);

    ASSERT_TRUE(Start(dest));
    std::vector<std::string> messages;
    DWORD code = 0;
    ASSERT_TRUE(MessagesUntilExit(&messages, &code));
    EXPECT_EQ((std::vector<std::string>{"Can't write filename: " + dest + "\\QUIRNDB.FON",
                                        "Failed to install ZEL"}),
              messages);
    EXPECT_EQ(kFailed, code);
    EXPECT_EQ("", CompareWithMedium(dest, {"QUIRNDB.FON"})) << "the nine files before it";
    const std::string partial = ReadWholeFile(dest + "\\QUIRNDB.FON");
    EXPECT_LT(partial.size(), kLastSize);
    EXPECT_TRUE(partial == ReadWholeFile("C:\\MEDIUM\\QUIRNDB.FON").substr(0, partial.size()));
}

} // namespace
