#include <gtest/gtest.h>

#include <filesystem>

#include "game_properties.h"
#include "progress_saver.h"
#include "support/save_fixture.h"

using namespace TestSupport;

namespace {

class ProgressSaverTest : public SaveFolderTest {
protected:
    void SetUp() override
    {
        SaveFolderTest::SetUp();
        createSavers();
    }

    bool exists(const std::string& name) const { return std::filesystem::exists(savePath(name)); }
};

}  // namespace

TEST_F(ProgressSaverTest, AnUnboundProfileBecomesTheUsersWithItsProgress)
{
    profile().silver = 640;
    mRemote->userId = 7;
    mSaver->onLoaded();
    EXPECT_EQ(profile().profileId, 7u);
    EXPECT_FALSE(exists("profile_0.dat"));
    EXPECT_FALSE(exists("profile_7.dat"));

    EXPECT_TRUE(mSaver->saveNow());
    mProperties->profile()->silver = 0;
    ASSERT_TRUE(mProperties->load(7));
    EXPECT_EQ(profile().silver, 640);
}

TEST_F(ProgressSaverTest, AnotherUsersProfileIsSavedAndTheUsersOwnLoaded)
{
    profile().profileId = 7;
    profile().silver = 70;
    ASSERT_TRUE(mProperties->save());

    profile().profileId = 5;
    profile().silver = 50;
    mRemote->userId = 7;
    mSaver->onLoaded();
    EXPECT_EQ(profile().profileId, 7u);  // the id stored in profile_7.dat
    EXPECT_EQ(profile().silver, 70);
    ASSERT_TRUE(mProperties->load(5));
    EXPECT_EQ(profile().silver, 50);
}

TEST_F(ProgressSaverTest, AUserWithoutAFileStartsFresh)
{
    profile().profileId = 5;
    profile().silver = 50;
    profile().gold = 1;
    mRemote->userId = 7;
    mSaver->onLoaded();
    EXPECT_TRUE(exists("profile_5.dat"));
    EXPECT_EQ(profile().profileId, 7u);
    EXPECT_EQ(profile().silver, 350);
    EXPECT_EQ(profile().gold, 20);
}

TEST_F(ProgressSaverTest, EqualIdsAndOtherUsersSavesDoNothing)
{
    profile().profileId = 7;
    profile().silver = 70;
    mRemote->userId = 7;
    mSaver->onLoaded();
    EXPECT_EQ(profile().silver, 70);
    EXPECT_TRUE(std::filesystem::is_empty(saveFolder()));

    mSaver->onSaved(8, 0, 0);
    EXPECT_TRUE(std::filesystem::is_empty(saveFolder()));
    mSaver->onSaved(7, 0, 0);
    EXPECT_TRUE(exists("profile_7.dat"));
}

TEST_F(ProgressSaverTest, SavingNeedsTheRemoteStorage)
{
    mRemote.reset();
    const VQ::FatalReport report = catchFatal([&] { mSaver->saveNow(); });
    EXPECT_NE(report.description.find("Singleton not initialized: "), std::string::npos) << report.description;
    EXPECT_NE(report.description.find("RemoteStorage"), std::string::npos) << report.description;
    EXPECT_TRUE(std::filesystem::is_empty(saveFolder()));
}
