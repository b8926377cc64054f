#pragma once

#include "foundation/IObject.h"
#include "xml/ParseResult.h"

#include <string>
#include <string_view>

namespace s::xml {

// The document facet of a node: what a reader of a tree needs without knowing how it is kept.
class IXml : public base::IObject {
public:
    virtual int getChildCount() const = 0;
    // The name, or null for a node that has none.
    virtual const char* getName() const = 0;
    // With length -1: the whole name equals text, ignoring ASCII case. With a length: the name
    // is exactly those `length` bytes of text, case-sensitive.
    virtual bool nameEquals(const char* text, int length = -1) const = 0;
    virtual bool isComment() const = 0;
    // Reads one element from text into this node (which only gains from it).
    virtual ParseResult parse(std::string_view text) = 0;
    // Appends the element with its subtree, compactly; clears the buffer first unless append.
    virtual std::string& writeTo(std::string& buffer, bool append = false) const = 0;
};

}  // namespace s::xml
