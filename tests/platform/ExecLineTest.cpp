#include "ExtensionInfo.h"

#include <gtest/gtest.h>

#include <ostream>
#include <string>
#include <vector>

namespace pyxa {
namespace {

using TArguments = std::vector<std::string>;

struct TExecLineCase {
    const char* Name;
    std::string Command;
    std::string Document;
    TArguments Expected;
};

const std::string kDocument = "/home/user/work/report.txt";
// Blanks, quotes, shell characters and field-code look-alikes: all of it is one argument's text.
const std::string kHostileDocument = "/tmp/my \"odd\" 'file'; rm -rf ~ $HOME `id` 100%f %% %U.txt";

const std::vector<TExecLineCase> kOpeningCases = {
    {"FileCodeTakesDocument", "viewer %f", kDocument, {"viewer", kDocument}},
    {"FileListCodeTakesDocument", "editor --new-window %F", kDocument, {"editor", "--new-window", kDocument}},
    {"UrlCodeTakesDocument", "player %u", kDocument, {"player", kDocument}},
    {"UrlListCodeTakesDocument", "browser %U", "https://example.org/a?b=1&c=2",
     {"browser", "https://example.org/a?b=1&c=2"}},
    {"HostileDocumentStaysOneArgumentUnexpanded", "viewer %f", kHostileDocument, {"viewer", kHostileDocument}},
    {"CodeInsideLongerArgument", "viewer --file=%f", "/tmp/a b.txt", {"viewer", "--file=/tmp/a b.txt"}},
    {"QuotedProgramPathWithBlanks", "\"/opt/My Viewer/bin/view\" -n %f", kDocument,
     {"/opt/My Viewer/bin/view", "-n", kDocument}},
    {"EscapesInsideQuotes", R"(sh -c "echo \"\$HOME\" \`id\` \\ done" %f)", kDocument,
     {"sh", "-c", R"(echo "$HOME" `id` \ done)", kDocument}},
    {"OtherBackslashInsideQuotesKept", R"(viewer "C:\new\table" %f)", kDocument,
     {"viewer", R"(C:\new\table)", kDocument}},
    {"QuotedPartJoinsItsArgument", "viewer --title=\"My File\" %f", kDocument,
     {"viewer", "--title=My File", kDocument}},
    {"QuotedEmptyArgumentKept", "viewer \"\" %f", kDocument, {"viewer", "", kDocument}},
    {"PercentPercentIsLiteral", "printf 100%% \"50%%\" %f", kDocument, {"printf", "100%", "50%", kDocument}},
    {"IconNameAndLocationCodesRemoved", "viewer %i %c %k --name=%c %f", kDocument, {"viewer", "--name=", kDocument}},
    {"DeprecatedCodesRemoved", "viewer %d %D %n %N %v %m %f", kDocument, {"viewer", kDocument}},
    {"NoDocumentCodeAppendsDocument", "viewer --read-only", kHostileDocument,
     {"viewer", "--read-only", kHostileDocument}},
    {"OnlyRemovedCodesAppendsDocument", "viewer %i", kDocument, {"viewer", kDocument}},
    {"BlanksTabsAndNewlinesSeparate", "  viewer\t\t-a \n  %f  ", kDocument, {"viewer", "-a", kDocument}},
};

const std::vector<TExecLineCase> kRefusedCases = {
    {"Empty", "", kDocument, {}},
    {"OnlyBlanks", " \t ", kDocument, {}},
    {"UnbalancedQuote", "viewer \"--title=open %f", kDocument, {}},
    {"QuoteEscapedAtEnd", R"(viewer "abc\")", kDocument, {}},
    {"UnknownFieldCode", "viewer %x %f", kDocument, {}},
    {"PercentEndsLine", "viewer 100%", kDocument, {}},
    {"ProgramMadeOfRemovedCodes", "%i %c", kDocument, {}},
    {"EmptyProgram", "\"\" %f", kDocument, {}},
};

void PrintTo(const TExecLineCase& c, std::ostream* out)
{
    *out << c.Name;
}

class BuildOpenCommandTest : public testing::TestWithParam<TExecLineCase> {};

TEST_P(BuildOpenCommandTest, GivesProgramAndArguments)
{
    const TExecLineCase& c = GetParam();
    EXPECT_EQ(BuildOpenCommand(c.Command, c.Document), c.Expected);
}

std::string CaseName(const testing::TestParamInfo<TExecLineCase>& info)
{
    return info.param.Name;
}

INSTANTIATE_TEST_SUITE_P(Opening, BuildOpenCommandTest, testing::ValuesIn(kOpeningCases), CaseName);
INSTANTIATE_TEST_SUITE_P(Refused, BuildOpenCommandTest, testing::ValuesIn(kRefusedCases), CaseName);

}  // namespace
}  // namespace pyxa
