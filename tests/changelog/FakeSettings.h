#pragma once

#include "settings/IMappedData.h"

#include <charconv>
#include <map>
#include <string>
#include <utility>

namespace changelog_test {

// A settings store in memory that takes any value name (the drive keys are whole mount points).
// Numbers and flags are kept as decimal text; the tests read the texts back.
class FakeSettings final : public s::map::IMappedData {
public:
    using Key = std::pair<std::string, std::string>;

    std::map<Key, std::string> values;

    bool save() override { return true; }
    bool createPath(std::string_view) override { return true; }
    bool removePath(std::string_view) override { return false; }
    bool selectPath(std::string_view) override { return true; }
    bool hasValue(std::string_view path, std::string_view name) override { return values.count(key(path, name)) != 0; }

    std::uint8_t getU8(std::string_view p, std::string_view n, std::uint8_t f) override { return number(p, n, f); }
    std::uint16_t getU16(std::string_view p, std::string_view n, std::uint16_t f) override { return number(p, n, f); }
    std::uint32_t getU32(std::string_view p, std::string_view n, std::uint32_t f) override { return number(p, n, f); }
    std::uint64_t getU64(std::string_view p, std::string_view n, std::uint64_t f) override { return number(p, n, f); }
    std::int8_t getS8(std::string_view p, std::string_view n, std::int8_t f) override { return number(p, n, f); }
    std::int16_t getS16(std::string_view p, std::string_view n, std::int16_t f) override { return number(p, n, f); }
    std::int32_t getS32(std::string_view p, std::string_view n, std::int32_t f) override { return number(p, n, f); }
    std::int64_t getS64(std::string_view p, std::string_view n, std::int64_t f) override { return number(p, n, f); }
    float getFloat(std::string_view, std::string_view, float f) override { return f; }
    double getDouble(std::string_view, std::string_view, double f) override { return f; }
    bool getBool(std::string_view p, std::string_view n, bool f) override { return number<int>(p, n, f ? 1 : 0) != 0; }
    std::string getString(std::string_view p, std::string_view n, std::string_view f, bool* expanded, bool) override
    {
        if (expanded != nullptr)
            *expanded = false;
        const auto found = values.find(key(p, n));
        return found != values.end() ? found->second : std::string(f);
    }
    bool getBytes(std::string_view, std::string_view, Bytes&) override { return false; }
    bool removeValue(std::string_view p, std::string_view n) override { return values.erase(key(p, n)) != 0; }

    bool setU8(std::string_view p, std::string_view n, std::uint8_t v) override { return put(p, n, v); }
    bool setU16(std::string_view p, std::string_view n, std::uint16_t v) override { return put(p, n, v); }
    bool setU32(std::string_view p, std::string_view n, std::uint32_t v) override { return put(p, n, v); }
    bool setU64(std::string_view p, std::string_view n, std::uint64_t v) override { return put(p, n, v); }
    bool setS8(std::string_view p, std::string_view n, std::int8_t v) override { return put(p, n, v); }
    bool setS16(std::string_view p, std::string_view n, std::int16_t v) override { return put(p, n, v); }
    bool setS32(std::string_view p, std::string_view n, std::int32_t v) override { return put(p, n, v); }
    bool setS64(std::string_view p, std::string_view n, std::int64_t v) override { return put(p, n, v); }
    bool setFloat(std::string_view, std::string_view, float) override { return false; }
    bool setDouble(std::string_view, std::string_view, double) override { return false; }
    bool setBool(std::string_view p, std::string_view n, bool v) override { return put(p, n, v ? 1 : 0); }
    bool setString(std::string_view p, std::string_view n, std::string_view v) override
    {
        values[key(p, n)] = std::string(v);
        return true;
    }
    bool setExpandString(std::string_view p, std::string_view n, std::string_view v) override { return setString(p, n, v); }
    bool setBytes(std::string_view, std::string_view, std::span<const std::uint8_t>) override { return false; }

    bool getAutoSave() const override { return true; }
    void setAutoSave(bool) override {}

    const char* getClassName() const override { return "changelog_test_FakeSettings"; }
    s::base::IObject* newInstance() const override { return new FakeSettings(); }

private:
    static Key key(std::string_view path, std::string_view name) { return {std::string(path), std::string(name)}; }

    template <class Number>
    Number number(std::string_view path, std::string_view name, Number fallback) const
    {
        const auto found = values.find(key(path, name));
        if (found == values.end())
            return fallback;
        Number value{};
        const std::string& text = found->second;
        const auto [end, error] = std::from_chars(text.data(), text.data() + text.size(), value);
        return error == std::errc() && end == text.data() + text.size() ? value : fallback;
    }

    template <class Number>
    bool put(std::string_view path, std::string_view name, Number value)
    {
        values[key(path, name)] = std::to_string(value);
        return true;
    }
};

}  // namespace changelog_test
