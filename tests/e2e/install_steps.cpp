#include "install_steps.h"
#include "resource.h"

namespace {

// Windows that stay up behind the message boxes: the backdrop, and after a failure the
// Installing dialog.
const char* const kBackgroundCaptions[] = {"ZEL 1.1B3 Setup", "Installing..."};

std::string MediumPath(const std::string& name) {
    return std::string("C:\\MEDIUM\\") + name;
}

} // namespace

bool IsBackground(const std::string& caption) {
    for (const char* background : kBackgroundCaptions)
        if (caption == background)
            return true;
    return false;
}

void InstallTest::TearDown() {
    // The sources are opened with no sharing: SETUP must be gone before they are put back.
    setup_.Terminate();
    const std::string staged = robot::Env("E2E_MEDIUM");
    for (const std::string& name : changedMediumFiles_) {
        std::string from = staged + "\\" + name;
        EXPECT_TRUE(CopyFileA(from.c_str(), MediumPath(name).c_str(), FALSE))
            << "putting back " << name << ": " << robot::LastErrorText();
    }
    SetupTest::TearDown();
}

::testing::AssertionResult InstallTest::StartInstall(const std::string& destination) {
    if (auto r = Launch(); !r)
        return r;
    HWND welcome = WaitDialog("Welcome");
    if (welcome == nullptr)
        return ::testing::AssertionFailure() << "no Welcome dialog";
    if (auto r = SetHook(welcome); !r)
        return r;
    if (auto r = Click(welcome, IDOK); !r)
        return r;
    HWND directory = WaitDialog("Install Directory");
    if (directory == nullptr)
        return ::testing::AssertionFailure() << "no Install Directory dialog";
    std::string error;
    if (!destination.empty()) {
        HWND edit = robot::Control(directory, IDC_DIRECTORY_EDIT, &error);
        if (edit == nullptr || !robot::SetText(edit, destination, &error))
            return ::testing::AssertionFailure() << error;
    }
    if (auto r = Click(directory, IDOK); !r)
        return r;
    return Gone(directory);
}

::testing::AssertionResult InstallTest::NextMessage(std::string* text) {
    std::string error;
    HWND box = robot::WaitForMessageBox(kSetupCaption, &setup_, robot::kDefaultTimeoutMs, &error);
    if (box == nullptr)
        return ::testing::AssertionFailure() << error;
    *text = robot::ReadMessageBox(box).text;
    if (!robot::DismissMessageBox(box, &error))
        return ::testing::AssertionFailure() << error;
    return ::testing::AssertionSuccess();
}

::testing::AssertionResult InstallTest::MessagesUntilExit(std::vector<std::string>* texts,
                                                          DWORD* exitCode) {
    const DWORD start = GetTickCount();
    while (setup_.IsRunning()) {
        if (GetTickCount() - start > robot::kDefaultTimeoutMs)
            return ::testing::AssertionFailure() << "SETUP did not end. Windows now:\n"
                                                 << robot::DescribeWindows();
        for (const robot::WindowInfo& w : robot::DialogsOf(setup_.Id())) {
            if (IsBackground(w.text))
                continue;
            if (!robot::IsMessageBox(w.hwnd))
                return ::testing::AssertionFailure() << "SETUP went on to \"" << w.text << "\"";
            std::string text;
            if (auto r = NextMessage(&text); !r)
                return r;
            texts->push_back(text);
        }
        Sleep(20);
    }
    DWORD code = 0;
    std::vector<robot::WindowInfo> shown;
    if (auto r = WaitExit(&code, &shown); !r)
        return r;
    if (IsExceptionCode(code))
        return ::testing::AssertionFailure()
               << "SETUP ended with exception code 0x" << std::hex << code;
    if (exitCode != nullptr)
        *exitCode = code;
    return ::testing::AssertionSuccess();
}

::testing::AssertionResult InstallTest::FinishInstall(DWORD* exitCode) {
    HWND group = WaitDialog("Create Application Group");
    if (group == nullptr)
        return ::testing::AssertionFailure() << "the copy did not lead to the group step";
    if (auto r = Click(group, IDCANCEL); !r)
        return r;
    HWND success = WaitDialog("Success");
    if (success == nullptr)
        return ::testing::AssertionFailure() << "no Success dialog";
    return CloseSuccess(success, exitCode);
}

::testing::AssertionResult InstallTest::CloseSuccess(HWND success, DWORD* exitCode) {
    if (auto r = Click(success, IDOK); !r)
        return r;
    if (auto r = Gone(success); !r)
        return r;
    std::vector<std::string> texts;
    if (auto r = MessagesUntilExit(&texts, exitCode); !r)
        return r;
    if (!texts.empty())
        return ::testing::AssertionFailure() << "a message after Success: \"" << texts[0] << "\"";
    return ::testing::AssertionSuccess();
}

::testing::AssertionResult InstallTest::ReplaceMediumFile(const std::string& name, size_t size) {
    changedMediumFiles_.push_back(name);
    // A pattern that differs from block to block, so that a misplaced block would show.
    std::string content(size, '\0');
    unsigned x = 12345;
    for (size_t i = 0; i < size; i++) {
        x = x * 1103515245u + 12345u;
        content[i] = static_cast<char>(x >> 16);
    }
    if (!WriteWholeFile(MediumPath(name), content))
        return ::testing::AssertionFailure()
               << "cannot write " << MediumPath(name) << ": " << robot::LastErrorText();
    return ::testing::AssertionSuccess();
}

::testing::AssertionResult InstallTest::RemoveMediumFile(const std::string& name) {
    changedMediumFiles_.push_back(name);
    if (!DeleteFileA(MediumPath(name).c_str()))
        return ::testing::AssertionFailure()
               << "cannot remove " << MediumPath(name) << ": " << robot::LastErrorText();
    return ::testing::AssertionSuccess();
}

std::string InstallTest::CompareWithMedium(const std::string& dir,
                                           const std::vector<std::string>& except) const {
    std::string out;
    for (const std::string& name : kProductFiles) {
        bool skip = false;
        for (const std::string& e : except)
            skip = skip || e == name;
        if (skip)
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

HeldFile::HeldFile(const std::string& path)
    : handle_(CreateFileA(path.c_str(), GENERIC_READ, 0, nullptr, OPEN_EXISTING,
                          FILE_ATTRIBUTE_NORMAL, nullptr)) {}

void HeldFile::Release() {
    if (handle_ != INVALID_HANDLE_VALUE)
        CloseHandle(handle_);
    handle_ = INVALID_HANDLE_VALUE;
}

std::string ReadWholeFile(const std::string& path) {
    HANDLE h = CreateFileA(path.c_str(), GENERIC_READ, FILE_SHARE_READ, nullptr, OPEN_EXISTING, 0,
                           nullptr);
    std::string content;
    if (h == INVALID_HANDLE_VALUE)
        return content;
    static char buf[1 << 16];
    DWORD n;
    while (ReadFile(h, buf, sizeof buf, &n, nullptr) && n > 0)
        content.append(buf, n);
    CloseHandle(h);
    return content;
}

bool WriteWholeFile(const std::string& path, const std::string& content) {
    HANDLE h = CreateFileA(path.c_str(), GENERIC_WRITE, 0, nullptr, CREATE_ALWAYS, 0, nullptr);
    if (h == INVALID_HANDLE_VALUE)
        return false;
    DWORD n = 0;
    bool ok = WriteFile(h, content.data(), static_cast<DWORD>(content.size()), &n, nullptr) &&
              n == content.size();
    return CloseHandle(h) && ok;
}
