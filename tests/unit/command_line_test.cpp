#include <gtest/gtest.h>

#include "app/CommandLine.h"

namespace {

struct CommandLineRow {
    const char* line;
    bool usable;
    // S: /S, N: /NOGROUP, ?: help
    const char* flags;
    const char* destination;
    const char* log;
    const char* error;
};

const CommandLineRow kRows[] = {
    // No arguments: the interactive installer as ever.
    {"", true, "", "", "", ""},
    {"  \t ", true, "", "", "", ""},
    {"/S", true, "S", "", "", ""},
    {"-s /nogroup", true, "SN", "", "", ""},
    {"/NoGroup\t/S", true, "SN", "", "", ""},
    {"/?", true, "?", "", "", ""},
    {"-help", true, "?", "", "", ""},
    {"/S /?", true, "S?", "", "", ""},
    // /D= takes the rest of the line as it stands, blanks and switch-like text included; only
    // the blanks at the very end go.
    {"/S /D=C:\\My Apps\\ZEL", true, "S", "C:\\My Apps\\ZEL", "", ""},
    {"/D=C:\\ZEL /S  ", true, "", "C:\\ZEL /S", "", ""},
    {"/d=  C:\\ZEL", true, "", "  C:\\ZEL", "", ""},
    // Quotes around the value, or around the whole switch, as some callers quote every argument
    // that holds a blank; what follows is read as switches again.
    {"/D=\"C:\\My Apps\\ZEL\" /S", true, "S", "C:\\My Apps\\ZEL", "", ""},
    {"\"/D=C:\\My Apps\\ZEL\" /S", true, "S", "C:\\My Apps\\ZEL", "", ""},
    {"\"/S\" \"/LOG=C:\\My Logs\\zel.log\"", true, "S", "", "C:\\My Logs\\zel.log", ""},
    {"/LOG=\"C:\\My Logs\\zel.log\" /S", true, "S", "", "C:\\My Logs\\zel.log", ""},
    {"/log=zel.log /S", true, "S", "", "zel.log", ""},
    {"-LOG=a.log -D=D:\\", true, "", "D:\\", "a.log", ""},
    // A double-byte name passes whole, its trail bytes 0x5C (\) included.
    {"/D=C:\\\x83\x5C\x83\x74\x83\x67 /S", true, "", "C:\\\x83\x5C\x83\x74\x83\x67 /S", "", ""},
    // An unterminated quote runs to the end of the line.
    {"/D=\"C:\\ZEL", true, "", "C:\\ZEL", "", ""},
    // Lines that cannot be used: the first problem is named, and what was understood is kept
    // (a silent run still knows it is silent and where its log goes).
    {"/X", false, "", "", "", "Unknown switch: /X"},
    {"/S /Silent /LOG=a.log", false, "S", "", "a.log", "Unknown switch: /Silent"},
    {"ZEL", false, "", "", "", "Unknown switch: ZEL"},
    {"/", false, "", "", "", "Unknown switch: /"},
    {"/SS", false, "", "", "", "Unknown switch: /SS"},
    {"/S/NOGROUP", false, "", "", "", "Unknown switch: /S/NOGROUP"},
    {"/D", false, "", "", "", "Unknown switch: /D"},
    {"/D=", false, "", "", "", "/D= names no destination."},
    {"/S /D=   ", false, "S", "", "", "/D= names no destination."},
    {"/D=\"\" /S", false, "S", "", "", "/D= names no destination."},
    {"/LOG= /S", false, "S", "", "", "/LOG= names no file."},
    {"/S /s", false, "S", "", "", "/S is given twice."},
    {"/nogroup -NOGROUP", false, "N", "", "", "/NOGROUP is given twice."},
    {"/? /HELP", false, "?", "", "", "/? is given twice."},
    {"/LOG=a /LOG=b", false, "", "", "a", "/LOG= is given twice."},
    {"/D=\"a\" /D=b", false, "", "a", "", "/D= is given twice."},
    {"/X /Y", false, "", "", "", "Unknown switch: /X"},
};

std::string Flags(const CSetupOptions& options) {
    std::string flags;
    if (options.m_bSilent)
        flags += 'S';
    if (options.m_bNoGroup)
        flags += 'N';
    if (options.m_bHelp)
        flags += '?';
    return flags;
}

TEST(CommandLine, SwitchesValuesAndProblems) {
    for (const CommandLineRow& row : kRows) {
        SCOPED_TRACE(std::string("command line [") + row.line + "]");
        CSetupOptions options;
        // What an earlier parse left must not leak into this one.
        options.m_bSilent = TRUE;
        options.m_strError = "stale";
        EXPECT_EQ(row.usable, !!ParseCommandLine(row.line, options));
        EXPECT_EQ(row.flags, Flags(options));
        EXPECT_EQ(row.destination, std::string(options.m_strDestination));
        EXPECT_EQ(row.log, std::string(options.m_strLogFile));
        EXPECT_EQ(row.error, std::string(options.m_strError));
    }
}

} // namespace
