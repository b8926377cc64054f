#pragma once

#include "foundation/IObject.h"
#include "xml/AttrFactory.h"

#include <string_view>
#include <vector>

namespace s::xml {

// The ordered attribute list of a node. Adding always appends, even when the name is present;
// lookups ignore ASCII case and return the first match. Records come from AttrFactory.
class Attributes final : public base::IObject {
public:
    Attributes() = default;
    ~Attributes() override;
    Attributes(const Attributes&) = delete;
    Attributes& operator=(const Attributes&) = delete;

    int size() const { return static_cast<int>(m_records.size()); }
    const AttrRecord& at(int index) const { return *m_records[static_cast<std::size_t>(index)]; }

    // Index of the first record whose name equals name ignoring ASCII case, or -1.
    int indexOf(std::string_view name) const;
    const AttrRecord* find(std::string_view name) const;

    // Appends a record holding name and the stored value as given.
    void add(std::string_view name, std::string_view storedValue);
    // Appends a record with the name and an empty value for the caller to fill in.
    std::string& addEmpty(std::string_view name);
    void removeAt(int index);
    // Removes the first record of that name; false when there is none.
    bool remove(std::string_view name);
    void clear();

    const char* getClassName() const override { return "s_xml_Attributes"; }
    base::IObject* newInstance() const override { return new Attributes(); }

private:
    std::vector<AttrRecord*> m_records;
};

}  // namespace s::xml
