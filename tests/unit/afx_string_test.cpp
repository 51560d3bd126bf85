#include <gtest/gtest.h>

#include "ImportPatch.h"
#include "afxstr.h"
#include "afxwin.h"

#include <climits>
#include <cstdio>
#include <functional>

TEST(CString, FormatsTheConversionsTheProgramUses) {
    CString s;
    EXPECT_TRUE(s.Format("%c:\\ZEL\\", 'D'));
    EXPECT_STREQ("D:\\ZEL\\", s);
    EXPECT_EQ(7, s.GetLength());

    s.Format("CreateDirectory failed, err = %d\n", 123);
    EXPECT_STREQ("CreateDirectory failed, err = 123\n", s);

    CString dir("C:\\My Apps");
    s.Format("%s\\%s", (LPCSTR)dir, "ZEL.EXE");
    EXPECT_STREQ("C:\\My Apps\\ZEL.EXE", s);

    s.Format(" %d%% ", 100);
    EXPECT_STREQ(" 100% ", s);

    // An error code past INT_MAX reaches %d as a negative int.
    s.Format("CreateDirectory failed, err = %d\n", static_cast<int>(0x80070005));
    EXPECT_STREQ("CreateDirectory failed, err = -2147024891\n", s);
    s.Format("%d %d %d", INT_MIN, INT_MAX, 0);
    EXPECT_STREQ("-2147483648 2147483647 0", s);
    EXPECT_EQ(24, s.GetLength());
}

TEST(CString, FormatReplacesTheOldTextAndHandlesLongResults) {
    CString s("old text that is longer");
    s.Format("%s", "new");
    EXPECT_STREQ("new", s);
    EXPECT_EQ(3, s.GetLength());

    std::string big(5000, 'x');
    s.Format("[%s]", big.c_str());
    EXPECT_EQ(5002, s.GetLength());
    EXPECT_EQ('[', s[0]);
    EXPECT_EQ(']', s[5001]);
    EXPECT_EQ(std::string(1, '[') + big + "]", std::string(s));

    // The string's own text as an argument is read before the string changes.
    s = "C:\\ZEL";
    s.Format("%s\\%s", (LPCSTR)s, "ZEL.EXE");
    EXPECT_STREQ("C:\\ZEL\\ZEL.EXE", s);
}

TEST(CString, RightLeftAndConcatenation) {
    CString s("C:\\ZEL\\QUIRN.FON");
    EXPECT_STREQ("FON", s.Right(3));
    EXPECT_STREQ("C:\\", s.Left(3));
    EXPECT_STREQ(s, s.Right(100));
    EXPECT_STREQ("", s.Right(0));

    CString joined = CString("C:\\ZEL") + "\\quirn.fon";
    EXPECT_STREQ("C:\\ZEL\\quirn.fon", joined);
    EXPECT_STREQ("\"x\"", "\"" + CString("x") + "\"");
}

TEST(CString, CopiesAreIndependentAndSelfAssignmentIsSafe) {
    CString a("abc");
    CString b(a);
    b += "def";
    EXPECT_STREQ("abc", a);
    EXPECT_STREQ("abcdef", b);

    b = b;
    EXPECT_STREQ("abcdef", b);
    b += b;
    EXPECT_STREQ("abcdefabcdef", b);
    b = (LPCSTR)b + 3;
    EXPECT_STREQ("defabcdef", b);

    CString empty;
    EXPECT_EQ(0, empty.GetLength());
    EXPECT_STREQ("", empty);
    empty = nullptr;
    EXPECT_EQ(0, empty.GetLength());
}

TEST(CString, BufferAccessTakesTheLengthUpToTheNul) {
    CString s;
    LPSTR p = s.GetBuffer(10);
    ASSERT_NE(nullptr, p);
    lstrcpyA(p, "hello");
    s.ReleaseBuffer();
    EXPECT_EQ(5, s.GetLength());
    EXPECT_STREQ("hello", s);
}

TEST(CStringList, KeepsOrderAndDuplicates) {
    CStringList list;
    EXPECT_EQ(nullptr, list.GetHeadPosition());
    list.AddTail("ZEL.EXE");
    list.AddTail("README.TXT");
    list.AddTail("ZEL.EXE");

    std::vector<std::string> seen;
    for (POSITION pos = list.GetHeadPosition(); pos != nullptr;)
        seen.push_back((LPCSTR)list.GetNext(pos));
    EXPECT_EQ((std::vector<std::string>{"ZEL.EXE", "README.TXT", "ZEL.EXE"}), seen);
}

TEST(CStringList, KeepsItsOwnCopy) {
    CStringList list;
    CString name("A.TXT");
    list.AddTail(name);
    name = "B.TXT";
    POSITION pos = list.GetHeadPosition();
    EXPECT_STREQ("A.TXT", list.GetNext(pos));
}

namespace {

LPVOID WINAPI NoMemory(HANDLE, DWORD, SIZE_T) {
    return nullptr;
}
LPVOID WINAPI NoMoreMemory(HANDLE, DWORD, LPVOID, SIZE_T) {
    return nullptr;
}
// In place of the box, which would wait for a person: the text, where the death test reads it.
int WINAPI PrintBox(HWND, LPCSTR lpszText, LPCSTR, UINT nType) {
    std::fprintf(stderr, "box %#x: %s\n", nType, lpszText);
    return IDOK;
}

// Runs `operation` with the process heap, which the strings use whatever C run-time library the
// program has, refusing every request; it must not come back.
void WithoutMemory(const std::function<void()>& operation) {
    ImportPatch printBox("user32.dll", "MessageBoxA", reinterpret_cast<void*>(PrintBox));
    ImportPatch refuseNew("kernel32.dll", "HeapAlloc", reinterpret_cast<void*>(NoMemory));
    ImportPatch refuseMore("kernel32.dll", "HeapReAlloc", reinterpret_cast<void*>(NoMoreMemory));
    if (refuseNew.Installed() && refuseMore.Installed())
        operation();
    std::fprintf(stderr, "returned\n");
}

} // namespace

// Every operation that needs more room ends the program the same way when the heap has none,
// instead of keeping the old text, dropping what was appended or emptying the string.
TEST(CStringDeathTest, RunningOutOfMemoryEndsTheProgram) {
    GTEST_FLAG_SET(death_test_style, "threadsafe");
    const char* const kEnded = "box 0x1010: Out of memory\\.";
    const std::string longer(100, 'x');
    // Made while the heap still gives: growing it asks the heap to enlarge its block.
    CString grown("short");
    const std::vector<std::pair<const char*, std::function<void()>>> operations = {
        {"construct", [&] { CString s(longer.c_str()); }},
        {"assign",
         [&] {
             CString s("short");
             s = longer.c_str();
         }},
        {"append",
         [&] {
             CString s("short");
             s += longer.c_str();
         }},
        {"grow", [&] { grown += longer.c_str(); }},
        {"append a character",
         [] {
             CString s;
             s += 'x';
         }},
        {"format",
         [&] {
             CString s;
             s.Format("%s", longer.c_str());
         }},
        {"buffer",
         [] {
             CString s;
             s.GetBuffer(MAX_PATH);
         }},
        {"join",
         [&] {
             CString s("a");
             CString t = s + longer.c_str();
         }},
    };
    for (const auto& [name, operation] : operations)
        EXPECT_EXIT(WithoutMemory(operation), ::testing::ExitedWithCode(2), kEnded) << name;
    // Sizes past what a string can count end it too, rather than wrap around.
    EXPECT_EXIT(WithoutMemory([] {
                    CString s;
                    s.GetBuffer(INT_MAX);
                }),
                ::testing::ExitedWithCode(2), kEnded);
}
