#pragma once

#include "gui/base/Colour.h"

#include <cstdint>
#include <string>
#include <string_view>

namespace s::gui::win {

// The properties a font object carries (the system's logical font plus the toolkit's text
// colour, effect and wrapping), each with a flag telling whether it was set explicitly, so that
// an object can inherit what it did not set from another one (a widget's fonts from its drawer's).
class FontBase {
public:
    enum Property : std::uint32_t {
        kFace = 1u << 0,
        kHeight = 1u << 1,
        kWidth = 1u << 2,
        kWeight = 1u << 3,
        kItalic = 1u << 4,
        kUnderline = 1u << 5,
        kStrikeOut = 1u << 6,
        kCharSet = 1u << 7,
        kOutPrecision = 1u << 8,
        kClipPrecision = 1u << 9,
        kQuality = 1u << 10,
        kPitchAndFamily = 1u << 11,
        kSizeCode = 1u << 12,
        kTextColour = 1u << 13,
        kEffectColour1 = 1u << 14,
        kEffectColour2 = 1u << 15,
        kWordWrap = 1u << 16,
        kEndEllipsis = 1u << 17,
        kEffect = 1u << 18,
    };

    // The face the desktop calls its sans-serif font; fontconfig resolves it per script.
    static constexpr std::string_view kDefaultFace = "Sans";
    // A logical font's face holds at most 31 characters.
    static constexpr std::size_t kMaxFaceCharacters = 31;
    // Heights beyond this many pixels are cut down to it (glyphs that large are never useful and
    // cost their size in memory when rasterised).
    static constexpr int kMaxPixelHeight = 1024;
    static constexpr int kBoldWeight = 700;
    static constexpr int kNormalWeight = 400;
    // Quality values: ClearType on, off (no antialiasing), and plain antialiasing.
    static constexpr int kClearTypeQuality = 5;
    static constexpr int kNonAntialiasedQuality = 3;
    static constexpr int kAntialiasedQuality = 4;

    FontBase() = default;
    virtual ~FontBase() = default;
    FontBase(const FontBase&) = default;
    FontBase& operator=(const FontBase&) = default;

    // Size codes: |code| below 100 is a regular font of code + 10 points; 100 to 999 a bold font
    // of (code remainder 100) + 14 points; 100001 a regular 8-point font; others change nothing.
    // The weight follows only when bold was not set explicitly, the height only when the height
    // was not.
    void setSizeCode(int code);
    int getSizeCode() const { return m_sizeCode; }
    // Whether any property was set explicitly.
    bool isCustomized() const { return m_explicit != 0; }
    bool isExplicit(Property property) const { return (m_explicit & property) != 0; }

    void setFace(std::string_view face);
    const std::string& getFace() const { return m_face; }
    void setTextColour(Colour colour);
    Colour getTextColour() const { return m_textColour; }
    void setEffectColour1(Colour colour);
    Colour getEffectColour1() const { return m_effectColour1; }
    void setEffectColour2(Colour colour);
    Colour getEffectColour2() const { return m_effectColour2; }
    // Points at the current text resolution; sets the height.
    void setPointSize(int points);
    int getPointSize() const;
    // Logical-font height: negative is the character height in pixels, positive the cell height.
    void setHeight(int height);
    int getHeight() const { return m_height; }
    void setWidth(int width);
    int getWidth() const { return m_width; }
    void setBold(bool bold) { setWeight(bold ? kBoldWeight : kNormalWeight); }
    bool isBold() const { return m_weight >= 500; }
    void setWeight(int weight);
    int getWeight() const { return m_weight; }
    void setItalic(bool on);
    bool isItalic() const { return m_italic; }
    void setUnderline(bool on);
    bool isUnderline() const { return m_underline; }
    void setStrikeOut(bool on);
    bool isStrikeOut() const { return m_strikeOut; }
    void setWordWrap(bool on);
    bool isWordWrap() const { return m_wordWrap; }
    void setEndEllipsis(bool on);
    bool isEndEllipsis() const { return m_endEllipsis; }
    // Text effects 0 (none) to 7; other values draw as 0.
    void setEffect(int effect);
    int getEffect() const { return m_effect; }
    void setClearType(bool on) { setQuality(on ? kClearTypeQuality : kNonAntialiasedQuality); }
    bool isClearType() const { return m_quality == kClearTypeQuality; }
    void setQuality(int quality);
    int getQuality() const { return m_quality; }
    int getCharSet() const { return m_charSet; }
    int getOutPrecision() const { return m_outPrecision; }
    int getClipPrecision() const { return m_clipPrecision; }
    int getPitchAndFamily() const { return m_pitchAndFamily; }

    // Copies every property not set explicitly here from source. Bold and weight travel
    // together, and so do height and width; neither is taken while a size code was set here,
    // so a widget's own size survives its drawer's settings.
    void inheritFrom(const FontBase& source);
    // Takes every property and flag of other.
    void assignFrom(const FontBase& other);
    // The values and flags of a fresh font.
    void resetProperties();

    // The pixel size a text engine lays the font out at (the character height).
    int pixelSize() const;

protected:
    // After any change of a property.
    virtual void propertiesChanged() {}

private:
    void mark(Property property) { m_explicit |= property; }
    void applyPointSize(int points);

    std::string m_face{kDefaultFace};
    int m_height = -13;
    int m_width = 0;
    int m_weight = kNormalWeight;
    bool m_italic = false;
    bool m_underline = false;
    bool m_strikeOut = false;
    int m_charSet = 1;
    int m_outPrecision = 1;
    int m_clipPrecision = 2;
    int m_quality = kClearTypeQuality;
    int m_pitchAndFamily = 2;
    int m_sizeCode = 0;
    Colour m_textColour = 0x000000;
    Colour m_effectColour1 = rgb(0xEE, 0xEE, 0xEE);
    Colour m_effectColour2 = rgb(0xEE, 0xEE, 0xEE);
    bool m_wordWrap = false;
    bool m_endEllipsis = false;
    int m_effect = 0;
    std::uint32_t m_explicit = 0;
};

}  // namespace s::gui::win
