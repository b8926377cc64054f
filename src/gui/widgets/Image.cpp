#include "gui/widgets/Image.h"

#include "image/Image.h"

#include <cairo.h>

namespace s::gui::win {

Image::~Image()
{
    releasePicture();
}

void Image::reset()
{
    resetComponent();
    releasePicture();
    storeFixedWidth(16);
    storeFixedHeight(16);
}

void Image::releasePicture()
{
    if (m_ownsPicture && m_picture != nullptr)
        m_picture->recycle();
    m_picture = nullptr;
    m_ownsPicture = false;
}

void Image::setPicture(image::Image* picture, bool owned)
{
    if (picture == m_picture)
        return;
    releasePicture();
    m_picture = picture;
    m_ownsPicture = owned && picture != nullptr;
    redraw();
}

void Image::paint(cairo_t* cr)
{
    paintBackground(cr);
    if (m_picture == nullptr || m_picture->isEmpty() || getWidth() <= 0 || getHeight() <= 0)
        return;
    // The picture's pixels are cairo's ARGB32 already; the surface only borrows them.
    cairo_surface_t* surface = cairo_image_surface_create_for_data(
        reinterpret_cast<unsigned char*>(m_picture->getPixels()), CAIRO_FORMAT_ARGB32, m_picture->getWidth(),
        m_picture->getHeight(), m_picture->getStride());
    if (cairo_surface_status(surface) == CAIRO_STATUS_SUCCESS) {
        cairo_save(cr);
        cairo_scale(cr, static_cast<double>(getWidth()) / m_picture->getWidth(),
                    static_cast<double>(getHeight()) / m_picture->getHeight());
        cairo_set_source_surface(cr, surface, 0, 0);
        cairo_pattern_set_filter(cairo_get_source(cr), CAIRO_FILTER_GOOD);
        // Edge pixels keep their colour instead of fading into the transparency around the picture.
        cairo_pattern_set_extend(cairo_get_source(cr), CAIRO_EXTEND_PAD);
        cairo_paint(cr);
        cairo_restore(cr);
    }
    cairo_surface_destroy(surface);
}

Image* makeImage(image::Image* picture)
{
    Image* image = thread::take<Image>();
    if (picture != nullptr)
        image->setPicture(picture, false);
    return image;
}

}  // namespace s::gui::win
