#include "support/IniFile.h"

#include "helpers/TempDir.h"

#include <gtest/gtest.h>

namespace pyxa {
namespace {

using test::ReadFile;
using test::TempDir;
using test::WriteFile;

class IniFileTest : public ::testing::Test {
protected:
    TIniFile Load(const std::string& text)
    {
        WriteFile(Temp / "pyxa.ini", text);
        return TIniFile(Temp / "pyxa.ini");
    }

    TempDir Temp;
};

struct ReadCase {
    const char* Name;
    const char* Text;
    const char* Section;
    const char* Key;
    const char* Expected;  // nullptr: the fallback "?" is expected
};

TEST_F(IniFileTest, ReadsValuesAndIgnoresWhatIsNotASetting)
{
    const ReadCase cases[] = {
        {"plain", "[Pyxa]\nVersion=016000\n", "Pyxa", "Version", "016000"},
        {"spaces and CR LF", "  [ Pyxa ]  \r\n  Version =  016000 \r\n", "Pyxa", "Version", "016000"},
        {"case of names", "[pyxa]\nVERSION=1\n", "Pyxa", "Version", "1"},
        {"empty value", "[Pyxa]\nVersion=\n", "Pyxa", "Version", ""},
        {"value holding =", "[A]\nK=a=b\n", "A", "K", "a=b"},
        {"second section", "[A]\nK=1\n[B]\nK=2\n", "B", "K", "2"},
        {"section met twice", "[A]\nK=1\n[B]\n[A]\nL=3\n", "A", "L", "3"},
        {"first duplicate wins", "[A]\nK=1\nK=2\n", "A", "K", "1"},
        {"last line without LF", "[A]\nK=7", "A", "K", "7"},
        {"key outside a section", "K=1\n[A]\n", "A", "K", nullptr},
        {"line without =", "[A]\nK\n", "A", "K", nullptr},
        {"comment", "[A]\n;K=1\n#K=2\n", "A", "K", nullptr},
        {"unclosed section header", "[A\nK=1\n", "A", "K", nullptr},
        {"keys of a broken header are lost", "[A]\n[B\nK=1\n", "A", "K", nullptr},
        {"empty key", "[A]\n=1\n", "A", "", nullptr},
        {"binary junk", "[A]\n\x01\xff=\n", "A", "K", nullptr},
        {"other section", "[B]\nK=1\n", "A", "K", nullptr},
    };
    for (const ReadCase& c : cases) {
        const TIniFile ini = Load(c.Text);
        EXPECT_EQ(ini.ReadString(c.Section, c.Key, "?"), c.Expected ? c.Expected : "?") << c.Name;
    }
}

TEST_F(IniFileTest, MissingFileGivesTheFallbacks)
{
    const TIniFile ini(Temp / "absent.ini");
    EXPECT_EQ(ini.ReadString("Pyxa", "Version", "x"), "x");
    EXPECT_EQ(ini.ReadInteger("Configuration", "TempDirMode", 3), 3);
    EXPECT_TRUE(ini.ReadBool("Configuration", "RestoreOriginalDate", true));
}

TEST_F(IniFileTest, NumbersAndBooleansFallBackOnAnythingButADecimalNumber)
{
    struct NumberCase {
        const char* Value;
        int Integer;  // with the fallback 5
        bool Bool;    // with the fallback true
    };
    const NumberCase cases[] = {
        {"0", 0, false},          {"1", 1, true},        {"2", 2, true},      {"-1", -1, true},
        {"+3", 3, true},          {"007", 7, true},      {"", 5, true},       {"yes", 5, true},
        {"1x", 5, true},          {"+", 5, true},        {"+-1", 5, true},    {"99999999999", 5, true},
        {"-99999999999", 5, true}, {" 0 ", 0, false},
    };
    for (const NumberCase& c : cases) {
        const TIniFile ini = Load(std::string("[A]\nK=") + c.Value + "\n");
        EXPECT_EQ(ini.ReadInteger("A", "K", 5), c.Integer) << c.Value;
        EXPECT_EQ(ini.ReadBool("A", "K", true), c.Bool) << c.Value;
    }
}

TEST_F(IniFileTest, WritesAsGivenAndReadsBack)
{
    TIniFile ini(Temp / "new.ini");
    ini.WriteString("Pyxa", "Version", "016000");
    ini.WriteBool("Configuration", "RestoreOriginalDate", false);
    ini.WriteInteger("Configuration", "TempDirMode", 2);
    ini.WriteString("Configuration", "TempDir", "/var/tmp/");
    ini.WriteBool("Pyxa", "Notice", true);
    ASSERT_TRUE(ini.Save());
    EXPECT_EQ(ReadFile(Temp / "new.ini"),
              "[Pyxa]\nVersion=016000\nNotice=1\n"
              "[Configuration]\nRestoreOriginalDate=0\nTempDirMode=2\nTempDir=/var/tmp/\n");

    const TIniFile again(Temp / "new.ini");
    EXPECT_EQ(again.ReadString("Pyxa", "Version", ""), "016000");
    EXPECT_FALSE(again.ReadBool("Configuration", "RestoreOriginalDate", true));
    EXPECT_EQ(again.ReadInteger("Configuration", "TempDirMode", 0), 2);
    EXPECT_EQ(again.ReadString("Configuration", "TempDir", ""), "/var/tmp/");
}

TEST_F(IniFileTest, WritingReplacesAKeyInPlaceWhateverItsCase)
{
    TIniFile ini = Load("[pyxa]\r\nversion=015000\r\nOther=x\r\n");
    ini.WriteString("Pyxa", "Version", "016000");
    ASSERT_TRUE(ini.Save());
    EXPECT_EQ(ReadFile(Temp / "pyxa.ini"), "[pyxa]\nversion=016000\nOther=x\n");
}

TEST_F(IniFileTest, SaveFailsWhenTheFolderIsMissing)
{
    TIniFile ini(Temp / "no" / "such" / "pyxa.ini");
    ini.WriteString("Pyxa", "Version", "016000");
    EXPECT_FALSE(ini.Save());
}

TEST_F(IniFileTest, OversizedFileReadsAsEmpty)
{
    const TIniFile ini = Load("[A]\nK=1\n" + std::string(2 << 20, ';'));
    EXPECT_EQ(ini.ReadString("A", "K", "?"), "?");
}

}  // namespace
}  // namespace pyxa
