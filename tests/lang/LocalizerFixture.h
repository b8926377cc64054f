#pragma once

#include "foundation/IEventListener.h"
#include "lang/Localizer.h"

#include <string>
#include <utility>
#include <vector>

namespace s::lang::testing {

// The English names of the shipped pack's languages, in pack order.
inline const std::vector<std::string> kPackLanguages = {
    "English",   "Belarusian", "Chinese_Simplified", "Chinese_Traditional", "Greek",       "French",
    "Italian",   "Japanese",   "Korean",             "Hungarian",           "Russian",     "Swedish",
    "Ukrainian", "Arabic",     "Indonesian",         "Bulgarian",           "Czech",       "Serbian_Cyrillic",
    "Danish",    "German",     "Estonian",           "Spanish",             "Croatian",    "Dutch",
    "Persian",   "Polish",     "Portuguese_Brazilian", "Romanian",          "Slovak",      "Serbian_Latin",
    "Finnish",   "Turkish",    "Venetian",           "Vietnamese",
};

// A localizer with one language per English name; each language holds text 1 = its own name.
inline thread::PooledPtr<Localizer> makeLocalizer(const std::vector<std::string>& englishNames,
                                                  std::string systemLanguage = "Unknown")
{
    thread::PooledPtr<Localizer> localizer(thread::take<Localizer>());
    localizer->setSystemLanguageName(std::move(systemLanguage));
    for (const std::string& name : englishNames) {
        LangPack* language = thread::take<LangPack>();
        language->setNames(name.substr(0, 3), name, name);
        language->appendText(1, name);
        localizer->appendLanguage(language);
    }
    return localizer;
}

// Records every event it is told, with the order of all recorders.
class RecordingListener : public gui::events::IEventListener {
public:
    explicit RecordingListener(std::vector<RecordingListener*>* order = nullptr) : m_order(order) {}
    int onEvent(base::IObject* source, int code) override
    {
        m_events.emplace_back(source, code);
        if (m_order != nullptr)
            m_order->push_back(this);
        return 0;
    }
    const std::vector<std::pair<base::IObject*, int>>& events() const { return m_events; }

private:
    std::vector<RecordingListener*>* m_order;
    std::vector<std::pair<base::IObject*, int>> m_events;
};

}  // namespace s::lang::testing
