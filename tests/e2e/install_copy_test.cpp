// The copy of the product files as a person sees it: a default install, a destination several
// levels deep, Cancel in the middle of a large file, and a font that the system holds open.
#include "install_steps.h"
#include "resource.h"

namespace {

class InstallCopy : public InstallTest {};

TEST_F(InstallCopy, DefaultInstallCopiesTheTenFiles) {
    char temp[MAX_PATH] = "";
    GetTempPathA(sizeof temp, temp);
    const std::string fontLog =
        std::string(temp) + "font-log." + std::to_string(GetCurrentProcessId()) + ".txt";
    DeleteFileA(fontLog.c_str());
    HookWith("E2E_HOOK_FONT_LOG", fontLog);
    ASSERT_TRUE(StartInstall());
    ASSERT_TRUE(FinishInstall());
    EXPECT_EQ("", CompareWithMedium(kDefaultDestination));
    std::vector<std::string> installed = robot::ListTree(kDefaultDestination, {});
    EXPECT_EQ(kProductFiles.size(), installed.size()) << "nothing else is made in C:\\ZEL";
    // Fonts of an earlier install are unloaded from the destination as the copy names it.
    EXPECT_EQ("C:\\ZEL\\quirn.fon\r\nC:\\ZEL\\quirnw.fon\r\nC:\\ZEL\\quirndt.fon\r\n"
              "C:\\ZEL\\quirndb.fon\r\n",
              ReadWholeFile(fontLog))
        << "the fonts unloaded (RemoveFontResourceA), one a line";
    DeleteFileA(fontLog.c_str());
}

TEST_F(InstallCopy, ADestinationThreeLevelsDownIsMadeAndFilled) {
    CleanLater("C:\\ONE");
    ASSERT_FALSE(robot::PathExists("C:\\ONE"));
    ASSERT_TRUE(StartInstall("C:\\ONE\\TWO\\THREE\\"));
    ASSERT_TRUE(FinishInstall());
    EXPECT_TRUE(robot::IsDirectory("C:\\ONE\\TWO\\THREE"));
    EXPECT_EQ("", CompareWithMedium("C:\\ONE\\TWO\\THREE"));
}

TEST_F(InstallCopy, CancelInALargeFileStopsTheInstall) {
    // The third file is made large enough that its copy is still running when Cancel comes.
    const size_t kLarge = 96u << 20;
    ASSERT_TRUE(ReplaceMediumFile("ZEL.HLP", kLarge));
    robot::TreeSums mediumBefore, mediumAfter;
    std::string error;
    ASSERT_TRUE(robot::SumTree(kMediumDir, &mediumBefore, &error)) << error;

    ASSERT_TRUE(StartInstall());
    HWND installing = WaitDialog("Installing...");
    ASSERT_NE(nullptr, installing);
    const DWORD start = GetTickCount();
    while (robot::TextOf(GetDlgItem(installing, IDC_INSTALLING_COPYING)) != "Copying: ZEL.HLP" &&
           GetTickCount() - start < robot::kDefaultTimeoutMs)
        Sleep(5);
    ASSERT_EQ("Copying: ZEL.HLP", robot::TextOf(GetDlgItem(installing, IDC_INSTALLING_COPYING)));
    EXPECT_EQ("To: C:\\ZEL\\ZEL.HLP", robot::TextOf(GetDlgItem(installing, IDC_INSTALLING_TO)));
    Screenshot("copying");

    // The bar: red from its left edge, white at its right end while the copy runs.
    RECT bar;
    GetWindowRect(GetDlgItem(installing, IDC_INSTALLING_BAR), &bar);
    for (int i = 0; i < 200 && robot::ScreenPixel(bar.left + 1, bar.top + 1) != RGB(255, 0, 0); i++)
        Sleep(10);
    EXPECT_EQ(RGB(255, 0, 0), robot::ScreenPixel(bar.left + 1, bar.top + 1));
    EXPECT_EQ(RGB(255, 255, 255), robot::ScreenPixel(bar.right - 2, bar.top + 1));

    ASSERT_TRUE(Click(installing, IDCANCEL));
    std::vector<std::string> messages;
    DWORD code = 0;
    ASSERT_TRUE(MessagesUntilExit(&messages, &code));
    EXPECT_EQ(std::vector<std::string>{"Failed to install ZEL"}, messages)
        << "a cancel has no message of its own";
    EXPECT_EQ(1u, code) << "cancelled by the user";

    EXPECT_EQ("", CompareWithMedium(kDefaultDestination,
                                    {"ZEL.HLP", "MFC30.DLL", "MFCN30.DLL", "MSVCRT20.DLL",
                                     "QUIRN.FON", "QUIRNW.FON", "QUIRNDT.FON", "QUIRNDB.FON"}))
        << "the files before it stay";
    const std::string partial = ReadWholeFile("C:\\ZEL\\ZEL.HLP");
    EXPECT_LT(partial.size(), kLarge) << "the copy stopped";
    EXPECT_EQ(0u, partial.size() % 4096) << "whole blocks only";
    EXPECT_EQ(ReadWholeFile("C:\\MEDIUM\\ZEL.HLP").substr(0, partial.size()), partial);
    EXPECT_FALSE(robot::PathExists("C:\\ZEL\\MFC30.DLL")) << "nothing after it";

    ASSERT_TRUE(robot::SumTree(kMediumDir, &mediumAfter, &error)) << error;
    EXPECT_EQ("", robot::DiffSums(mediumBefore, mediumAfter));
}

TEST_F(InstallCopy, AFontHeldOpenIsSkippedSilently) {
    ASSERT_TRUE(CreateDirectoryA(kDefaultDestination, nullptr));
    ASSERT_TRUE(WriteWholeFile("C:\\ZEL\\QUIRNW.FON", "the font in use"));
    HeldFile held("C:\\ZEL\\QUIRNW.FON");
    ASSERT_TRUE(held.IsOpen()) << robot::LastErrorText();

    ASSERT_TRUE(StartInstall());
    ASSERT_TRUE(FinishInstall());
    held.Release();
    EXPECT_EQ("", CompareWithMedium(kDefaultDestination, {"QUIRNW.FON"}));
    EXPECT_EQ("the font in use", ReadWholeFile("C:\\ZEL\\QUIRNW.FON"));
}

} // namespace
