#include "setup_fixture.h"

#include <algorithm>

namespace {

// True for an exit code that is an exception status (access violation and the like).
bool IsExceptionCode(DWORD code) {
    return (code & 0xC0000000u) == 0xC0000000u;
}

// Adds a failed result to the test.
bool Ok(const ::testing::AssertionResult& result) {
    if (!result)
        ADD_FAILURE() << result.message();
    return static_cast<bool>(result);
}

std::string MediumPath(const std::string& name) {
    return std::string("C:\\MEDIUM\\") + name;
}

} // namespace

HWND SetupTest::Reach(Step step, const std::string& destination, const std::string& workDir) {
    if (!Ok(Launch(workDir)))
        return nullptr;
    HWND welcome = WaitDialog("Welcome");
    if (welcome == nullptr || step == Step::kWelcome)
        return welcome;
    if (!Ok(SetHook(welcome)) || !Ok(Click(welcome, IDOK)))
        return nullptr;
    HWND directory = WaitDialog("Install Directory");
    if (directory == nullptr || step == Step::kInstallDirectory)
        return directory;
    HWND edit = GetDlgItem(directory, IDC_DIRECTORY_EDIT);
    std::string error;
    if (destination != kProposed &&
        (!robot::SetText(edit, destination, &error) || robot::TextOf(edit) != destination)) {
        ADD_FAILURE() << "typing \"" << destination << "\" " << error << ": the edit box holds \""
                      << robot::TextOf(edit) << "\"";
        return nullptr;
    }
    if (!Ok(Click(directory, IDOK)) || !Ok(Gone(directory)))
        return nullptr;
    if (step == Step::kCopy)
        return robot::FindDialog(kBackdropCaption, setup_.Id());
    HWND group = AnswerUntil(kGroupCaption);
    if (group != nullptr && !messages_.empty()) {
        ADD_FAILURE() << "a message before the group step: \"" << messages_[0] << "\"";
        return nullptr;
    }
    return group == nullptr || step == Step::kGroup ? group : PastGroup(group, IDCANCEL);
}

HWND SetupTest::PastGroup(HWND group, int button, DWORD timeoutMs) {
    if (!Ok(button != 0 ? Click(group, button) : Key(group, VK_ESCAPE)) || !Ok(Gone(group)))
        return nullptr;
    return AnswerUntil("Success", timeoutMs);
}

::testing::AssertionResult SetupTest::Answer(const std::string& caption, HWND* dialog,
                                             DWORD timeoutMs) {
    *dialog = nullptr;
    const DWORD start = GetTickCount();
    std::string error;
    while (setup_.IsRunning()) {
        if (GetTickCount() - start > timeoutMs)
            return ::testing::AssertionFailure()
                   << "neither \"" << caption << "\" nor SETUP's end within " << timeoutMs
                   << " ms. Windows now:\n"
                   << robot::DescribeWindows();
        if (robot::CrashedWhileWaiting("\"" + caption + "\"", &error))
            return ::testing::AssertionFailure() << error;
        for (const robot::WindowInfo& w : robot::DialogsOf(setup_.Id())) {
            const bool box = robot::IsMessageBox(w.hwnd);
            if (!box && !caption.empty() && w.text == caption) {
                *dialog = w.hwnd;
                return ::testing::AssertionSuccess();
            }
            // Up behind the message boxes: the backdrop, and after a failure Installing.
            if (!box && (w.text == kBackdropCaption || w.text == "Installing..."))
                continue;
            if (!box)
                return ::testing::AssertionFailure()
                       << "SETUP went on to \"" << w.text << "\", not \"" << caption << "\"";
            robot::MessageBoxInfo info = robot::ReadMessageBox(w.hwnd);
            if (info.caption != "SETUP" || info.buttons != Texts{"OK"})
                return ::testing::AssertionFailure()
                       << "the box \"" << info.text << "\" is captioned \"" << info.caption
                       << "\" with " << info.buttons.size() << " buttons, expected \"SETUP\" "
                       << "with OK alone";
            if (!robot::DismissMessageBox(w.hwnd, &error))
                return ::testing::AssertionFailure() << error;
            messages_.push_back(info.text);
        }
        Sleep(20);
    }
    return TakeExitCode();
}

::testing::AssertionResult SetupTest::TakeExitCode() {
    if (auto r = WaitExit(&exitCode_); !r)
        return r;
    if (IsExceptionCode(exitCode_))
        return ::testing::AssertionFailure()
               << "SETUP ended with exception code 0x" << std::hex << exitCode_;
    return ::testing::AssertionSuccess();
}

HWND SetupTest::AnswerUntil(const std::string& caption, DWORD timeoutMs) {
    HWND dialog = nullptr;
    if (auto r = Answer(caption, &dialog, timeoutMs); !r)
        ADD_FAILURE() << r.message();
    else if (dialog == nullptr)
        ADD_FAILURE() << "SETUP ended (exit code " << exitCode_ << ") before \"" << caption
                      << "\" appeared";
    return dialog;
}

::testing::AssertionResult SetupTest::AnswerUntilExit(DWORD timeoutMs) {
    HWND dialog = nullptr;
    return Answer("", &dialog, timeoutMs);
}

void SetupTest::ExpectEnd(const Texts& messages, DWORD exitCode) {
    ASSERT_TRUE(AnswerUntilExit());
    EXPECT_EQ(messages, messages_);
    EXPECT_EQ(exitCode, exitCode_);
}

::testing::AssertionResult SetupTest::Finish() {
    HWND group = AnswerUntil(kGroupCaption);
    HWND success = group != nullptr ? PastGroup(group, IDCANCEL) : nullptr;
    if (success == nullptr)
        return ::testing::AssertionFailure() << "no Success dialog after the group step";
    if (!messages_.empty())
        return ::testing::AssertionFailure() << "a message on the way: \"" << messages_[0] << "\"";
    return CloseSuccess(success);
}

::testing::AssertionResult SetupTest::CloseSuccess(HWND success) {
    const size_t before = messages_.size();
    if (auto r = Click(success, IDOK); !r)
        return r;
    if (auto r = Gone(success); !r)
        return r;
    if (auto r = AnswerUntilExit(); !r)
        return r;
    if (messages_.size() != before)
        return ::testing::AssertionFailure()
               << "a message after Success: \"" << messages_[before] << "\"";
    if (exitCode_ != 0)
        return ::testing::AssertionFailure() << "exit code " << exitCode_ << " after Success";
    return ::testing::AssertionSuccess();
}

void SetupTest::ExpectQuietEnd(const std::function<::testing::AssertionResult()>& leave) {
    std::vector<robot::WindowInfo> shown = robot::DialogsOf(setup_.Id());
    const size_t before = shown.size();
    ASSERT_TRUE(leave());
    DWORD code = 1234;
    ASSERT_TRUE(WaitExit(&code, &shown));
    EXPECT_EQ(1u, code) << "exit code 0x" << std::hex << code << ": cancelled by the user";
    for (size_t i = before; i < shown.size(); ++i)
        ADD_FAILURE() << "SETUP showed \"" << shown[i].text << "\" while ending";
    EXPECT_FALSE(robot::PathExists(kDefaultDestination));
    EXPECT_EQ("", DriveChanges());
}

::testing::AssertionResult SetupTest::ReplaceMediumFile(const std::string& name, size_t size) {
    changedMediumFiles_.push_back(name);
    if (!WriteWholeFile(MediumPath(name), support::BytePattern(size, 1)))
        return ::testing::AssertionFailure()
               << "cannot write " << MediumPath(name) << ": " << robot::LastErrorText();
    return ::testing::AssertionSuccess();
}

::testing::AssertionResult SetupTest::RemoveMediumFile(const std::string& name) {
    changedMediumFiles_.push_back(name);
    if (!DeleteFileA(MediumPath(name).c_str()))
        return ::testing::AssertionFailure()
               << "cannot remove " << MediumPath(name) << ": " << robot::LastErrorText();
    return ::testing::AssertionSuccess();
}

std::string SetupTest::CompareWithMedium(const std::string& dir, const Texts& except) const {
    std::string out;
    for (const std::string& name : kProductFiles) {
        if (std::find(except.begin(), except.end(), name) != except.end())
            continue;
        robot::FileSum medium, installed;
        if (!robot::SumFile(MediumPath(name), &medium))
            out += "cannot read " + MediumPath(name) + "\n";
        else if (!robot::SumFile(dir + "\\" + name, &installed))
            out += "missing or unreadable: " + dir + "\\" + name + "\n";
        else if (medium != installed)
            out += "differs: " + dir + "\\" + name + "\n";
    }
    return out;
}

::testing::AssertionResult SetupTest::CopyMedium(const std::string& from, const std::string& to,
                                                 const std::string& setupName) {
    if (!robot::IsDirectory(to) && !CreateDirectoryA(to.c_str(), nullptr))
        return ::testing::AssertionFailure() << to << ": " << robot::LastErrorText();
    auto in = [](const std::string& dir, const std::string& name) {
        return dir.back() == '\\' ? dir + name : dir + "\\" + name;
    };
    Texts names = kProductFiles;
    names.push_back("SETUP.EXE");
    for (const std::string& name : names) {
        const std::string source = in(from, name),
                          copy = in(to, name == "SETUP.EXE" ? setupName : name);
        robot::FileSum original, copied;
        if (!CopyFileA(source.c_str(), copy.c_str(), TRUE))
            return ::testing::AssertionFailure() << copy << ": " << robot::LastErrorText();
        if (!robot::SumFile(source, &original) || !robot::SumFile(copy, &copied) ||
            original != copied)
            return ::testing::AssertionFailure() << copy << " differs from " << source;
    }
    return ::testing::AssertionSuccess();
}

::testing::AssertionResult SetupTest::RunSilent(const std::string& arguments,
                                                const std::string& workDir, DWORD timeoutMs) {
    static const char kLog[] = "C:\\SILENT.LOG";
    static const std::string kUnshown = "Message (silent, not shown): ";
    exitCode_ = 1234;
    log_.clear();
    DeleteFileA(kLog);
    const bool ownLog = arguments.find("/LOG=") != std::string::npos;
    arguments_ = "/S" + (ownLog ? "" : " /LOG=" + std::string(kLog)) +
                 (arguments.empty() ? "" : " " + arguments);
    auto launched = Launch(workDir);
    arguments_.clear();
    if (!launched)
        return launched;
    // Polled without pause: a window of a silent run would be one that waits for the user (a
    // dialog or a message box) and so stays, but even a short one is caught more often than not.
    const DWORD start = GetTickCount();
    std::string error;
    while (setup_.IsRunning()) {
        for (const robot::WindowInfo& w : robot::TopLevelWindows())
            if (w.pid == setup_.Id() && w.visible)
                return ::testing::AssertionFailure()
                       << "a silent run showed the window \"" << w.text << "\" (class "
                       << w.className << ")";
        if (robot::CrashedWhileWaiting("the end of a silent run", &error))
            return ::testing::AssertionFailure() << error;
        if (GetTickCount() - start > timeoutMs)
            return ::testing::AssertionFailure()
                   << "the silent run did not end within " << timeoutMs << " ms";
        Sleep(0);
    }
    if (auto r = TakeExitCode(); !r)
        return r;
    if (ownLog)
        return ::testing::AssertionSuccess();
    log_ = LogLines(kLog);
    DeleteFileA(kLog);
    for (const std::string& line : log_)
        if (line.compare(0, kUnshown.size(), kUnshown) == 0)
            messages_.push_back(line.substr(kUnshown.size()));
    return ::testing::AssertionSuccess();
}

Texts SetupTest::LogLines(const std::string& path) {
    if (!robot::PathExists(path))
        return {"<no log " + path + ">"};
    return support::LogLines(ReadWholeFile(path));
}
