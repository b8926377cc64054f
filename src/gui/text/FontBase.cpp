#include "gui/text/FontBase.h"

#include "gui/text/TextEngine.h"

#include <algorithm>
#include <cmath>
#include <cstdlib>

namespace s::gui::win {

namespace {

// The first max characters of a UTF-8 text, never cutting one in half.
std::string firstCharacters(std::string_view text, std::size_t max)
{
    std::size_t count = 0;
    std::size_t i = 0;
    while (i < text.size() && count < max) {
        ++i;
        while (i < text.size() && (static_cast<unsigned char>(text[i]) & 0xC0) == 0x80)
            ++i;
        ++count;
    }
    return std::string(text.substr(0, i));
}

int heightForPoints(int points)
{
    const double pixels = std::round(points * text::resolution() / 72.0);
    return -static_cast<int>(std::clamp(pixels, 1.0, static_cast<double>(FontBase::kMaxPixelHeight)));
}

}  // namespace

void FontBase::setSizeCode(int code)
{
    const int magnitude = std::abs(code);
    int points = 0;
    int weight = kNormalWeight;
    if (magnitude < 100) {
        points = code + 10;
    } else if (magnitude < 1000) {
        points = code % 100 + 14;
        weight = kBoldWeight;
    } else if (code == 100001) {
        points = 8;
    } else {
        return;
    }
    m_sizeCode = code;
    mark(kSizeCode);
    if (!isExplicit(kWeight))
        m_weight = weight;
    applyPointSize(points);
    propertiesChanged();
}

void FontBase::applyPointSize(int points)
{
    if (isExplicit(kHeight))
        return;
    m_height = heightForPoints(std::max(points, 1));
    m_width = 0;
}

void FontBase::setFace(std::string_view face)
{
    m_face = face.empty() ? std::string(kDefaultFace) : firstCharacters(face, kMaxFaceCharacters);
    mark(kFace);
    propertiesChanged();
}

void FontBase::setTextColour(Colour colour)
{
    m_textColour = colour & 0xFFFFFF;
    mark(kTextColour);
    propertiesChanged();
}

void FontBase::setEffectColour1(Colour colour)
{
    m_effectColour1 = colour & 0xFFFFFF;
    mark(kEffectColour1);
    propertiesChanged();
}

void FontBase::setEffectColour2(Colour colour)
{
    m_effectColour2 = colour & 0xFFFFFF;
    mark(kEffectColour2);
    propertiesChanged();
}

void FontBase::setPointSize(int points)
{
    m_height = heightForPoints(std::max(points, 1));
    m_width = 0;
    mark(kHeight);
    propertiesChanged();
}

int FontBase::getPointSize() const
{
    return static_cast<int>(std::lround(pixelSize() * 72.0 / text::resolution()));
}

void FontBase::setHeight(int height)
{
    m_height = std::clamp(height, -kMaxPixelHeight, kMaxPixelHeight);
    mark(kHeight);
    propertiesChanged();
}

void FontBase::setWidth(int width)
{
    m_width = std::clamp(width, 0, kMaxPixelHeight);
    mark(kWidth);
    propertiesChanged();
}

void FontBase::setWeight(int weight)
{
    m_weight = std::clamp(weight, 1, 1000);
    mark(kWeight);
    propertiesChanged();
}

void FontBase::setItalic(bool on)
{
    m_italic = on;
    mark(kItalic);
    propertiesChanged();
}

void FontBase::setUnderline(bool on)
{
    m_underline = on;
    mark(kUnderline);
    propertiesChanged();
}

void FontBase::setStrikeOut(bool on)
{
    m_strikeOut = on;
    mark(kStrikeOut);
    propertiesChanged();
}

void FontBase::setWordWrap(bool on)
{
    m_wordWrap = on;
    mark(kWordWrap);
    propertiesChanged();
}

void FontBase::setEndEllipsis(bool on)
{
    m_endEllipsis = on;
    mark(kEndEllipsis);
    propertiesChanged();
}

void FontBase::setEffect(int effect)
{
    m_effect = effect >= 0 && effect <= 7 ? effect : 0;
    mark(kEffect);
    propertiesChanged();
}

void FontBase::setQuality(int quality)
{
    m_quality = quality;
    mark(kQuality);
    propertiesChanged();
}

void FontBase::inheritFrom(const FontBase& source)
{
    if (!isExplicit(kFace))
        m_face = source.m_face;
    if (!isExplicit(kSizeCode))
        m_sizeCode = source.m_sizeCode;
    if (!isExplicit(kHeight) && !isExplicit(kWidth) && !isExplicit(kSizeCode)) {
        m_height = source.m_height;
        m_width = source.m_width;
    }
    if (!isExplicit(kWeight) && !isExplicit(kSizeCode))
        m_weight = source.m_weight;
    if (!isExplicit(kItalic))
        m_italic = source.m_italic;
    if (!isExplicit(kUnderline))
        m_underline = source.m_underline;
    if (!isExplicit(kStrikeOut))
        m_strikeOut = source.m_strikeOut;
    if (!isExplicit(kCharSet))
        m_charSet = source.m_charSet;
    if (!isExplicit(kOutPrecision))
        m_outPrecision = source.m_outPrecision;
    if (!isExplicit(kClipPrecision))
        m_clipPrecision = source.m_clipPrecision;
    if (!isExplicit(kQuality))
        m_quality = source.m_quality;
    if (!isExplicit(kPitchAndFamily))
        m_pitchAndFamily = source.m_pitchAndFamily;
    if (!isExplicit(kTextColour))
        m_textColour = source.m_textColour;
    if (!isExplicit(kEffectColour1))
        m_effectColour1 = source.m_effectColour1;
    if (!isExplicit(kEffectColour2))
        m_effectColour2 = source.m_effectColour2;
    if (!isExplicit(kWordWrap))
        m_wordWrap = source.m_wordWrap;
    if (!isExplicit(kEndEllipsis))
        m_endEllipsis = source.m_endEllipsis;
    if (!isExplicit(kEffect))
        m_effect = source.m_effect;
    propertiesChanged();
}

void FontBase::assignFrom(const FontBase& other)
{
    FontBase::operator=(other);
    propertiesChanged();
}

void FontBase::resetProperties()
{
    FontBase::operator=(FontBase());
    propertiesChanged();
}

int FontBase::pixelSize() const
{
    return std::max(1, std::abs(m_height));
}

}  // namespace s::gui::win
