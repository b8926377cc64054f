#pragma once

#include "foundation/ClassPool.h"
#include "foundation/IObject.h"
#include "foundation/IPoolable.h"
#include "lang/MapTable.h"

#include <cstddef>
#include <cstdint>
#include <string>
#include <string_view>
#include <vector>

namespace s::lang {

// The texts of one language of the pack. Texts are kept in load order; nothing is sorted or
// de-duplicated, and a lookup finds the first text stored under an identifier or key.
class LangPack final : public base::IObject, public thread::IPoolable {
public:
    static constexpr int kPoolCapacity = 40;

    LangPack() = default;
    ~LangPack() override { reset(); }
    LangPack(const LangPack&) = delete;
    LangPack& operator=(const LangPack&) = delete;

    // The pack's "tagName", three lowercase letters such as "eng".
    const std::string& getTag() const { return m_tag; }
    // The pack's "engName", such as "Chinese_Simplified": how the language is selected and stored.
    const std::string& getEnglishName() const { return m_englishName; }
    // The pack's "trueName", shown in the Language menu.
    const std::string& getNativeName() const { return m_nativeName; }
    void setNames(std::string_view tag, std::string_view englishName, std::string_view nativeName);

    void appendText(std::int32_t id, std::string text);
    void appendKeyedText(std::string_view key, std::string text);

    // The first text stored under id, or the empty text. A linear scan: the pack has about a
    // hundred entries and lookups are rare (widgets fetch their texts when the language changes).
    const std::string& getText(std::int32_t id) const;
    bool hasText(std::int32_t id) const;
    // The first text stored under key, or null.
    const std::string* getKeyedText(std::string_view key) const;
    bool hasKeyedText(std::string_view key) const { return getKeyedText(key) != nullptr; }

    std::size_t getTextCount() const { return m_ids.size(); }
    // No bounds checks; callers stay below the count.
    std::int32_t getIdAt(std::size_t index) const { return m_ids[index]; }
    const std::string& getTextAt(std::size_t index) const { return m_texts[index]; }
    // The keys of the keyed texts in load order (a key stored twice appears twice).
    const std::vector<std::string>& getKeys() const { return m_keys; }

    const char* getClassName() const override { return "s_lang_LangPack"; }
    base::IObject* newInstance() const override { return thread::take<LangPack>(); }
    void recycle() override { thread::giveBack(this); }
    void reset() override;

private:
    std::string m_tag;
    std::string m_englishName;
    std::string m_nativeName;
    std::vector<std::int32_t> m_ids;
    std::vector<std::string> m_texts;
    std::vector<std::string> m_keys;
    // Taken from its pool with the first keyed text; the shipped pack has none.
    map::MapTable* m_keyed = nullptr;
};

}  // namespace s::lang
