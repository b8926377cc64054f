#pragma once

#include "foundation/IObject.h"

#include <cstdint>
#include <span>
#include <string>
#include <string_view>
#include <vector>

namespace s::map {

// The settings store: typed values addressed by a group path and a value name. Paths separate
// their groups with '\' (the file store also accepts '/'); the empty path is the store's root and
// the empty name the group's own value. Every read names a fallback, returned whenever the value
// is missing or cannot be read as the asked type, so a program runs unchanged on an empty store.
//
// A store resolves a path once for consecutive accesses under it; it takes no lock of its own,
// so one store serves one thread at a time.
class IMappedData : public base::IObject {
public:
    using Bytes = std::vector<std::uint8_t>;

    // Writes the whole store out where that is needed (the file store); true when nothing is
    // left unsaved.
    virtual bool save() = 0;

    // Makes path the current group, creating every missing group on the way.
    virtual bool createPath(std::string_view path) = 0;
    // Removes the group with everything under it.
    virtual bool removePath(std::string_view path) = 0;
    // Makes path the current group without creating anything; whether it exists.
    virtual bool selectPath(std::string_view path) = 0;
    virtual bool hasValue(std::string_view path, std::string_view name) = 0;

    virtual std::uint8_t getU8(std::string_view path, std::string_view name, std::uint8_t fallback) = 0;
    virtual std::uint16_t getU16(std::string_view path, std::string_view name, std::uint16_t fallback) = 0;
    virtual std::uint32_t getU32(std::string_view path, std::string_view name, std::uint32_t fallback) = 0;
    virtual std::uint64_t getU64(std::string_view path, std::string_view name, std::uint64_t fallback) = 0;
    virtual std::int8_t getS8(std::string_view path, std::string_view name, std::int8_t fallback) = 0;
    virtual std::int16_t getS16(std::string_view path, std::string_view name, std::int16_t fallback) = 0;
    virtual std::int32_t getS32(std::string_view path, std::string_view name, std::int32_t fallback) = 0;
    virtual std::int64_t getS64(std::string_view path, std::string_view name, std::int64_t fallback) = 0;
    virtual float getFloat(std::string_view path, std::string_view name, float fallback) = 0;
    virtual double getDouble(std::string_view path, std::string_view name, double fallback) = 0;
    virtual bool getBool(std::string_view path, std::string_view name, bool fallback) = 0;

    // The string, or fallback. `expanded` (when given) tells whether the value was stored as an
    // expandable string; with `expand` its %NAME% references are replaced by the environment's
    // values.
    virtual std::string getString(std::string_view path, std::string_view name, std::string_view fallback,
                                  bool* expanded = nullptr, bool expand = true) = 0;
    // Appends the value's bytes to out; false (out unchanged) when there is no such value.
    virtual bool getBytes(std::string_view path, std::string_view name, Bytes& out) = 0;

    // Removes the value if its group and the value exist.
    virtual bool removeValue(std::string_view path, std::string_view name) = 0;

    // Each setter creates the path, stores the value and, while auto-save is on, saves. True
    // when the value is stored for good; false when it is kept only until a later save succeeds
    // or could not be stored at all.
    virtual bool setU8(std::string_view path, std::string_view name, std::uint8_t value) = 0;
    virtual bool setU16(std::string_view path, std::string_view name, std::uint16_t value) = 0;
    virtual bool setU32(std::string_view path, std::string_view name, std::uint32_t value) = 0;
    virtual bool setU64(std::string_view path, std::string_view name, std::uint64_t value) = 0;
    virtual bool setS8(std::string_view path, std::string_view name, std::int8_t value) = 0;
    virtual bool setS16(std::string_view path, std::string_view name, std::int16_t value) = 0;
    virtual bool setS32(std::string_view path, std::string_view name, std::int32_t value) = 0;
    virtual bool setS64(std::string_view path, std::string_view name, std::int64_t value) = 0;
    virtual bool setFloat(std::string_view path, std::string_view name, float value) = 0;
    virtual bool setDouble(std::string_view path, std::string_view name, double value) = 0;
    virtual bool setBool(std::string_view path, std::string_view name, bool value) = 0;
    virtual bool setString(std::string_view path, std::string_view name, std::string_view value) = 0;
    // A string whose %NAME% references are expanded when it is read.
    virtual bool setExpandString(std::string_view path, std::string_view name, std::string_view value) = 0;
    virtual bool setBytes(std::string_view path, std::string_view name, std::span<const std::uint8_t> value) = 0;

    virtual bool getAutoSave() const = 0;
    // Switching auto-save on does not itself save.
    virtual void setAutoSave(bool on) = 0;
};

}  // namespace s::map
