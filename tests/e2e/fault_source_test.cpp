// A source file that changes between the copy's two passes: the sizing pass has measured every
// file when the first "Copying:" line is set, and the hook inside SETUP (fault_hook.c) changes
// the medium's README.TXT right then. Removed, it is named and the install fails (exit code 2);
// grown, it is copied to its new end and the install ends as usual (exit code 0); the bar then
// passes 100, which the Installing dialog's own tests show. Apart from that change, SETUP leaves
// the medium as it was.
//
// Where the sources are read from: SETUP makes its own directory the current one before the
// copy. At a drive root that is M:\ with its backslash; M: alone would name the drive's current
// directory, which is wherever SETUP was started on that drive.
#include "fault_steps.h"

namespace {

const char kReadMe[] = "C:\\MEDIUM\\README.TXT";
// A drive letter that the prefix does not map, for a medium of its own.
const char kMediumDrive[] = "M:";

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

    // Maps kMediumDrive to a fresh folder of the prefix (dosdevices\m:), which the test removes
    // when it ends; empty when the letter is taken or the folder cannot be made.
    std::string MapMediumDrive() {
        const std::string root = std::string(kMediumDrive) + "\\";
        if (robot::PathExists(root) || MakeDosDevice("m:").empty())
            return "";
        return robot::IsDirectory(root) ? root : "";
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

TEST_F(FaultSourceChange, AMediumAtADriveRootStartedInAnotherFolderOfThatDrive) {
    const std::string root = MapMediumDrive();
    ASSERT_NE("", root) << kMediumDrive << " could not be mapped in the prefix";
    std::vector<std::string> names = kProductFiles;
    names.push_back("SETUP.EXE");
    for (const std::string& name : names) {
        const std::string from = std::string(kMediumDir) + "\\" + name;
        ASSERT_TRUE(CopyFileA(from.c_str(), (root + name).c_str(), TRUE))
            << root << name << ": " << robot::LastErrorText();
    }
    const std::string launch = root + "LAUNCH";
    ASSERT_TRUE(CreateDirectoryA(launch.c_str(), nullptr)) << robot::LastErrorText();
    robot::TreeSums onDrive;
    std::string error;
    ASSERT_TRUE(robot::SumTree(root, &onDrive, &error)) << error;

    setupExe_ = root + "SETUP.EXE";
    ASSERT_TRUE(Start(kDefaultDestination, launch));
    std::vector<std::string> messages;
    HWND group = MessagesUntilDialog("Create Application Group", &messages);
    EXPECT_EQ(std::vector<std::string>{}, messages)
        << "the sources are read from " << root << ", not from the start folder " << launch;
    ASSERT_NE(nullptr, group);
    DWORD code = 1234;
    ASSERT_TRUE(FinishInstall(&code));
    EXPECT_EQ(0u, code);
    EXPECT_EQ("", CompareWithMedium(kDefaultDestination));
    robot::TreeSums after;
    ASSERT_TRUE(robot::SumTree(root, &after, &error)) << error;
    EXPECT_EQ("", robot::DiffSums(onDrive, after)) << "the run changed the medium " << root;
}

} // namespace
