// A source file that changes between the copy's two passes: the sizing pass has measured every
// file when the first "Copying:" line is set, and the hook inside SETUP (fault_hook.c) changes
// the medium's README.TXT right then. Removed, it is named and the install fails (exit code 2);
// grown, it is copied to its new end and the install ends as usual (exit code 0); the bar then
// passes 100, which the Installing dialog's own tests show. Apart from that change, SETUP leaves
// the medium as it was.
#include "fault_steps.h"

namespace {

const char kReadMe[] = "C:\\MEDIUM\\README.TXT";

class FaultSourceChange : public FaultTest {
protected:
    void SetUp() override {
        FaultTest::SetUp();
        RestoreMediumFileLater("README.TXT");
        std::string error;
        ASSERT_TRUE(robot::SumTree(kMediumDir, &before_, &error)) << error;
        ASSERT_TRUE(robot::SumFile(kReadMe, &readMe_));
    }

    // What the medium shows now against before the run, one line per file.
    std::string MediumChanges() const {
        robot::TreeSums after;
        std::string error;
        if (!robot::SumTree(kMediumDir, &after, &error))
            return error;
        return robot::DiffSums(before_, after);
    }

    robot::TreeSums before_;
    robot::FileSum readMe_;
};

TEST_F(FaultSourceChange, AFileRemovedAfterItWasMeasured) {
    HookAt("Copying: ZEL.EXE", std::string("delete ") + kReadMe);
    ASSERT_TRUE(Start("C:\\ZEL\\"));
    std::vector<std::string> messages;
    DWORD code = 0;
    ASSERT_TRUE(MessagesUntilExit(&messages, &code));
    EXPECT_EQ("Copying: ZEL.EXE -> delete C:\\MEDIUM\\README.TXT: ok\r\n", HookLog());
    EXPECT_EQ((std::vector<std::string>{"Can't open filename: C:\\MEDIUM\\README.TXT",
                                        "Failed to install ZEL"}),
              messages);
    EXPECT_EQ(2u, code);
    EXPECT_EQ(std::vector<std::string>{"ZEL.EXE"}, robot::ListTree(kDefaultDestination, {}));
    EXPECT_EQ("", CompareWithMedium(
                      kDefaultDestination,
                      std::vector<std::string>(kProductFiles.begin() + 1, kProductFiles.end())));
    EXPECT_EQ("removed: README.TXT\n", MediumChanges());
}

TEST_F(FaultSourceChange, AFileThatGrewAfterItWasMeasured) {
    HookAt("Copying: ZEL.EXE", std::string("append 65536 ") + kReadMe);
    ASSERT_TRUE(Start("C:\\ZEL\\"));
    DWORD code = 1234;
    ASSERT_TRUE(FinishInstall(&code));
    EXPECT_EQ("Copying: ZEL.EXE -> append 65536 C:\\MEDIUM\\README.TXT: ok\r\n", HookLog());
    EXPECT_EQ(0u, code);
    robot::FileSum grown;
    ASSERT_TRUE(robot::SumFile("C:\\ZEL\\README.TXT", &grown));
    EXPECT_EQ(readMe_.size + 65536, grown.size) << "copied to its new end";
    EXPECT_EQ("", CompareWithMedium(kDefaultDestination));
    EXPECT_EQ("changed: README.TXT (" + std::to_string(readMe_.size) + " -> " +
                  std::to_string(grown.size) + " bytes)\n",
              MediumChanges());
}

} // namespace
