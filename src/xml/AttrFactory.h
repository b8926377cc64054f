#pragma once

#include "foundation/PoolerBase.h"

#include <string>

namespace s::xml {

// One attribute of a node: its name as given and its value in stored (escaped) form.
// The element's text is a record with an empty name.
struct AttrRecord {
    std::string name;
    std::string value;
};

// The pool of attribute records. A record given back has both texts freed.
class AttrFactory final : public thread::Factory {
public:
    // The process-wide pool; it is never destroyed, so nodes given back at process end can
    // still return their records.
    static AttrFactory& instance();

    AttrFactory() = default;
    ~AttrFactory() override;

    AttrRecord* takeRecord() { return static_cast<AttrRecord*>(take()); }
    void giveBackRecord(AttrRecord* record) { giveBack(record, -1); }

    void* generate() override;
    void resetObject(void* object) override;
    void destroyObject(void*& object) override;

    const char* getClassName() const override { return "s_xml_AttrFactory"; }
    base::IObject* newInstance() const override { return new AttrFactory(); }
};

}  // namespace s::xml
