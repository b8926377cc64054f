#pragma once

#include "platform/Files.h"
#include "settings/Reporter.h"
#include "xml/Node.h"

#include <string>

namespace s::map {

// The XML document a settings store keeps in a file, read with what the store needs to decide
// what to do with a file that is damaged.
struct DocumentRead {
    enum class Outcome { Missing, Loaded, Damaged };

    Outcome outcome = Outcome::Missing;
    platform::FileStamp stamp;  // of the file that was read (or that could not be)
    std::string bytes;          // the file's bytes when it could be read
    std::string problem;        // what is wrong with it, for the report, when Damaged
};

// Reads the file's root element into root, which must be empty; comments before the root are
// skipped. Unless Loaded, root is left empty.
DocumentRead readDocument(const std::string& file, xml::Node& root);

// Moves a damaged settings file aside ("<file>.broken", numbered when that exists) and reports
// it. False when it could not be moved; the report then says that changes will not be saved,
// and the caller must not write over the file.
bool setAsideDamaged(const std::string& file, const std::string& problem, const Reporter& report);

}  // namespace s::map
