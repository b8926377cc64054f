#pragma once

#include "foundation/ClassPool.h"
#include "foundation/IObject.h"
#include "foundation/IPoolable.h"
#include "image/Image.h"

#include <cstddef>
#include <span>
#include <vector>

namespace s::image {

// The images of one icon in several sizes, read from ICO data (uncompressed 32-bit images with
// their alpha channel, or 24-bit images with the transparency mask). Owns its images.
class IconGroup final : public base::IObject, public thread::IPoolable {
public:
    static constexpr int kPoolCapacity = 4;

    IconGroup() = default;
    ~IconGroup() override { clear(); }
    IconGroup(const IconGroup&) = delete;
    IconGroup& operator=(const IconGroup&) = delete;

    // Replaces the images with those of the ICO data. Entries of a kind it cannot read (PNG,
    // palette images) and damaged entries are skipped. False when no image could be read or the
    // directory itself is damaged; the group is then empty.
    bool read(std::span<const unsigned char> bytes);
    void clear();

    std::size_t getImageCount() const { return m_images.size(); }
    // No bounds check; callers stay below the count.
    const Image& getImage(std::size_t index) const { return *m_images[index]; }
    // The square image of exactly that size, else the smallest larger one, else the largest;
    // null when the group is empty.
    const Image* findImage(int size) const;

    const char* getClassName() const override { return "s_image_IconGroup"; }
    base::IObject* newInstance() const override { return thread::take<IconGroup>(); }
    void recycle() override { thread::giveBack(this); }
    void reset() override { clear(); }

private:
    std::vector<Image*> m_images;
};

}  // namespace s::image
