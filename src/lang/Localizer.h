#pragma once

#include "foundation/ClassPool.h"
#include "foundation/IEventListener.h"
#include "foundation/IObject.h"
#include "foundation/IPoolable.h"
#include "foundation/ListenerList.h"
#include "lang/LangPack.h"

#include <cstddef>
#include <cstdint>
#include <optional>
#include <string>
#include <string_view>
#include <vector>

namespace s::lang {

// The texts of every language of the pack and the current language. Texts are asked for by
// numeric identifier (lang/TextIds.h). Languages are named by their English name, compared
// ignoring ASCII case. Not locked: it is loaded, asked and switched on the user-interface thread.
class Localizer final : public base::IObject, public thread::IPoolable {
public:
    static constexpr int kPoolCapacity = 4;

    Localizer() = default;
    ~Localizer() override { reset(); }
    Localizer(const Localizer&) = delete;
    Localizer& operator=(const Localizer&) = delete;

    // Appends a language (taking ownership) to the list, which keeps pack order.
    void appendLanguage(LangPack* language);
    std::size_t getLanguageCount() const { return m_languages.size(); }
    // Null past the end.
    LangPack* getLanguage(std::size_t index) const;

    // The text of id in the current language (chosen first when none is yet), or the empty text
    // when that language has none. Never another language's text: the pack is completed at load.
    const std::string& getText(std::int32_t id);
    // The text of id in English: the current language when it is English, else the language named
    // "English", else the first one. For texts that must not follow the user's language.
    const std::string& getEnglishText(std::int32_t id) const;

    // The current language, chosen first when none is set: findLanguage(system language name),
    // else the first language. Null only when there are no languages.
    LangPack* getCurrentLanguage();
    // The position of the current language (chosen first when none is set); -1 without languages.
    int getCurrentLanguageIndex();

    // The first language whose English name equals name; otherwise, for a name of the Chinese,
    // Portuguese or Serbian family, that family's preferred member present in the pack; else null.
    LangPack* findLanguage(std::string_view name) const;

    // Makes the language of that name current (an unknown name gives English, else the first
    // language). The listeners are told when, and only when, the current language changes.
    void selectLanguageByName(std::string_view name);
    // Makes the language at index current; nothing happens when it already is or index is past
    // the end.
    void selectLanguageByIndex(std::size_t index);

    // Listeners are told onEvent(this, 0) on every change of the current language, in order,
    // before the select operation returns. Not owned.
    void addListener(gui::events::IEventListener* listener) { m_listeners.add(listener); }
    void removeListener(gui::events::IEventListener* listener) { m_listeners.remove(listener); }

    // The name the first choice of the current language starts from; systemLanguageName() unless
    // set here (tests and callers that know the user's language better).
    void setSystemLanguageName(std::string name) { m_systemLanguageName = std::move(name); }
    const std::string& getSystemLanguageName() const;

    const char* getClassName() const override { return "s_lang_Localizer"; }
    base::IObject* newInstance() const override { return thread::take<Localizer>(); }
    void recycle() override { thread::giveBack(this); }
    // Gives the languages back to their pool and forgets the listeners.
    void reset() override;

private:
    void makeCurrent(LangPack* language);
    LangPack* ensureCurrent();

    std::vector<LangPack*> m_languages;
    LangPack* m_current = nullptr;
    gui::events::ListenerList m_listeners;
    std::optional<std::string> m_systemLanguageName;
};

}  // namespace s::lang
