#include "gui/text/Font.h"
#include "gui/text/LanguageTags.h"
#include "gui/text/TextDrawer.h"
#include "gui/text/TextEngine.h"

#include <cairo.h>
#include <gtest/gtest.h>
#include <pango/pangocairo.h>

#include <string>

namespace {

using s::gui::rgb;
using s::gui::drawer::TextSizes;
using s::gui::drawer::text::win::Basic;
using s::gui::text::Extent;
using s::gui::text::Flow;
using s::gui::text::TextEngine;
using s::gui::win::Font;
using s::platform::Rect;

struct EffectCase {
    int effect;
    int extraWidth;
    int extraHeight;
};

class EffectMeasureTest : public ::testing::TestWithParam<EffectCase> {};

TEST_P(EffectMeasureTest, AddsToTheExtent)
{
    Basic drawer;
    Font plain;
    Font withEffect;
    withEffect.setEffect(GetParam().effect);
    const TextSizes a = drawer.measure("Hello World", plain);
    const TextSizes b = drawer.measure("Hello World", withEffect);
    EXPECT_EQ(b.minWidth - a.minWidth, GetParam().extraWidth);
    EXPECT_EQ(b.prefWidth - a.prefWidth, GetParam().extraWidth);
    EXPECT_EQ(b.minHeight - a.minHeight, GetParam().extraHeight);
    EXPECT_EQ(b.prefHeight - a.prefHeight, GetParam().extraHeight);
}

INSTANTIATE_TEST_SUITE_P(Effects, EffectMeasureTest,
                         ::testing::Values(EffectCase{0, 0, 0}, EffectCase{1, 2, 1}, EffectCase{2, 1, 1},
                                           EffectCase{3, 2, 1}, EffectCase{4, 0, 1}, EffectCase{5, 2, 1},
                                           EffectCase{6, 0, 1}, EffectCase{7, 2, 1}, EffectCase{8, 0, 0}));

TEST(TextMeasureTest, EllipsisAndWordWrapSetTheMinimumWidth)
{
    Basic drawer;
    Font single;
    const TextSizes line = drawer.measure("alpha beta gammadelta", single);
    EXPECT_EQ(line.minWidth, line.prefWidth);
    EXPECT_GT(line.minHeight, 0);

    Font ellipsis;
    ellipsis.setEndEllipsis(true);
    EXPECT_EQ(drawer.measure("alpha beta gammadelta", ellipsis).minWidth, 1);

    Font wrap;
    wrap.setWordWrap(true);
    const TextSizes wrapped = drawer.measure("alpha beta gammadelta", wrap);
    const int widestWord = drawer.measure("gammadelta", single).prefWidth;
    EXPECT_EQ(wrapped.minWidth, widestWord);
    EXPECT_EQ(wrapped.prefWidth, line.prefWidth);
    EXPECT_EQ(wrapped.minHeight, line.minHeight);

    const Extent narrow = drawer.measureWrapped("alpha beta gammadelta", wrap, widestWord);
    EXPECT_LE(narrow.width, widestWord);
    EXPECT_GE(narrow.height, 2 * line.minHeight);
}

// Paints a text with an effect on grey and counts the colours that appear.
struct Painted {
    int text = 0;
    int black = 0;
    int white = 0;
};

Painted paintWith(int effect, std::uint32_t textRgb)
{
    cairo_surface_t* surface = cairo_image_surface_create(CAIRO_FORMAT_RGB24, 120, 30);
    cairo_t* cr = cairo_create(surface);
    cairo_set_source_rgb(cr, 0.5, 0.5, 0.5);
    cairo_paint(cr);
    Font font;
    font.setSizeCode(105);
    font.setTextColour(s::gui::fromRgbHex(textRgb));
    font.setEffect(effect);
    Basic().draw(cr, "HHH", font, Rect::fromSize(0, 0, 120, 30));
    cairo_destroy(cr);
    cairo_surface_flush(surface);
    Painted counts;
    const auto* data = cairo_image_surface_get_data(surface);
    const int stride = cairo_image_surface_get_stride(surface);
    for (int y = 0; y < 30; ++y) {
        for (int x = 0; x < 120; ++x) {
            const std::uint32_t p = *reinterpret_cast<const std::uint32_t*>(data + y * stride + x * 4) & 0xFFFFFF;
            counts.text += p == textRgb;
            counts.black += p == 0x000000;
            counts.white += p == 0xFFFFFF;
        }
    }
    cairo_surface_destroy(surface);
    return counts;
}

TEST(TextDrawTest, EffectsDrawTheirColoursAroundTheText)
{
    const Painted none = paintWith(0, 0xFF0000);
    EXPECT_GT(none.text, 20);
    EXPECT_EQ(none.black, 0);
    EXPECT_EQ(none.white, 0);
    const Painted engraved = paintWith(3, 0xFF0000);
    EXPECT_GT(engraved.text, 20);
    EXPECT_GT(engraved.black, 5);
    EXPECT_GT(engraved.white, 5);
    const Painted shadowOfBlack = paintWith(2, 0x000000);
    EXPECT_GT(shadowOfBlack.text, 20);
    EXPECT_EQ(shadowOfBlack.white, 0) << "a black text's shadow is EEEEEE";
}

struct ScriptCase {
    const char* name;
    const char* language;
    const char* text;
    bool rightToLeft;
};

class ScriptTest : public ::testing::TestWithParam<ScriptCase> {
protected:
    void TearDown() override { s::gui::text::setUserInterfaceLanguage("en"); }
};

TEST_P(ScriptTest, EveryScriptOfThePackIsShapedWithGlyphs)
{
    const ScriptCase& c = GetParam();
    s::gui::text::setUserInterfaceLanguage(c.language);
    Font font;
    PangoLayout* layout = TextEngine::forThisThread().layout(c.text, font, Flow::SingleLine, 0);
    EXPECT_STREQ(reinterpret_cast<const char*>(pango_context_get_language(pango_layout_get_context(layout))), c.language);
    EXPECT_EQ(pango_layout_get_unknown_glyphs_count(layout), 0) << "a font of the system has every character";
    const Extent e = TextEngine::forThisThread().measure(c.text, font, Flow::SingleLine, 0);
    EXPECT_GT(e.width, 10);
    EXPECT_GT(e.height, 5);
    const PangoDirection direction = pango_layout_get_direction(layout, 0);
    EXPECT_EQ(direction == PANGO_DIRECTION_RTL, c.rightToLeft);
}

INSTANTIATE_TEST_SUITE_P(Scripts, ScriptTest,
                         ::testing::Values(ScriptCase{"Chinese", "zh-cn", "文件更改监视", false},
                                           ScriptCase{"Japanese", "ja", "ファイルの変更", false},
                                           ScriptCase{"Korean", "ko", "파일 변경", false},
                                           ScriptCase{"Arabic", "ar", "تغيير الملف", true},
                                           ScriptCase{"Persian", "fa", "تغییر پرونده", true},
                                           ScriptCase{"Russian", "ru", "Изменение файла", false},
                                           ScriptCase{"Greek", "el", "Αλλαγή αρχείου", false},
                                           ScriptCase{"Vietnamese", "vi", "Thay đổi tệp", false}),
                         [](const auto& test) { return std::string(test.param.name); });

TEST(TextEngineTest, BadTextsAreLaidOutSafely)
{
    Font font;
    TextEngine& engine = TextEngine::forThisThread();
    std::string huge;
    while (huge.size() < 100'000)
        huge += "word ";
    const Extent line = engine.measure(huge, font, Flow::SingleLine, 0);
    EXPECT_GT(line.width, 1000);
    EXPECT_LT(line.width, 1 << 20) << "laid out from its first characters";
    const Extent wrapped = engine.measure(huge, font, Flow::Wrap, 300);
    EXPECT_GT(wrapped.height, line.height);

    const Extent broken = engine.measure(std::string("ab\xff\xfe" "cd\xc3", 7), font, Flow::SingleLine, 0);
    EXPECT_GT(broken.width, 0) << "bad bytes are shown as replacement characters";

    Font missing;
    missing.setFace("No Such Face Anywhere");
    EXPECT_GT(engine.measure("Fallback", missing, Flow::SingleLine, 0).width, 10);
    EXPECT_EQ(engine.measure("", font, Flow::Ellipsis, -40).width, 0);
}

TEST(TextEngineTest, LayoutsAreCachedAndTheOldestGoFirst)
{
    TextEngine& engine = TextEngine::forThisThread();
    engine.clearCache();
    Font font;
    PangoLayout* first = engine.layout("cached", font, Flow::SingleLine, 0);
    EXPECT_EQ(engine.layout("cached", font, Flow::SingleLine, 0), first);
    Font bold;
    bold.setBold(true);
    EXPECT_NE(engine.layout("cached", bold, Flow::SingleLine, 0), first);
    EXPECT_EQ(engine.cachedLayouts(), 2u);
    for (std::size_t i = 0; i < TextEngine::kCacheCapacity + 50; ++i)
        engine.layout("text " + std::to_string(i), font, Flow::SingleLine, 0);
    EXPECT_EQ(engine.cachedLayouts(), TextEngine::kCacheCapacity);

    s::gui::text::setUserInterfaceLanguage("fa");
    engine.layout("after", font, Flow::SingleLine, 0);
    EXPECT_EQ(engine.cachedLayouts(), 1u) << "a new language shapes anew";
    s::gui::text::setUserInterfaceLanguage("en");

    engine.setCacheEnabled(false);
    const Extent uncached = engine.measure("cached", font, Flow::SingleLine, 0);
    EXPECT_EQ(engine.cachedLayouts(), 0u);
    engine.setCacheEnabled(true);
    EXPECT_EQ(engine.measure("cached", font, Flow::SingleLine, 0), uncached);
}

TEST(LanguageTagsTest, PackTagsMapToLanguageTags)
{
    const std::pair<const char*, const char*> cases[] = {
        {"eng", "en"}, {"zhs", "zh-CN"}, {"zht", "zh-TW"}, {"per", "fa"},  {"ara", "ar"},      {"bra", "pt-BR"},
        {"cpn", "sr-Cyrl"}, {"srp", "sr-Latn"}, {"cze", "cs"}, {"rom", "ro"}, {"vec", "vec"}, {"xyz", "en"}, {"", "en"},
    };
    for (const auto& [pack, tag] : cases)
        EXPECT_EQ(s::gui::text::languageTagForPack(pack), tag) << pack;
}

}  // namespace
