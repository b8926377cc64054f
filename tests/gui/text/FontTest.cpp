#include "gui/text/Font.h"
#include "gui/text/FontSetting.h"
#include "gui/text/TextEngine.h"

#include <gtest/gtest.h>

#include <cmath>

namespace {

using s::gui::rgb;
using s::gui::win::Font;
using s::gui::win::FontBase;
using s::gui::win::FontSetting;

struct SizeCodeCase {
    int code;
    int points;
    bool bold;
};

class SizeCodeTest : public ::testing::TestWithParam<SizeCodeCase> {
protected:
    void SetUp() override { s::gui::text::setResolution(96); }
};

TEST_P(SizeCodeTest, GivesPointsAndWeight)
{
    const SizeCodeCase& c = GetParam();
    Font font;
    font.setSizeCode(c.code);
    EXPECT_EQ(font.getSizeCode(), c.code);
    EXPECT_EQ(font.getPointSize(), c.points);
    EXPECT_EQ(font.isBold(), c.bold);
    EXPECT_EQ(font.getWeight(), c.bold ? 700 : 400);
    EXPECT_EQ(font.getHeight(), -static_cast<int>(std::lround(c.points * 96 / 72.0)));
}

INSTANTIATE_TEST_SUITE_P(Codes, SizeCodeTest,
                         ::testing::Values(SizeCodeCase{0, 10, false}, SizeCodeCase{-2, 8, false},
                                           SizeCodeCase{2, 12, false}, SizeCodeCase{99, 109, false},
                                           SizeCodeCase{100, 14, true}, SizeCodeCase{-104, 10, true},
                                           SizeCodeCase{105, 19, true}, SizeCodeCase{100001, 8, false}));

TEST(FontTest, OtherLargeCodesChangeNothing)
{
    for (int code : {1000, -1000, 5555, 100000, 100002}) {
        Font font;
        font.setSizeCode(-104);
        font.setSizeCode(code);
        EXPECT_EQ(font.getSizeCode(), -104) << code;
        EXPECT_EQ(font.getHeight(), -13) << code;
        EXPECT_TRUE(font.isBold()) << code;
    }
}

TEST(FontTest, ExplicitBoldAndHeightSurviveASizeCode)
{
    s::gui::text::setResolution(96);
    Font font;
    font.setBold(true);
    font.setHeight(-20);
    font.setSizeCode(-2);
    EXPECT_TRUE(font.isBold());
    EXPECT_EQ(font.getHeight(), -20);

    Font tiny;
    tiny.setSizeCode(-50);  // would be -40 points
    EXPECT_LT(tiny.getHeight(), 0);
    EXPECT_GE(tiny.pixelSize(), 1);
    tiny.setHeight(1'000'000);
    EXPECT_EQ(tiny.getHeight(), FontBase::kMaxPixelHeight);
}

TEST(FontTest, ResetValues)
{
    Font font;
    EXPECT_FALSE(font.isCustomized());
    EXPECT_EQ(font.getFace(), "Sans");
    EXPECT_EQ(font.getHeight(), -13);
    EXPECT_EQ(font.getWeight(), 400);
    EXPECT_EQ(font.getCharSet(), 1);
    EXPECT_EQ(font.getOutPrecision(), 1);
    EXPECT_EQ(font.getClipPrecision(), 2);
    EXPECT_EQ(font.getQuality(), 5);
    EXPECT_TRUE(font.isClearType());
    EXPECT_EQ(font.getPitchAndFamily(), 2);
    EXPECT_EQ(font.getTextColour(), rgb(0, 0, 0));
    EXPECT_EQ(font.getEffectColour1(), rgb(0xEE, 0xEE, 0xEE));
    EXPECT_EQ(font.getEffect(), 0);
    font.setClearType(false);
    EXPECT_EQ(font.getQuality(), 3);
    EXPECT_TRUE(font.isCustomized());
}

TEST(FontTest, InheritsOnlyWhatItDidNotSet)
{
    FontSetting source;
    source.setFace("DejaVu Serif");
    source.setTextColour(rgb(1, 2, 3));
    source.setUnderline(true);
    source.setBold(true);
    source.setHeight(-30);
    source.setClearType(false);

    Font own;
    own.setTextColour(rgb(9, 9, 9));
    own.setSizeCode(-2);
    own.inheritFrom(source);
    EXPECT_EQ(own.getFace(), "DejaVu Serif");
    EXPECT_TRUE(own.isUnderline());
    EXPECT_EQ(own.getTextColour(), rgb(9, 9, 9)) << "set here";
    EXPECT_FALSE(own.isBold()) << "the size code decided the weight";
    EXPECT_EQ(own.getPointSize(), 8) << "and the height";
    EXPECT_EQ(own.getQuality(), 3);
    EXPECT_FALSE(own.isExplicit(FontBase::kFace)) << "inherited values stay inherited";

    Font plain;
    plain.inheritFrom(source);
    EXPECT_TRUE(plain.isBold());
    EXPECT_EQ(plain.getHeight(), -30);

    // The next source replaces everything inherited from the first.
    FontSetting other;
    other.setTextColour(rgb(4, 5, 6));
    plain.inheritFrom(other);
    EXPECT_EQ(plain.getTextColour(), rgb(4, 5, 6));
    EXPECT_EQ(plain.getFace(), "Sans");

    Font* made = source.makeFont();
    EXPECT_EQ(made->getFace(), "DejaVu Serif");
    EXPECT_TRUE(made->isExplicit(FontBase::kFace));
    made->recycle();
}

TEST(FontTest, AFaceKeepsItsFirst31Characters)
{
    Font font;
    font.setFace("ABCDEFGHIJKLMNOPQRSTUVWXYZabcdefghij");
    EXPECT_EQ(font.getFace(), "ABCDEFGHIJKLMNOPQRSTUVWXYZabcde");
    font.setFace("\u00e9\u00e9\u00e9\u00e9\u00e9\u00e9\u00e9\u00e9\u00e9\u00e9\u00e9\u00e9\u00e9\u00e9\u00e9\u00e9"
                 "\u00e9\u00e9\u00e9\u00e9\u00e9\u00e9\u00e9\u00e9\u00e9\u00e9\u00e9\u00e9\u00e9\u00e9\u00e9\u00e9");
    EXPECT_EQ(font.getFace().size(), 62u) << "31 characters of two bytes, none cut";
    font.setFace("");
    EXPECT_EQ(font.getFace(), "Sans");
}

TEST(FontTest, LineHeightFollowsTheSize)
{
    Font small;
    small.setSizeCode(-2);
    Font large;
    large.setSizeCode(100);
    EXPECT_GT(small.getLineHeight(), 5);
    EXPECT_GT(large.getLineHeight(), small.getLineHeight());
}

}  // namespace
