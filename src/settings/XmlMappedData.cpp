#include "settings/XmlMappedData.h"

#include "foundation/AsciiCase.h"
#include "foundation/ClassPool.h"
#include "platform/Files.h"
#include "settings/DocumentFile.h"
#include "xml/NumberText.h"

namespace s::xml {

namespace {

bool isSeparator(char c)
{
    return c == '\\' || c == '/';
}

void removeAll(Attributes& attributes, std::string_view name)
{
    // A hand-edited file may hold a name twice; leaving one behind would shadow the new value.
    while (attributes.remove(name)) {
    }
}

}  // namespace

thread::PooledPtr<MappedData> MappedData::open(const std::string& file, map::Reporter reporter)
{
    thread::PooledPtr<MappedData> store(thread::take<MappedData>());
    store->m_file = file;
    store->m_reporter = std::move(reporter);
    store->load();
    return store;
}

thread::PooledPtr<MappedData> MappedData::openWithoutFile()
{
    return thread::PooledPtr<MappedData>(thread::take<MappedData>());
}

MappedData::MappedData() : m_root(Node::take())
{
    m_root->setName(kRootName);
    m_current = m_root;
}

MappedData::~MappedData()
{
    m_root->recycle();
}

base::IObject* MappedData::newInstance() const
{
    return thread::take<MappedData>();
}

void MappedData::recycle()
{
    thread::giveBack(this);
}

void MappedData::reset()
{
    m_file.clear();
    m_reporter = nullptr;
    m_root->clear();
    m_root->setName(kRootName);
    m_current = m_root;
    m_currentPath.clear();
    m_autoSave = true;
    m_saveRefused = false;
    m_saveReported = false;
}

void MappedData::load()
{
    // Saves killed mid-write leave temporary files; this store takes no lock, so only old ones go.
    platform::removeLeftTemporaries(m_file, 60);
    m_root->clear();
    map::DocumentRead read = map::readDocument(m_file, *m_root);
    if (read.outcome == map::DocumentRead::Outcome::Damaged)
        m_saveRefused = !map::setAsideDamaged(m_file, read.problem, m_reporter);
    if (m_root->getName() == nullptr)
        m_root->setName(kRootName);
    m_current = m_root;
    m_currentPath.clear();
}

bool MappedData::save()
{
    if (m_file.empty())
        return true;
    if (m_saveRefused)
        return false;
    SaveResult result = m_root->save(m_file);
    if (result.ok()) {
        m_saveReported = false;
        return true;
    }
    if (!m_saveReported && m_reporter) {
        m_reporter("cannot save the settings to " + m_file + " (" + map::errorText(result.error) +
                   "); they are kept and saved again with the next change");
    }
    m_saveReported = true;
    return false;
}

bool MappedData::resolve(std::string_view path, bool create)
{
    // Only a group that was found is served again: a failed lookup is looked up anew, since
    // the cache ignores case and the group may exist under the exact name.
    if (m_current != nullptr && base::equalsIgnoringAsciiCase(path, m_currentPath))
        return true;
    m_currentPath.assign(path);
    m_current = nullptr;
    Node* node = m_root;
    if (!path.empty()) {
        std::size_t from = 0;
        // Elements deeper than the reader follows would make the saved file unreadable.
        int depth = 0;
        for (;;) {
            ++depth;
            std::size_t to = from;
            while (to < path.size() && !isSeparator(path[to]))
                ++to;
            std::string_view component = path.substr(from, to - from);
            auto length = static_cast<int>(component.size());
            Node* child = node->findChild(component.data(), length);
            if (child == nullptr) {
                if (!create || depth > Node::kMaxDepth || !isWritableName(component))
                    return false;
                child = node->addChild(component.data(), length);
            }
            node = child;
            if (to == path.size())
                break;
            from = to + 1;
        }
    }
    m_current = node;
    return true;
}

bool MappedData::createPath(std::string_view path)
{
    return resolve(path, true);
}

bool MappedData::selectPath(std::string_view path)
{
    return resolve(path, false);
}

bool MappedData::removePath(std::string_view path)
{
    if (path.empty()) {
        std::string name(m_root->name());
        m_root->clear();
        m_root->setName(name.c_str(), static_cast<int>(name.size()));
        m_current = m_root;
        m_currentPath.clear();
        return changed();
    }
    std::size_t last = path.size();
    while (last > 0 && !isSeparator(path[last - 1]))
        --last;
    std::string_view parentPath = path.substr(0, last == 0 ? 0 : last - 1);
    std::string_view leaf = path.substr(last);
    if (!resolve(parentPath, false))
        return false;
    int index = 0;
    if (!m_current->findChildIndex(leaf.data(), static_cast<int>(leaf.size()), index))
        return false;
    m_current->removeChild(index);
    return changed();
}

bool MappedData::hasValue(std::string_view path, std::string_view name)
{
    return valueAt(path, name) != nullptr;
}

const AttrRecord* MappedData::valueAt(std::string_view path, std::string_view name)
{
    return resolve(path, false) ? m_current->attributes().find(name) : nullptr;
}

std::uint8_t MappedData::getU8(std::string_view path, std::string_view name, std::uint8_t fallback)
{
    return resolve(path, false) ? m_current->getAttributeU8(name, fallback) : fallback;
}

std::uint16_t MappedData::getU16(std::string_view path, std::string_view name, std::uint16_t fallback)
{
    return resolve(path, false) ? m_current->getAttributeU16(name, fallback) : fallback;
}

std::uint32_t MappedData::getU32(std::string_view path, std::string_view name, std::uint32_t fallback)
{
    return resolve(path, false) ? m_current->getAttributeU32(name, fallback) : fallback;
}

std::uint64_t MappedData::getU64(std::string_view path, std::string_view name, std::uint64_t fallback)
{
    return resolve(path, false) ? m_current->getAttributeU64(name, fallback) : fallback;
}

std::int8_t MappedData::getS8(std::string_view path, std::string_view name, std::int8_t fallback)
{
    return resolve(path, false) ? m_current->getAttributeS8(name, fallback) : fallback;
}

std::int16_t MappedData::getS16(std::string_view path, std::string_view name, std::int16_t fallback)
{
    return resolve(path, false) ? m_current->getAttributeS16(name, fallback) : fallback;
}

std::int32_t MappedData::getS32(std::string_view path, std::string_view name, std::int32_t fallback)
{
    return resolve(path, false) ? m_current->getAttributeS32(name, fallback) : fallback;
}

std::int64_t MappedData::getS64(std::string_view path, std::string_view name, std::int64_t fallback)
{
    return resolve(path, false) ? m_current->getAttributeS64(name, fallback) : fallback;
}

float MappedData::getFloat(std::string_view path, std::string_view name, float fallback)
{
    const AttrRecord* record = valueAt(path, name);
    return record == nullptr ? fallback : static_cast<float>(number::parseFloating(record->value));
}

double MappedData::getDouble(std::string_view path, std::string_view name, double fallback)
{
    const AttrRecord* record = valueAt(path, name);
    return record == nullptr ? fallback : number::parseFloating(record->value);
}

bool MappedData::getBool(std::string_view path, std::string_view name, bool fallback)
{
    return resolve(path, false) ? m_current->getAttributeBool(name, fallback) : fallback;
}

std::string MappedData::getString(std::string_view path, std::string_view name, std::string_view fallback,
                                  bool* expanded, bool)
{
    if (expanded != nullptr)
        *expanded = false;
    std::string text;
    if (!resolve(path, false))
        return std::string(fallback);
    m_current->getAttributeText(text, name, fallback);
    return text;
}

bool MappedData::getBytes(std::string_view path, std::string_view name, Bytes& out)
{
    const AttrRecord* record = valueAt(path, name);
    if (record == nullptr)
        return false;
    number::appendHexBytes(record->value, out);
    return true;
}

bool MappedData::removeValue(std::string_view path, std::string_view name)
{
    if (!resolve(path, false) || m_current->attributes().indexOf(name) < 0)
        return false;
    removeAll(m_current->attributes(), name);
    return changed();
}

bool MappedData::changed()
{
    return !m_autoSave || save();
}

template <class Add>
bool MappedData::store(std::string_view path, std::string_view name, Add add)
{
    // A name the reader would split (white space, '/', '=', ...) would damage the document.
    if (!isWritableName(name) || !resolve(path, true))
        return false;
    removeAll(m_current->attributes(), name);
    add(*m_current);
    return changed();
}

bool MappedData::setU8(std::string_view path, std::string_view name, std::uint8_t value)
{
    return store(path, name, [&](Node& node) { node.addAttribute(name, value); });
}

bool MappedData::setU16(std::string_view path, std::string_view name, std::uint16_t value)
{
    return store(path, name, [&](Node& node) { node.addAttribute(name, value); });
}

bool MappedData::setU32(std::string_view path, std::string_view name, std::uint32_t value)
{
    return store(path, name, [&](Node& node) { node.addAttribute(name, value); });
}

bool MappedData::setU64(std::string_view path, std::string_view name, std::uint64_t value)
{
    return store(path, name, [&](Node& node) { node.addAttribute(name, value); });
}

bool MappedData::setS8(std::string_view path, std::string_view name, std::int8_t value)
{
    return store(path, name, [&](Node& node) { node.addAttribute(name, value); });
}

bool MappedData::setS16(std::string_view path, std::string_view name, std::int16_t value)
{
    return store(path, name, [&](Node& node) { node.addAttribute(name, value); });
}

bool MappedData::setS32(std::string_view path, std::string_view name, std::int32_t value)
{
    return store(path, name, [&](Node& node) { node.addAttribute(name, value); });
}

bool MappedData::setS64(std::string_view path, std::string_view name, std::int64_t value)
{
    return store(path, name, [&](Node& node) { node.addAttribute(name, value); });
}

bool MappedData::setFloat(std::string_view path, std::string_view name, float value)
{
    return store(path, name, [&](Node& node) { node.addAttribute(name, value); });
}

bool MappedData::setDouble(std::string_view path, std::string_view name, double value)
{
    return store(path, name, [&](Node& node) { node.addAttribute(name, value); });
}

bool MappedData::setBool(std::string_view path, std::string_view name, bool value)
{
    return store(path, name, [&](Node& node) { node.addAttribute(name, std::int32_t{value ? 1 : 0}); });
}

bool MappedData::setString(std::string_view path, std::string_view name, std::string_view value)
{
    return store(path, name, [&](Node& node) { node.addAttribute(name, value); });
}

bool MappedData::setExpandString(std::string_view path, std::string_view name, std::string_view value)
{
    return setString(path, name, value);
}

bool MappedData::setBytes(std::string_view path, std::string_view name, std::span<const std::uint8_t> value)
{
    return store(path, name,
                 [&](Node& node) { node.addAttributeHex(name, value.data(), static_cast<int>(value.size())); });
}

}  // namespace s::xml
