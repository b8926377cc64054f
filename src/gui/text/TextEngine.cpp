#include "gui/text/TextEngine.h"

#include <glib.h>
#include <pango/pangocairo.h>

#include <algorithm>
#include <atomic>
#include <list>
#include <mutex>
#include <unordered_map>

namespace s::gui::text {

namespace {

std::atomic<double> g_resolution{96.0};

struct LanguageState {
    std::mutex lock;
    std::string tag = "en";
};

LanguageState& languageState()
{
    static LanguageState state;
    return state;
}

std::atomic<unsigned> g_languageGeneration{1};

// The text as Pango may take it: valid UTF-8 (bad bytes become U+FFFD), at most
// kMaxCharacters characters.
std::string prepared(std::string_view text)
{
    std::string out;
    const char* end = nullptr;
    if (g_utf8_validate(text.data(), static_cast<gssize>(text.size()), &end)) {
        out.assign(text);
    } else {
        gchar* valid = g_utf8_make_valid(text.data(), static_cast<gssize>(text.size()));
        out = valid;
        g_free(valid);
    }
    if (static_cast<std::size_t>(g_utf8_strlen(out.c_str(), static_cast<gssize>(out.size()))) > TextEngine::kMaxCharacters) {
        const char* cut = g_utf8_offset_to_pointer(out.c_str(), static_cast<glong>(TextEngine::kMaxCharacters));
        out.resize(static_cast<std::size_t>(cut - out.c_str()));
        out += "\u2026";
    }
    return out;
}

struct Key {
    std::string text;
    std::string face;
    int pixels = 0;
    int weight = 0;
    bool italic = false;
    bool underline = false;
    bool strikeOut = false;
    int quality = 0;
    Flow flow = Flow::SingleLine;
    int width = 0;
    friend bool operator==(const Key&, const Key&) = default;
};

struct KeyHash {
    std::size_t operator()(const Key& k) const
    {
        std::size_t h = std::hash<std::string>()(k.text);
        const auto mix = [&h](std::size_t v) { h ^= v + 0x9E3779B97F4A7C15ull + (h << 6) + (h >> 2); };
        mix(std::hash<std::string>()(k.face));
        mix(static_cast<std::size_t>(k.pixels));
        mix(static_cast<std::size_t>(k.weight));
        mix(static_cast<std::size_t>(k.italic) | static_cast<std::size_t>(k.underline) << 1 |
            static_cast<std::size_t>(k.strikeOut) << 2);
        mix(static_cast<std::size_t>(k.quality));
        mix(static_cast<std::size_t>(k.flow));
        mix(static_cast<std::size_t>(k.width));
        return h;
    }
};

enum class Smoothing { Desktop, Gray, None, Count };

Smoothing smoothingFor(int quality)
{
    switch (quality) {
    case win::FontBase::kNonAntialiasedQuality: return Smoothing::None;
    case win::FontBase::kAntialiasedQuality: return Smoothing::Gray;
    default: return Smoothing::Desktop;
    }
}

}  // namespace

void setResolution(double dpi)
{
    if (dpi >= 24.0 && dpi <= 960.0)
        g_resolution = dpi;
}

double resolution()
{
    return g_resolution.load();
}

void setUserInterfaceLanguage(std::string_view tag)
{
    LanguageState& state = languageState();
    std::lock_guard guard(state.lock);
    if (state.tag == tag)
        return;
    state.tag = std::string(tag);
    ++g_languageGeneration;
}

std::string userInterfaceLanguage()
{
    LanguageState& state = languageState();
    std::lock_guard guard(state.lock);
    return state.tag;
}

struct TextEngine::Impl {
    PangoFontMap* fontMap = nullptr;
    PangoContext* contexts[static_cast<int>(Smoothing::Count)] = {};
    unsigned languageGeneration = 0;
    double contextResolution = 0;
    bool cacheEnabled = true;
    PangoLayout* scratch = nullptr;

    struct Entry {
        const Key* key;
        PangoLayout* layout;
    };
    std::list<Entry> order;  // most recently used first
    std::unordered_map<Key, std::list<Entry>::iterator, KeyHash> entries;

    Impl()
    {
        // A font map of the engine's own: the default one is shared by every user of the thread.
        fontMap = pango_cairo_font_map_new();
        for (int i = 0; i < static_cast<int>(Smoothing::Count); ++i) {
            contexts[i] = pango_font_map_create_context(fontMap);
            cairo_font_options_t* options = cairo_font_options_create();
            if (i == static_cast<int>(Smoothing::Gray))
                cairo_font_options_set_antialias(options, CAIRO_ANTIALIAS_GRAY);
            else if (i == static_cast<int>(Smoothing::None))
                cairo_font_options_set_antialias(options, CAIRO_ANTIALIAS_NONE);
            pango_cairo_context_set_font_options(contexts[i], options);
            cairo_font_options_destroy(options);
        }
    }
    ~Impl()
    {
        clear();
        if (scratch != nullptr)
            g_object_unref(scratch);
        for (PangoContext* context : contexts)
            g_object_unref(context);
        g_object_unref(fontMap);
    }

    void clear()
    {
        for (Entry& entry : order)
            g_object_unref(entry.layout);
        order.clear();
        entries.clear();
    }

    // Brings the contexts in line with the process-wide resolution and language.
    void refresh()
    {
        const unsigned generation = g_languageGeneration.load();
        const double dpi = resolution();
        if (generation == languageGeneration && dpi == contextResolution)
            return;
        const std::string tag = userInterfaceLanguage();
        for (PangoContext* context : contexts) {
            pango_context_set_language(context, pango_language_from_string(tag.c_str()));
            pango_cairo_context_set_resolution(context, dpi);
            pango_context_changed(context);
        }
        languageGeneration = generation;
        contextResolution = dpi;
        clear();
    }

    PangoLayout* make(const Key& key)
    {
        PangoLayout* layout = pango_layout_new(contexts[static_cast<int>(smoothingFor(key.quality))]);
        PangoFontDescription* description = pango_font_description_new();
        pango_font_description_set_family(description, key.face.c_str());
        pango_font_description_set_absolute_size(description, static_cast<double>(key.pixels) * PANGO_SCALE);
        pango_font_description_set_weight(description, static_cast<PangoWeight>(key.weight));
        pango_font_description_set_style(description, key.italic ? PANGO_STYLE_ITALIC : PANGO_STYLE_NORMAL);
        pango_layout_set_font_description(layout, description);
        pango_font_description_free(description);
        if (key.underline || key.strikeOut) {
            PangoAttrList* attributes = pango_attr_list_new();
            if (key.underline)
                pango_attr_list_insert(attributes, pango_attr_underline_new(PANGO_UNDERLINE_SINGLE));
            if (key.strikeOut)
                pango_attr_list_insert(attributes, pango_attr_strikethrough_new(TRUE));
            pango_layout_set_attributes(layout, attributes);
            pango_attr_list_unref(attributes);
        }
        pango_layout_set_single_paragraph_mode(layout, key.flow != Flow::Wrap);
        switch (key.flow) {
        case Flow::SingleLine:
            break;
        case Flow::Ellipsis:
            pango_layout_set_width(layout, key.width * PANGO_SCALE);
            pango_layout_set_ellipsize(layout, PANGO_ELLIPSIZE_END);
            break;
        case Flow::Wrap:
            pango_layout_set_width(layout, key.width * PANGO_SCALE);
            pango_layout_set_wrap(layout, PANGO_WRAP_WORD);
            break;
        }
        pango_layout_set_text(layout, key.text.data(), static_cast<int>(key.text.size()));
        return layout;
    }
};

TextEngine& TextEngine::forThisThread()
{
    thread_local TextEngine engine;
    return engine;
}

TextEngine::TextEngine() : m_impl(std::make_unique<Impl>()) {}

TextEngine::~TextEngine() = default;

PangoLayout* TextEngine::layout(std::string_view text, const win::FontBase& font, Flow flow, int width)
{
    Impl& impl = *m_impl;
    impl.refresh();
    Key key;
    key.text = prepared(text);
    key.face = font.getFace();
    key.pixels = font.pixelSize();
    key.weight = font.getWeight();
    key.italic = font.isItalic();
    key.underline = font.isUnderline();
    key.strikeOut = font.isStrikeOut();
    key.quality = font.getQuality();
    key.flow = flow;
    // Widths past what Pango's units can hold mean "no limit" in practice.
    key.width = flow == Flow::SingleLine ? 0 : std::clamp(width, 0, 1 << 20);

    if (!impl.cacheEnabled) {
        if (impl.scratch != nullptr)
            g_object_unref(impl.scratch);
        impl.scratch = impl.make(key);
        return impl.scratch;
    }
    if (auto found = impl.entries.find(key); found != impl.entries.end()) {
        impl.order.splice(impl.order.begin(), impl.order, found->second);
        return found->second->layout;
    }
    if (impl.entries.size() >= kCacheCapacity) {
        Impl::Entry oldest = impl.order.back();
        impl.order.pop_back();
        g_object_unref(oldest.layout);
        impl.entries.erase(*oldest.key);
    }
    PangoLayout* made = impl.make(key);
    impl.order.push_front({nullptr, made});
    auto inserted = impl.entries.emplace(std::move(key), impl.order.begin()).first;
    impl.order.front().key = &inserted->first;
    return made;
}

Extent TextEngine::measure(std::string_view text, const win::FontBase& font, Flow flow, int width)
{
    PangoRectangle logical{};
    pango_layout_get_pixel_extents(layout(text, font, flow, width), nullptr, &logical);
    return {logical.width, logical.height};
}

void TextEngine::setCacheEnabled(bool on)
{
    m_impl->cacheEnabled = on;
    if (!on)
        m_impl->clear();
}

bool TextEngine::isCacheEnabled() const
{
    return m_impl->cacheEnabled;
}

std::size_t TextEngine::cachedLayouts() const
{
    return m_impl->entries.size();
}

void TextEngine::clearCache()
{
    m_impl->clear();
}

}  // namespace s::gui::text
