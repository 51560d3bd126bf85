// The ways the copy fails, as a person sees them: the copy job's message naming the file, then
// "Failed to install ZEL", and SETUP ends by itself with the medium untouched.
#include "install_steps.h"

namespace {

class InstallFailure : public InstallTest {};

TEST_F(InstallFailure, AMissingSourceFileIsNamedAndNothingIsCopied) {
    ASSERT_TRUE(RemoveMediumFile("README.TXT"));
    ASSERT_TRUE(StartInstall());
    std::vector<std::string> messages;
    ASSERT_TRUE(MessagesUntilExit(&messages));
    EXPECT_EQ((std::vector<std::string>{"Can't open filename: C:\\MEDIUM\\README.TXT",
                                        "Failed to install ZEL"}),
              messages);
    EXPECT_TRUE(robot::IsDirectory(kDefaultDestination)) << "the directory is made first";
    EXPECT_TRUE(robot::ListTree(kDefaultDestination, {}).empty()) << "but nothing copied";
}

TEST_F(InstallFailure, TheSourceDirectoryWithATrailingBackslashIsRefused) {
    ASSERT_TRUE(StartInstall("C:\\MEDIUM\\"));
    std::vector<std::string> messages;
    ASSERT_TRUE(MessagesUntilExit(&messages));
    EXPECT_EQ((std::vector<std::string>{"Destination directory cannot be C:\\MEDIUM",
                                        "Failed to install ZEL"}),
              messages);
}

TEST_F(InstallFailure, TheSourceDirectoryWithADoubledBackslashIsRefused) {
    ASSERT_TRUE(StartInstall("C:\\\\MEDIUM"));
    std::vector<std::string> messages;
    ASSERT_TRUE(MessagesUntilExit(&messages));
    EXPECT_EQ((std::vector<std::string>{"Destination directory cannot be C:\\MEDIUM",
                                        "Failed to install ZEL"}),
              messages);
}

TEST_F(InstallFailure, TheSourceDirectoryInOtherLettersCannotBeOverwritten) {
    // Accepted as a destination, but every source is open without sharing while it is copied:
    // the first target cannot be opened for writing, and nothing on the medium is truncated.
    ASSERT_TRUE(StartInstall("c:\\medium"));
    std::vector<std::string> messages;
    ASSERT_TRUE(MessagesUntilExit(&messages));
    EXPECT_EQ((std::vector<std::string>{"Can't open filename: c:\\medium\\ZEL.EXE",
                                        "Failed to install ZEL"}),
              messages);
}

TEST_F(InstallFailure, AHeldOpenReadMeIsNamed) {
    ASSERT_TRUE(CreateDirectoryA(kDefaultDestination, nullptr));
    ASSERT_TRUE(WriteWholeFile("C:\\ZEL\\README.TXT", "an older read-me"));
    HeldFile held("C:\\ZEL\\README.TXT");
    ASSERT_TRUE(held.IsOpen()) << robot::LastErrorText();

    ASSERT_TRUE(StartInstall());
    std::vector<std::string> messages;
    ASSERT_TRUE(MessagesUntilExit(&messages));
    EXPECT_EQ((std::vector<std::string>{"Can't open filename: C:\\ZEL\\README.TXT",
                                        "Failed to install ZEL"}),
              messages);
    held.Release();
    EXPECT_EQ("an older read-me", ReadWholeFile("C:\\ZEL\\README.TXT"));
    EXPECT_EQ("",
              CompareWithMedium(kDefaultDestination,
                                {"README.TXT", "ZEL.HLP", "MFC30.DLL", "MFCN30.DLL", "MSVCRT20.DLL",
                                 "QUIRN.FON", "QUIRNW.FON", "QUIRNDT.FON", "QUIRNDB.FON"}))
        << "the program, copied before it, stays";
}

TEST_F(InstallFailure, AFullDiskIsNamedAndSetupEnds) {
    // A drive on a small file system, mapped by the runner (wine_run_begin in
    // scripts/lib/wine-env.sh).
    const std::string drive = robot::Env("E2E_SMALL_DRIVE");
    ULARGE_INTEGER free;
    if (drive.empty() || !GetDiskFreeSpaceExA((drive + "\\").c_str(), &free, nullptr, nullptr))
        GTEST_SKIP() << "E2E_SMALL_DRIVE does not name a mapped drive";
    ASSERT_LT(free.QuadPart, 46592u) << drive << " has room for the program file";
    const std::string dest = drive + "\\ZEL";
    CleanLater(dest);

    ASSERT_TRUE(StartInstall(dest));
    std::vector<std::string> messages;
    DWORD code = 0;
    ASSERT_TRUE(MessagesUntilExit(&messages, &code));
    EXPECT_EQ((std::vector<std::string>{"Can't write filename: " + dest + "\\ZEL.EXE",
                                        "Failed to install ZEL"}),
              messages);
    EXPECT_EQ(2u, code) << "a failed copy";
}

} // namespace
