#include "xml/Attributes.h"

#include "foundation/AsciiCase.h"

namespace s::xml {

Attributes::~Attributes()
{
    clear();
}

int Attributes::indexOf(std::string_view name) const
{
    for (std::size_t i = 0; i < m_records.size(); ++i) {
        if (base::equalsIgnoringAsciiCase(m_records[i]->name, name))
            return static_cast<int>(i);
    }
    return -1;
}

const AttrRecord* Attributes::find(std::string_view name) const
{
    int index = indexOf(name);
    return index < 0 ? nullptr : m_records[static_cast<std::size_t>(index)];
}

void Attributes::add(std::string_view name, std::string_view storedValue)
{
    addEmpty(name).assign(storedValue);
}

std::string& Attributes::addEmpty(std::string_view name)
{
    AttrRecord* record = AttrFactory::instance().takeRecord();
    record->name.assign(name);
    m_records.push_back(record);
    return record->value;
}

void Attributes::removeAt(int index)
{
    auto at = m_records.begin() + index;
    AttrRecord* record = *at;
    m_records.erase(at);
    AttrFactory::instance().giveBackRecord(record);
}

bool Attributes::remove(std::string_view name)
{
    int index = indexOf(name);
    if (index < 0)
        return false;
    removeAt(index);
    return true;
}

void Attributes::clear()
{
    AttrFactory& factory = AttrFactory::instance();
    for (AttrRecord* record : m_records)
        factory.giveBackRecord(record);
    m_records.clear();
}

}  // namespace s::xml
