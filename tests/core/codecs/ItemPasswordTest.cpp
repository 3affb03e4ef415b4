#include "core/codecs/ItemPipelineFixture.h"

namespace pyxa::test {
namespace {

const std::string kPassword = "right password";

// A front end whose prompt returns unanswered without setting the cancel request itself.
class TForgetfulHost : public FakeHost {
public:
    TPasswordAnswer AskPassword(const TPasswordRequest& request) override
    {
        PasswordRequests.push_back(request);
        return {};
    }
};

class ItemPassword : public ItemPipelineFixture, public ::testing::WithParamInterface<TVariant> {
protected:
    TItemInfo EncryptedItem(const std::string& name = "secret.txt")
    {
        TItemInfo item = PendingItem(SampleText(20000, 21), kPassword, GetParam());
        item.Name = name;
        return item;
    }

    UnpackResult Unpack(TItemInfo& item, const std::string& to = "restored.txt")
    {
        return UnpackItem(Container, item, Destination().parent_path() / to, false);
    }
};

TEST_P(ItemPassword, AStaleTmpPassFailsWithoutAPromptAndTheNextAttemptAsks)
{
    TItemInfo item = EncryptedItem();
    item.TmpPass = "stale password";

    EXPECT_EQ(Unpack(item), UnpackResult::InvalidPassword);
    EXPECT_TRUE(Host.PasswordRequests.empty());
    EXPECT_EQ(item.TmpPass, "");

    Host.PasswordAnswers.push_back({true, kPassword, false});
    EXPECT_EQ(Unpack(item), UnpackResult::Ok);
    EXPECT_EQ(Host.PasswordRequests.size(), 1u);
    EXPECT_EQ(item.TmpPass, kPassword) << "a password that worked is remembered";
}

TEST_P(ItemPassword, TheAutomaticPasswordIsTriedBeforeAsking)
{
    struct TCase {
        const char* Automatic;
        UnpackResult Expected;
        const char* TmpPassAfter;
    };
    for (const TCase& c : {TCase {"right password", UnpackResult::Ok, "right password"},
                           TCase {"wrong password", UnpackResult::InvalidPassword, ""}}) {
        SCOPED_TRACE(c.Automatic);
        TItemInfo item = EncryptedItem();
        Container.GlobalPassword = c.Automatic;
        EXPECT_EQ(Unpack(item), c.Expected);
        EXPECT_EQ(item.TmpPass, c.TmpPassAfter);
        EXPECT_EQ(Container.GlobalPassword, c.Automatic);
        EXPECT_TRUE(Host.PasswordRequests.empty()) << "an automatic password is not retried with a prompt";
        fs::remove(Destination());
    }
}

TEST_P(ItemPassword, ThePromptNamesTheItemAndPreselectsTheBoxWhileExtracting)
{
    for (const bool extracting : {true, false}) {
        SCOPED_TRACE(extracting);
        Host.PasswordRequests.clear();
        Host.PasswordAnswers.push_back({true, kPassword, false});
        Container.Extracting = extracting;
        TItemInfo item = EncryptedItem("report \"final\".txt");
        EXPECT_EQ(Unpack(item), UnpackResult::Ok);
        ASSERT_EQ(Host.PasswordRequests.size(), 1u);
        const TPasswordRequest& request = Host.PasswordRequests[0];
        EXPECT_EQ(request.Mode, 2);
        EXPECT_EQ(request.Label, "The file \"report \"final\".txt\" is encrypted...");
        EXPECT_TRUE(request.ShowAutomatic);
        EXPECT_EQ(request.AutomaticChecked, extracting);
        fs::remove(Destination());
    }
}

TEST_P(ItemPassword, AWrongTypedPasswordIsInvalidPasswordAndNotACancel)
{
    TItemInfo item = EncryptedItem();
    Host.PasswordAnswers.push_back({true, "typo", false});
    EXPECT_EQ(Unpack(item), UnpackResult::InvalidPassword);
    EXPECT_EQ(item.TmpPass, "");
    EXPECT_FALSE(Host.CancelRequested());
    EXPECT_FALSE(fs::exists(Destination()));
}

TEST_P(ItemPassword, ACancelledPromptCannotDecryptAndRequestsTheCancel)
{
    TForgetfulHost forgetful;
    TContainer container(forgetful);
    fs::create_directory(Dir / "other");
    container.WorkingFolder.Create(Dir / "other");
    TItemInfo item = EncryptedItem();

    EXPECT_EQ(UnpackItem(container, item, Destination(), false), UnpackResult::CannotDecrypt);
    EXPECT_EQ(forgetful.PasswordRequests.size(), 1u);
    EXPECT_TRUE(forgetful.CancelRequested()) << "a running batch must stop";
    EXPECT_FALSE(fs::exists(Destination()));
    EXPECT_TRUE(fs::exists(item.TmpCmpFile));
}

TEST_P(ItemPassword, TheAutomaticBoxMakesThePasswordAutomaticForTheNextItems)
{
    TItemInfo first = EncryptedItem("first.txt");
    TItemInfo second = EncryptedItem("second.txt");
    Host.PasswordAnswers.push_back({true, kPassword, true});

    EXPECT_EQ(Unpack(first, "first.txt"), UnpackResult::Ok);
    EXPECT_EQ(Container.GlobalPassword, kPassword);
    EXPECT_EQ(Host.LastStatus(), "Automatic password has been assigned.");
    EXPECT_EQ(Unpack(second, "second.txt"), UnpackResult::Ok);
    EXPECT_EQ(Host.PasswordRequests.size(), 1u);
}

INSTANTIATE_TEST_SUITE_P(Variants, ItemPassword, ::testing::Values(TVariant::InMemory, TVariant::ViaFiles),
                         [](const auto& info) { return VariantName(info.param); });

}  // namespace
}  // namespace pyxa::test
