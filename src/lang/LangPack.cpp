#include "lang/LangPack.h"

#include <algorithm>

namespace s::lang {

namespace {

const std::string kEmptyText;

}  // namespace

void LangPack::setNames(std::string_view tag, std::string_view englishName, std::string_view nativeName)
{
    m_tag.assign(tag);
    m_englishName.assign(englishName);
    m_nativeName.assign(nativeName);
}

void LangPack::appendText(std::int32_t id, std::string text)
{
    m_ids.push_back(id);
    m_texts.push_back(std::move(text));
}

void LangPack::appendKeyedText(std::string_view key, std::string text)
{
    if (m_keyed == nullptr)
        m_keyed = thread::take<map::MapTable>();
    m_keys.emplace_back(key);
    m_keyed->putIfAbsent(key, text);
}

const std::string& LangPack::getText(std::int32_t id) const
{
    auto found = std::find(m_ids.begin(), m_ids.end(), id);
    return found == m_ids.end() ? kEmptyText : m_texts[static_cast<std::size_t>(found - m_ids.begin())];
}

bool LangPack::hasText(std::int32_t id) const
{
    return std::find(m_ids.begin(), m_ids.end(), id) != m_ids.end();
}

const std::string* LangPack::getKeyedText(std::string_view key) const
{
    return m_keyed == nullptr ? nullptr : m_keyed->get(key);
}

void LangPack::reset()
{
    m_tag.clear();
    m_englishName.clear();
    m_nativeName.clear();
    m_ids.clear();
    m_texts.clear();
    m_keys.clear();
    if (m_keyed != nullptr) {
        m_keyed->recycle();
        m_keyed = nullptr;
    }
}

}  // namespace s::lang
