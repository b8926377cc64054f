#include "platform/x11/XSettings.h"

#include <cstdint>

namespace s::platform::x11 {

namespace {

class Reader {
public:
    Reader(const unsigned char* data, std::size_t size, bool bigEndian) : m_data(data), m_size(size), m_big(bigEndian) {}

    bool skip(std::size_t n)
    {
        if (n > m_size - m_at)
            return false;
        m_at += n;
        return true;
    }
    bool u8(std::uint8_t* v)
    {
        if (m_at + 1 > m_size)
            return false;
        *v = m_data[m_at++];
        return true;
    }
    bool u16(std::uint16_t* v)
    {
        if (m_size - m_at < 2)
            return false;
        const unsigned a = m_data[m_at], b = m_data[m_at + 1];
        *v = static_cast<std::uint16_t>(m_big ? (a << 8 | b) : (b << 8 | a));
        m_at += 2;
        return true;
    }
    bool u32(std::uint32_t* v)
    {
        if (m_size - m_at < 4)
            return false;
        std::uint32_t r = 0;
        for (int i = 0; i < 4; ++i) {
            const std::uint32_t byte = m_data[m_at + static_cast<std::size_t>(m_big ? i : 3 - i)];
            r = r << 8 | byte;
        }
        *v = r;
        m_at += 4;
        return true;
    }
    bool text(std::size_t n, std::string* out)
    {
        if (n > m_size - m_at)
            return false;
        out->assign(reinterpret_cast<const char*>(m_data + m_at), n);
        m_at += n;
        return true;
    }
    std::size_t at() const { return m_at; }

private:
    const unsigned char* m_data;
    std::size_t m_size;
    bool m_big;
    std::size_t m_at = 0;
};

constexpr std::size_t padded(std::size_t n)
{
    return (n + 3) & ~static_cast<std::size_t>(3);
}

}  // namespace

std::map<std::string, int> parseXSettings(const unsigned char* data, std::size_t size)
{
    std::map<std::string, int> settings;
    if (data == nullptr || size < 12)
        return settings;
    Reader in(data, size, data[0] == 1);  // 'B' (MSBFirst) is 1, 'l' (LSBFirst) is 0
    std::uint32_t serial = 0;
    std::uint32_t count = 0;
    if (!in.skip(4) || !in.u32(&serial) || !in.u32(&count))
        return settings;
    for (std::uint32_t i = 0; i < count; ++i) {
        std::uint8_t type = 0;
        std::uint16_t nameLength = 0;
        std::string name;
        std::uint32_t lastChange = 0;
        if (!in.u8(&type) || !in.skip(1) || !in.u16(&nameLength) || !in.text(nameLength, &name) ||
            !in.skip(padded(nameLength) - nameLength) || !in.u32(&lastChange))
            return settings;
        if (type == 0) {
            std::uint32_t value = 0;
            if (!in.u32(&value))
                return settings;
            settings[name] = static_cast<std::int32_t>(value);
        } else if (type == 1) {
            std::uint32_t length = 0;
            if (!in.u32(&length) || !in.skip(padded(length)))
                return settings;
        } else if (type == 2) {
            if (!in.skip(8))
                return settings;
        } else {
            return settings;
        }
    }
    return settings;
}

}  // namespace s::platform::x11
