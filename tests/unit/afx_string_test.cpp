#include <gtest/gtest.h>

#include "afxstr.h"

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
}

TEST(CString, FindReturnsTheFirstIndexOrMinusOne) {
    CString s("C:\\My Apps\\ZEL");
    EXPECT_EQ(5, s.Find(' '));
    EXPECT_EQ(2, s.Find('\\'));
    EXPECT_EQ(10, s.Find('\\', 3));
    EXPECT_EQ(-1, s.Find('/'));
    EXPECT_EQ(11, s.Find("ZEL"));
    EXPECT_EQ(-1, s.Find("zel"));
    EXPECT_EQ(0, CString(" lead").Find(' '));
    EXPECT_EQ(-1, CString().Find(' '));
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
    EXPECT_TRUE(empty.IsEmpty());
    EXPECT_STREQ("", empty);
    empty = NULL;
    EXPECT_TRUE(empty.IsEmpty());
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
    EXPECT_TRUE(list.IsEmpty());
    EXPECT_EQ(nullptr, list.GetHeadPosition());
    list.AddTail("ZEL.EXE");
    list.AddTail("README.TXT");
    list.AddTail("ZEL.EXE");
    EXPECT_EQ(3, list.GetCount());

    std::vector<std::string> seen;
    for (POSITION pos = list.GetHeadPosition(); pos != NULL;)
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
