#include <gtest/gtest.h>

#include <memory>

#include "drawable.h"
#include "drawables_group.h"

namespace {

TEST(Drawable, AlphaVisibilityAndRestartFlags)
{
    std::unique_ptr<Drawable> drawable(createDrawable("Sprite", "chips_lua", "plain", 4, ""));
    ASSERT_NE(drawable, nullptr);
    EXPECT_FALSE(drawable->visible);
    EXPECT_TRUE(drawable->restartOnShow);
    EXPECT_EQ(drawable->layer, 4);

    drawable->setAlpha(1.7f);
    EXPECT_EQ(drawable->alpha, 1.0f);
    drawable->setAlpha(-0.2f);
    EXPECT_EQ(drawable->alpha, -0.2f);

    drawable->setVisible(true);
    EXPECT_TRUE(drawable->visible);
    EXPECT_FALSE(drawable->wasVisible);
    drawable->setVisible(true);
    EXPECT_TRUE(drawable->wasVisible);
}

TEST(Drawable, FactoryKnowsThePlaceholderKindsAndAppliesTheSuffix)
{
    struct Case {
        const char* type;
        const char* suffix;
        bool made;
        const char* table;
    };
    const Case cases[] = {
        {"Sprite", "_G", true, "plain_G"},
        {"AnimSprite", "", true, "plain"},
        {"Scene", "_G", true, "plain"},
        {"sprite", "_G", false, ""},
        {"", "", false, ""},
    };
    for (const Case& c : cases) {
        SCOPED_TRACE(c.type);
        std::unique_ptr<Drawable> drawable(createDrawable(c.type, "res", "plain", 2, c.suffix));
        ASSERT_EQ(drawable != nullptr, c.made);
        if (!drawable)
            continue;
        auto* placeholder = dynamic_cast<PlaceholderDrawable*>(drawable.get());
        ASSERT_NE(placeholder, nullptr);
        EXPECT_EQ(placeholder->table, c.table);
        // Ends after its first update, and its clone starts afresh.
        EXPECT_TRUE(drawable->isAlive());
        drawable->update(0.016f);
        EXPECT_FALSE(drawable->isAlive());
        std::unique_ptr<Drawable> copy(drawable->clone());
        EXPECT_TRUE(copy->isAlive());
        EXPECT_EQ(copy->layer, 2);
    }
}

TEST(Drawable, GroupAppliesToEveryElement)
{
    DrawablesGroup group;
    group.add(createDrawable("Sprite", "a", "b", 0, ""));
    group.add(createDrawable("Scene", "a", "b", 1, ""));
    group.setVisible(true);
    group.setAlpha(0.25f);
    group.setRestartOnShow(false);
    for (const Drawable* drawable : group.objects) {
        EXPECT_TRUE(drawable->visible);
        EXPECT_EQ(drawable->alpha, 0.25f);
        EXPECT_FALSE(drawable->restartOnShow);
    }
    DrawablesGroup copy(group);
    ASSERT_EQ(copy.size(), 2u);
    EXPECT_EQ(copy.objects.back()->layer, 1);
}

}  // namespace
