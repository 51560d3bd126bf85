#include <gtest/gtest.h>

#include "TempDir.h"
#include "whole_file.h"
#include "afxfile.h"

#include <string>

TEST(CFile, AFailedOpenGivesTheSystemsErrorAndAGenericCause) {
    TempDir dir;
    CFile file;
    CFileException error;
    EXPECT_FALSE(file.Open(dir.Path("missing.txt").c_str(), CFile::modeRead, &error));
    EXPECT_EQ(CFileException::generic, error.m_cause);
    EXPECT_EQ(ERROR_FILE_NOT_FOUND, error.m_lOsError);
    EXPECT_FALSE(
        file.Open(dir.Path("nodir\\x.txt").c_str(), CFile::modeCreate | CFile::modeWrite, &error));
    EXPECT_EQ(CFileException::generic, error.m_cause);
    EXPECT_EQ(ERROR_PATH_NOT_FOUND, error.m_lOsError);
}

TEST(CFile, NoShareFlagsMeansNoSharing) {
    TempDir dir;
    std::string path = dir.WriteFile("held.fon", "font bytes");
    CFile holder;
    ASSERT_TRUE(holder.Open(path.c_str(), CFile::modeRead));

    CFile writer;
    CFileException error;
    EXPECT_FALSE(writer.Open(path.c_str(), CFile::modeCreate | CFile::modeWrite, &error));
    EXPECT_EQ(CFileException::sharingViolation, error.m_cause);
    EXPECT_EQ(ERROR_SHARING_VIOLATION, error.m_lOsError);

    // Nor may a second reader open it.
    CFile reader;
    EXPECT_FALSE(reader.Open(path.c_str(), CFile::modeRead));

    holder.Close();
    EXPECT_TRUE(writer.Open(path.c_str(), CFile::modeCreate | CFile::modeWrite, &error));
}

TEST(CFile, WriteThenReadBackInBlocks) {
    TempDir dir;
    std::string path = dir.Path("data.bin");
    std::string data;
    for (int i = 0; i < 10000; i++)
        data += static_cast<char>(i * 7);
    {
        CFile out;
        ASSERT_TRUE(out.Open(path.c_str(), CFile::modeCreate | CFile::modeWrite));
        EXPECT_TRUE(out.Write(data.data(), static_cast<UINT>(data.size())));
        EXPECT_TRUE(out.Close());
    }
    CFile in;
    ASSERT_TRUE(in.Open(path.c_str(), CFile::modeRead));
    EXPECT_EQ(10000u, in.GetLength());
    std::string back;
    char buf[4096];
    UINT n;
    while ((n = in.Read(buf, sizeof buf)) != 0) {
        ASSERT_NE(CFile::hFileError, n);
        back.append(buf, n);
    }
    EXPECT_EQ(data, back);
}

TEST(CFile, CreateTruncatesAnExistingFile) {
    TempDir dir;
    std::string path = dir.WriteFile("old.txt", "a much longer old content");
    CFile out;
    ASSERT_TRUE(out.Open(path.c_str(), CFile::modeCreate | CFile::modeWrite));
    EXPECT_TRUE(out.Write("new", 3));
    out.Close();
    EXPECT_EQ("new", support::ReadWholeFile(dir.Path("old.txt")));
}

TEST(CFile, ReadAndWriteFailuresAreReportedNotThrown) {
    TempDir dir;
    std::string path = dir.WriteFile("ro.txt", "content");
    CFile in;
    ASSERT_TRUE(in.Open(path.c_str(), CFile::modeRead));
    EXPECT_FALSE(in.Write("x", 1));

    CFile out;
    ASSERT_TRUE(out.Open(dir.Path("wo.txt").c_str(), CFile::modeCreate | CFile::modeWrite));
    char buf[4];
    EXPECT_EQ(CFile::hFileError, out.Read(buf, sizeof buf));
}

TEST(CFileException, MapsSystemErrorsToCauses) {
    EXPECT_EQ(CFileException::none, CFileException::OsErrorToException(NO_ERROR));
    EXPECT_EQ(CFileException::sharingViolation,
              CFileException::OsErrorToException(ERROR_SHARING_VIOLATION));
    EXPECT_EQ(CFileException::generic, CFileException::OsErrorToException(ERROR_ACCESS_DENIED));
    EXPECT_EQ(CFileException::generic, CFileException::OsErrorToException(12345));
    CFileException fresh;
    EXPECT_EQ(CFileException::none, fresh.m_cause);
    EXPECT_EQ(-1, fresh.m_lOsError);
}
