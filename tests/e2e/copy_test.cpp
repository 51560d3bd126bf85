// The copy of the product files: a default install, a destination several levels deep, a font
// that the system holds open, the source directory as the destination, a medium at a drive root,
// and a source file that changes between the copy's two passes: the sizing pass has measured
// every file when the first "Copying:" line is set, and the hook inside SETUP (fault_hook.c)
// changes the medium's README.TXT right then. Apart from that change, SETUP leaves the medium as
// it was.
#include "setup_fixture.h"

namespace {

const char kReadMe[] = "C:\\MEDIUM\\README.TXT";

class Copy : public SetupTest {
protected:
    // Has the hook do `action` to README.TXT on the medium when the first "Copying:" line is set,
    // and starts the copy; the medium's state before is kept for MediumChanges.
    void ChangeTheReadMeDuringTheCopy(const std::string& action) {
        RestoreMediumFileLater("README.TXT");
        std::string error;
        ASSERT_TRUE(robot::SumTree(kMediumDir, &before_, &error)) << error;
        HookAt("Copying: ZEL.EXE", action + " " + kReadMe);
        ASSERT_NE(nullptr, Reach(Step::kCopy));
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
};

TEST_F(Copy, DefaultInstallCopiesTheTenFiles) {
    char temp[MAX_PATH] = "";
    GetTempPathA(sizeof temp, temp);
    const std::string fontLog =
        std::string(temp) + "font-log." + std::to_string(GetCurrentProcessId()) + ".txt";
    DeleteFileA(fontLog.c_str());
    HookWith("E2E_HOOK_FONT_LOG", fontLog);
    ASSERT_NE(nullptr, Reach(Step::kCopy));
    ASSERT_TRUE(Finish());
    EXPECT_EQ("", CompareWithMedium(kDefaultDestination));
    EXPECT_EQ(kProductFiles.size(), robot::ListTree(kDefaultDestination, {}).size())
        << "nothing else is made in C:\\ZEL";
    // Fonts of an earlier install are unloaded from the destination as the copy names it.
    EXPECT_EQ("C:\\ZEL\\quirn.fon\r\nC:\\ZEL\\quirnw.fon\r\nC:\\ZEL\\quirndt.fon\r\n"
              "C:\\ZEL\\quirndb.fon\r\n",
              ReadWholeFile(fontLog))
        << "the fonts unloaded (RemoveFontResourceA), one a line";
    DeleteFileA(fontLog.c_str());
}

TEST_F(Copy, ADestinationThreeLevelsDownIsMadeAndFilled) {
    CleanLater("C:\\ONE");
    ASSERT_FALSE(robot::PathExists("C:\\ONE"));
    ASSERT_NE(nullptr, Reach(Step::kCopy, "C:\\ONE\\TWO\\THREE\\"));
    ASSERT_TRUE(Finish());
    EXPECT_TRUE(robot::IsDirectory("C:\\ONE\\TWO\\THREE"));
    EXPECT_EQ("", CompareWithMedium("C:\\ONE\\TWO\\THREE"));
}

TEST_F(Copy, AFontHeldOpenIsSkippedSilently) {
    ASSERT_TRUE(CreateDirectoryA(kDefaultDestination, nullptr));
    ASSERT_TRUE(WriteWholeFile("C:\\ZEL\\QUIRNW.FON", "the font in use"));
    HeldFile held("C:\\ZEL\\QUIRNW.FON");
    ASSERT_TRUE(held.IsOpen()) << robot::LastErrorText();
    ASSERT_NE(nullptr, Reach(Step::kCopy));
    ASSERT_TRUE(Finish());
    held.Release();
    EXPECT_EQ("", CompareWithMedium(kDefaultDestination, {"QUIRNW.FON"}));
    EXPECT_EQ("the font in use", ReadWholeFile("C:\\ZEL\\QUIRNW.FON"));
}

// The source directory typed as the destination. Refused when it reads as the source after its
// separators are cleaned up; in other letters it is accepted, but every source is open without
// sharing while it is copied: the first target cannot be opened for writing, and nothing on the
// medium is truncated.
TEST_F(Copy, TheSourceDirectoryAsTheDestination) {
    const struct {
        const char* typed;
        const char* message;
    } rows[] = {
        {"C:\\MEDIUM\\", "Destination directory cannot be C:\\MEDIUM"},
        {"C:\\\\MEDIUM", "Destination directory cannot be C:\\MEDIUM"},
        {"c:\\medium", "Can't open filename: c:\\medium\\ZEL.EXE"},
        {"C:\\MEDIUM\\.", "Destination directory cannot be C:\\MEDIUM"},
        {"C:\\MEDIUM\\..\\MEDIUM", "Can't open filename: C:\\MEDIUM\\..\\MEDIUM\\ZEL.EXE"},
    };
    for (const auto& row : rows) {
        SCOPED_TRACE(row.typed);
        ASSERT_NE(nullptr, Reach(Step::kCopy, row.typed));
        ASSERT_TRUE(AnswerUntilExit());
        EXPECT_EQ((Texts{row.message, "Failed to install ZEL"}), messages_);
        EXPECT_EQ(2u, exitCode_);
    }
}

// SETUP makes its own directory the current one before the copy. At a drive root that is "M:\"
// with its backslash; M: alone would name the drive's current directory, which is wherever SETUP
// was started on that drive. M: is a letter that the prefix does not map.
TEST_F(Copy, AMediumAtADriveRootStartedInAnotherFolderOfThatDrive) {
    const std::string root = "M:\\";
    ASSERT_FALSE(robot::PathExists(root)) << "M: is taken";
    ASSERT_NE("", MakeDosDevice("m:"));
    ASSERT_TRUE(robot::IsDirectory(root)) << "M: could not be mapped in the prefix";
    ASSERT_TRUE(CopyMedium(kMediumDir, root));
    const std::string launch = root + "LAUNCH";
    ASSERT_TRUE(CreateDirectoryA(launch.c_str(), nullptr)) << robot::LastErrorText();
    robot::TreeSums onDrive, after;
    std::string error;
    ASSERT_TRUE(robot::SumTree(root, &onDrive, &error)) << error;

    setupExe_ = root + "SETUP.EXE";
    ASSERT_NE(nullptr, Reach(Step::kCopy, kDefaultDestination, launch));
    EXPECT_TRUE(Finish()) << "the sources are read from " << root << ", not from the start folder "
                          << launch;
    EXPECT_EQ("", CompareWithMedium(kDefaultDestination));
    ASSERT_TRUE(robot::SumTree(root, &after, &error)) << error;
    EXPECT_EQ("", robot::DiffSums(onDrive, after)) << "the run changed the medium " << root;
}

TEST_F(Copy, ASourceRemovedAfterItWasMeasured) {
    ASSERT_NO_FATAL_FAILURE(ChangeTheReadMeDuringTheCopy("delete"));
    ASSERT_TRUE(AnswerUntilExit());
    EXPECT_EQ("Copying: ZEL.EXE -> delete C:\\MEDIUM\\README.TXT: ok\r\n", HookLog());
    EXPECT_EQ((Texts{"Can't open filename: C:\\MEDIUM\\README.TXT", "Failed to install ZEL"}),
              messages_);
    EXPECT_EQ(2u, exitCode_);
    EXPECT_EQ(Texts{"ZEL.EXE"}, robot::ListTree(kDefaultDestination, {}));
    EXPECT_EQ("", CompareWithMedium(kDefaultDestination, FilesFrom(1)));
    EXPECT_EQ("removed: README.TXT\n", MediumChanges());
}

// It is copied to its new end; the bar then passes 100, which the Installing dialog's own tests
// show.
TEST_F(Copy, ASourceThatGrewAfterItWasMeasured) {
    robot::FileSum readMe, grown;
    ASSERT_TRUE(robot::SumFile(kReadMe, &readMe));
    ASSERT_NO_FATAL_FAILURE(ChangeTheReadMeDuringTheCopy("append 65536"));
    ASSERT_TRUE(Finish());
    EXPECT_EQ("Copying: ZEL.EXE -> append 65536 C:\\MEDIUM\\README.TXT: ok\r\n", HookLog());
    ASSERT_TRUE(robot::SumFile("C:\\ZEL\\README.TXT", &grown));
    EXPECT_EQ(readMe.size + 65536, grown.size) << "copied to its new end";
    EXPECT_EQ("", CompareWithMedium(kDefaultDestination));
    EXPECT_EQ("changed: README.TXT (" + std::to_string(readMe.size) + " -> " +
                  std::to_string(grown.size) + " bytes)\n",
              MediumChanges());
}

} // namespace
