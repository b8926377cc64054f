#pragma once

#include "settings/RegKeyTree.h"
#include "xml/Node.h"

namespace s::reg::win {

// The registry's file is an XML document:
//   <registry version="1">
//     <key name="Software"><key name="Quillon">
//       <value name="Silent" type="dword" data="1"></value> ...
// A value's data is readable where it can be: decimal for a dword or qword, the text for a
// string (without its terminating null); anything else, and strings that are not plain text,
// as hex="..." (two lowercase digits per byte). Types without a name are written as numbers.
constexpr int kRegistryFormatVersion = 1;

struct RegistryRead {
    bool recognized = false;  // the document is a registry file
    int version = 0;
    int skipped = 0;          // entries left out because they cannot be read
};

// Fills root (which should be empty) from the document. Elements and attributes it does not
// know are ignored, so a file of a newer format gives what this version understands.
RegistryRead readRegistry(const xml::Node& document, RegKey& root);

// Builds the document for root into document (which should be empty).
void writeRegistry(const RegKey& root, xml::Node& document);

}  // namespace s::reg::win
