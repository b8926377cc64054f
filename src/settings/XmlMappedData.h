#pragma once

#include "foundation/IPoolable.h"
#include "settings/IMappedData.h"
#include "settings/Reporter.h"
#include "xml/Node.h"

#include <string>

namespace s::xml {

// The settings store kept as one XML document in a file: each path component is a child
// element (the first child of exactly that name), each value an attribute of the group's
// element (names ignoring ASCII case), the empty name the element's text. While auto-save is
// on, every change rewrites the whole file.
class MappedData final : public map::IMappedData, public thread::IPoolable {
public:
    static constexpr int kPoolCapacity = 4;
    static constexpr const char* kRootName = "savedata";

    // The store kept in file. A file that exists but cannot be read or is not a whole document
    // is moved aside and reported, and the store starts empty.
    static thread::PooledPtr<MappedData> open(const std::string& file, map::Reporter reporter = map::stderrReporter());
    // A store held only in memory; save does nothing.
    static thread::PooledPtr<MappedData> openWithoutFile();

    MappedData();
    ~MappedData() override;
    MappedData(const MappedData&) = delete;
    MappedData& operator=(const MappedData&) = delete;

    const char* getClassName() const override { return "s_xml_MappedData"; }
    base::IObject* newInstance() const override;
    void recycle() override;
    void reset() override;

    // The document, for callers that read it whole.
    const Node& document() const { return *m_root; }

    bool save() override;
    bool createPath(std::string_view path) override;
    bool removePath(std::string_view path) override;
    bool selectPath(std::string_view path) override;
    bool hasValue(std::string_view path, std::string_view name) override;

    std::uint8_t getU8(std::string_view path, std::string_view name, std::uint8_t fallback) override;
    std::uint16_t getU16(std::string_view path, std::string_view name, std::uint16_t fallback) override;
    std::uint32_t getU32(std::string_view path, std::string_view name, std::uint32_t fallback) override;
    std::uint64_t getU64(std::string_view path, std::string_view name, std::uint64_t fallback) override;
    std::int8_t getS8(std::string_view path, std::string_view name, std::int8_t fallback) override;
    std::int16_t getS16(std::string_view path, std::string_view name, std::int16_t fallback) override;
    std::int32_t getS32(std::string_view path, std::string_view name, std::int32_t fallback) override;
    std::int64_t getS64(std::string_view path, std::string_view name, std::int64_t fallback) override;
    float getFloat(std::string_view path, std::string_view name, float fallback) override;
    double getDouble(std::string_view path, std::string_view name, double fallback) override;
    bool getBool(std::string_view path, std::string_view name, bool fallback) override;
    std::string getString(std::string_view path, std::string_view name, std::string_view fallback,
                          bool* expanded = nullptr, bool expand = true) override;
    bool getBytes(std::string_view path, std::string_view name, Bytes& out) override;

    bool removeValue(std::string_view path, std::string_view name) override;

    bool setU8(std::string_view path, std::string_view name, std::uint8_t value) override;
    bool setU16(std::string_view path, std::string_view name, std::uint16_t value) override;
    bool setU32(std::string_view path, std::string_view name, std::uint32_t value) override;
    bool setU64(std::string_view path, std::string_view name, std::uint64_t value) override;
    bool setS8(std::string_view path, std::string_view name, std::int8_t value) override;
    bool setS16(std::string_view path, std::string_view name, std::int16_t value) override;
    bool setS32(std::string_view path, std::string_view name, std::int32_t value) override;
    bool setS64(std::string_view path, std::string_view name, std::int64_t value) override;
    bool setFloat(std::string_view path, std::string_view name, float value) override;
    bool setDouble(std::string_view path, std::string_view name, double value) override;
    bool setBool(std::string_view path, std::string_view name, bool value) override;
    bool setString(std::string_view path, std::string_view name, std::string_view value) override;
    bool setExpandString(std::string_view path, std::string_view name, std::string_view value) override;
    bool setBytes(std::string_view path, std::string_view name, std::span<const std::uint8_t> value) override;

    bool getAutoSave() const override { return m_autoSave; }
    void setAutoSave(bool on) override { m_autoSave = on; }

private:
    void load();
    // Makes path the current group; with create, missing groups are added.
    bool resolve(std::string_view path, bool create);
    // The current group's first attribute of that name after resolving path, or null.
    const AttrRecord* valueAt(std::string_view path, std::string_view name);
    // Replaces the value of that name in the group at path by what add appends, then saves
    // when auto-save is on.
    template <class Add>
    bool store(std::string_view path, std::string_view name, Add add);
    bool changed();

    std::string m_file;
    map::Reporter m_reporter;
    Node* m_root;
    Node* m_current = nullptr;
    std::string m_currentPath;
    bool m_autoSave = true;
    bool m_saveRefused = false;   // the file could be neither read nor moved aside
    bool m_saveReported = false;  // a failed save was reported and none has succeeded since
};

}  // namespace s::xml
