#include "protection/FolderRestriction.h"

#include "helpers/FakeHost.h"

#include <gtest/gtest.h>

#include <memory>
#include <optional>
#include <ostream>

namespace pyxa {
namespace {

class FolderRestrictionTest : public ::testing::Test {
protected:
    TTreeNode* AddFolder(const std::string& name, bool restricted, const std::string& password)
    {
        auto item = std::make_unique<TItemInfo>();
        item->Name = name;
        item->IsFolder = true;
        item->Encrypted = restricted;
        item->TmpPass = password;
        return Container.Tree.Add(nullptr, std::move(item));
    }

    test::FakeHost Host;
    TContainer Container {Host};
};

// Failure messages name a case of a table by its name.
template <typename Case>
    requires requires(const Case& c) { c.Name; }
void PrintTo(const Case& c, std::ostream* os)
{
    *os << c.Name;
}

struct OpeningCase {
    std::string Name;
    std::string Automatic;                   // the automatic password in force
    std::optional<std::string> Answer;       // typed into the prompt; none: the prompt is cancelled
    bool Opens = false;
    bool Asks = false;
};

class FolderOpeningTest : public FolderRestrictionTest, public ::testing::WithParamInterface<OpeningCase> {};

TEST_P(FolderOpeningTest, OpensOnlyWithTheFolderPassword)
{
    const OpeningCase& c = GetParam();
    TTreeNode* folder = AddFolder("Secret", true, "Pass");
    Container.GlobalPassword = c.Automatic;
    if (c.Answer)
        Host.PasswordAnswers.push_back({true, *c.Answer, false});

    EXPECT_EQ(OpenRestrictedFolder(Container, *folder), c.Opens);

    EXPECT_EQ(folder->Expanded, c.Opens);
    ASSERT_EQ(Host.PasswordRequests.size(), c.Asks ? 1u : 0u);
    if (c.Asks) {
        EXPECT_EQ(Host.PasswordRequests[0].Mode, 2);
        EXPECT_FALSE(Host.PasswordRequests[0].ShowAutomatic);
        EXPECT_EQ(Host.PasswordRequests[0].Label, "The folder \"Secret\" is open protected...");
    }
    const bool wrong = c.Answer && !c.Opens;
    ASSERT_EQ(Host.Log.size(), wrong ? 1u : 0u);
    ASSERT_EQ(Host.Boxes.size(), wrong ? 1u : 0u);
    if (wrong) {
        EXPECT_EQ(Host.Log[0].Text, "Invalid password opening folder");
        EXPECT_EQ(Host.Log[0].FileName, "Secret");
        EXPECT_EQ(Host.Log[0].Icon, liPassword);
        EXPECT_FALSE(Host.Log[0].Popup);
        EXPECT_FALSE(Host.Log[0].ShowLog);
        EXPECT_EQ(Host.Boxes[0].Instruction, "Invalid password");
        EXPECT_EQ(Host.Boxes[0].Content, "");
        EXPECT_EQ(Host.Boxes[0].Icon, 105);
        EXPECT_EQ(Host.Boxes[0].Buttons, mbOK);
    }
    EXPECT_EQ(Host.CancelRequested(), c.Asks && !c.Answer);
}

INSTANTIATE_TEST_SUITE_P(
    Cases, FolderOpeningTest,
    ::testing::Values(OpeningCase {"AutomaticPasswordMatches", "Pass", std::nullopt, true, false},
                      OpeningCase {"RightAnswer", "", "Pass", true, true},
                      OpeningCase {"AutomaticPasswordDiffersThenRightAnswer", "Other", "Pass", true, true},
                      OpeningCase {"WrongAnswer", "", "nope", false, true},
                      OpeningCase {"LetterCaseDiffers", "pass", "PASS", false, true},
                      OpeningCase {"Cancelled", "", std::nullopt, false, true}),
    [](const auto& info) { return info.param.Name; });

TEST_F(FolderRestrictionTest, OpenFoldersAndFoldersWithoutPasswordNeedNoPrompt)
{
    TTreeNode* plain = AddFolder("Plain", false, "");
    TTreeNode* freeRestricted = AddFolder("Free", true, "");
    EXPECT_TRUE(OpenRestrictedFolder(Container, *plain));
    EXPECT_TRUE(OpenRestrictedFolder(Container, *freeRestricted));
    EXPECT_TRUE(IsRestrictedFolder(*freeRestricted));
    EXPECT_FALSE(IsRestrictedFolder(*plain));
    EXPECT_TRUE(Host.PasswordRequests.empty());
}

TEST_F(FolderRestrictionTest, AnOpenedFolderAsksAgainOnlyAfterItWasCollapsed)
{
    TTreeNode* folder = AddFolder("Secret", true, "Pass");
    Host.PasswordAnswers.push_back({true, "Pass", false});
    ASSERT_TRUE(OpenRestrictedFolder(Container, *folder));
    EXPECT_TRUE(OpenRestrictedFolder(Container, *folder));
    EXPECT_EQ(Host.PasswordRequests.size(), 1u);

    folder->Expanded = false;
    EXPECT_FALSE(OpenRestrictedFolder(Container, *folder));
    EXPECT_EQ(Host.PasswordRequests.size(), 2u);
}

TEST_F(FolderRestrictionTest, AFileIsNeverRestricted)
{
    auto item = std::make_unique<TItemInfo>();
    item->Name = "a.txt";
    item->Encrypted = true;
    item->TmpPass = "Pass";
    TTreeNode* file = Container.Tree.Add(nullptr, std::move(item));
    EXPECT_FALSE(IsRestrictedFolder(*file));
    EXPECT_TRUE(OpenRestrictedFolder(Container, *file));
    EXPECT_TRUE(Host.PasswordRequests.empty());
}

}  // namespace
}  // namespace pyxa
