#include "xml/AttrFactory.h"

namespace s::xml {

AttrFactory& AttrFactory::instance()
{
    static AttrFactory* factory = new AttrFactory();
    return *factory;
}

AttrFactory::~AttrFactory()
{
    destroyKept();
}

void* AttrFactory::generate()
{
    return new AttrRecord();
}

void AttrFactory::resetObject(void* object)
{
    auto* record = static_cast<AttrRecord*>(object);
    std::string().swap(record->name);
    std::string().swap(record->value);
}

void AttrFactory::destroyObject(void*& object)
{
    delete static_cast<AttrRecord*>(object);
    object = nullptr;
}

}  // namespace s::xml
