#include <gtest/gtest.h>

#include <memory>
#include <string>

#include "chip.h"
#include "user_data.h"

namespace {

TEST(UserData, ContainersConvertAsTheirKindSays)
{
    struct Case {
        const char* what;
        std::shared_ptr<IDataContainer> value;
        int asInt;
        float asFloat;
        bool asBool;
        std::string asString;
    };
    Chip chip;
    const Case cases[] = {
        {"int -7", std::make_shared<TDataContainer<int>>(-7), -7, -7.0f, true, "-7"},
        {"int 0", std::make_shared<TDataContainer<int>>(0), 0, 0.0f, false, "0"},
        {"text true", std::make_shared<TDataContainer<std::string>>("true"), 0, 0.0f, true, "true"},
        {"text TRUE", std::make_shared<TDataContainer<std::string>>("TRUE"), 0, 0.0f, false, "TRUE"},
        {"text True", std::make_shared<TDataContainer<std::string>>("True"), 0, 0.0f, false, "True"},
        {"text 1", std::make_shared<TDataContainer<std::string>>("1"), 1, 1.0f, false, "1"},
        {"text 'true '", std::make_shared<TDataContainer<std::string>>("true "), 0, 0.0f, false, "true "},
        {"empty text", std::make_shared<TDataContainer<std::string>>(""), 0, 0.0f, false, ""},
        {"text 12abc", std::make_shared<TDataContainer<std::string>>("12abc"), 12, 12.0f, false, "12abc"},
        {"text abc", std::make_shared<TDataContainer<std::string>>("abc"), 0, 0.0f, false, "abc"},
        {"text 2.5", std::make_shared<TDataContainer<std::string>>("2.5"), 2, 2.5f, false, "2.5"},
        {"chip pointer", std::make_shared<TUserContainer<Chip*>>(&chip), 0, 0.0f, false, ""},
    };
    for (const Case& c : cases) {
        SCOPED_TRACE(c.what);
        EXPECT_EQ(c.value->asInt(), c.asInt);
        EXPECT_FLOAT_EQ(c.value->asFloat(), c.asFloat);
        EXPECT_EQ(c.value->asBool(), c.asBool);
        EXPECT_EQ(c.value->asString(), c.asString);
        std::unique_ptr<IDataContainer> copy(c.value->clone());
        IDataContainer& original = *c.value;
        IDataContainer& cloned = *copy;
        EXPECT_EQ(typeid(cloned), typeid(original));
        EXPECT_EQ(copy->asString(), c.asString);
    }
}

TEST(UserData, SlotsOwnCloneAndReportChipPointers)
{
    Chip partner;
    DataSlot number(5);
    EXPECT_EQ(number.kind, DataSlot::Integer);
    EXPECT_EQ(number.chipPointer(), nullptr);

    DataSlot text("hor");
    EXPECT_EQ(text.kind, DataSlot::String);

    DataSlot pointer;
    pointer.setChip(&partner);
    EXPECT_EQ(pointer.kind, DataSlot::UserPointer);
    EXPECT_EQ(pointer.chipPointer(), &partner);

    // Copies hold their own value.
    DataSlot copy = pointer;
    EXPECT_NE(copy.value, pointer.value);
    EXPECT_EQ(copy.chipPointer(), &partner);

    // An empty slot assigned over a full one empties it.
    copy = DataSlot();
    EXPECT_EQ(copy.value, nullptr);
    EXPECT_EQ(copy.kind, DataSlot::Empty);
    EXPECT_EQ(copy.chipPointer(), nullptr);

    // A slot labelled as a chip pointer that holds something else gives none.
    DataSlot mislabelled(3);
    mislabelled.kind = DataSlot::UserPointer;
    EXPECT_EQ(mislabelled.chipPointer(), nullptr);
}

TEST(UserData, ChipAccessorsInsertOnlyOnSet)
{
    Chip chip;
    EXPECT_FALSE(chip.hasUserData("lock"));
    DataSlot absent = chip.getUserData("lock");
    EXPECT_EQ(absent.kind, DataSlot::Empty);
    EXPECT_EQ(absent.value, nullptr);
    EXPECT_FALSE(chip.hasUserData("lock"));

    chip.setUserData("lock", "1");
    ASSERT_TRUE(chip.hasUserData("lock"));
    DataSlot lock = chip.getUserData("lock");
    EXPECT_EQ(lock.value->asInt(), 1);
    EXPECT_FALSE(lock.value->asBool());
    // The copy handed out is the caller's; the entry keeps its own value.
    EXPECT_NE(lock.value, chip.userData["lock"].value);

    chip.setUserData("lock", 7);
    EXPECT_EQ(chip.getUserData("lock").kind, DataSlot::Integer);

    chip.reset();
    EXPECT_TRUE(chip.userData.empty());
}

}  // namespace
