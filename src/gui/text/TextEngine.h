#pragma once

#include "gui/text/FontBase.h"

#include <cstddef>
#include <memory>
#include <string>
#include <string_view>

typedef struct _PangoLayout PangoLayout;

namespace s::gui::text {

// Pixels per inch that point sizes are turned into pixels at; the first toolkit window sets it
// from its display. 96 until then.
void setResolution(double dpi);
double resolution();

// The language texts are shaped for (a BCP 47 tag such as "fa" or "zh-CN"): it picks the fonts
// of shared scripts (Han glyphs in Chinese or Japanese forms) and language-specific shaping.
// Process-wide; every thread's engine follows a change.
void setUserInterfaceLanguage(std::string_view tag);
std::string userInterfaceLanguage();

struct Extent {
    int width = 0;
    int height = 0;
    friend bool operator==(const Extent&, const Extent&) = default;
};

enum class Flow {
    SingleLine,  // one line, as long as the text
    Ellipsis,    // one line, ended by an ellipsis where it passes width
    Wrap,        // broken between words at width; a word wider than width keeps its own line
};

// Lays text out with Pango: font fallback per script through fontconfig, shaping, and the
// paragraph direction taken from the text itself (so right-to-left texts read right to left).
// One engine per thread (Pango's font maps are per thread); layouts are cached by text, font and
// flow, the least recently used one dropped first.
class TextEngine {
public:
    static constexpr std::size_t kCacheCapacity = 512;
    // Longer texts are laid out from their first this many characters and an ellipsis: no line
    // of a window shows more, and shaping time grows with the length.
    static constexpr std::size_t kMaxCharacters = 8192;

    static TextEngine& forThisThread();

    // Owned by the engine; valid until the next call on this engine.
    PangoLayout* layout(std::string_view text, const win::FontBase& font, Flow flow, int width);
    // The logical extent in pixels.
    Extent measure(std::string_view text, const win::FontBase& font, Flow flow, int width);

    // Off: every call shapes afresh (for measuring what the cache saves).
    void setCacheEnabled(bool on);
    bool isCacheEnabled() const;
    std::size_t cachedLayouts() const;
    void clearCache();

    ~TextEngine();
    TextEngine(const TextEngine&) = delete;
    TextEngine& operator=(const TextEngine&) = delete;

    struct Impl;

private:
    TextEngine();
    std::unique_ptr<Impl> m_impl;
};

}  // namespace s::gui::text
