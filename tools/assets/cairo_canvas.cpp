#include "assets/cairo_canvas.h"

#include <cstdio>

CairoCanvas::CairoCanvas(cairo_format_t format, int width, int height) : m_width(width), m_height(height)
{
    m_surface = cairo_image_surface_create(format, width > 0 ? width : 0, height > 0 ? height : 0);
    m_cr = cairo_create(m_surface);
}

CairoCanvas::~CairoCanvas()
{
    cairo_destroy(m_cr);
    cairo_surface_destroy(m_surface);
}

bool CairoCanvas::ok() const
{
    return cairo_surface_status(m_surface) == CAIRO_STATUS_SUCCESS && cairo_status(m_cr) == CAIRO_STATUS_SUCCESS;
}

const unsigned char* CairoCanvas::data() const
{
    cairo_surface_flush(m_surface);
    return cairo_image_surface_get_data(m_surface);
}

int CairoCanvas::stride() const
{
    return cairo_image_surface_get_stride(m_surface);
}

unsigned char* CairoCanvas::pixels_for_writing()
{
    cairo_surface_flush(m_surface);
    return cairo_image_surface_get_data(m_surface);
}

void CairoCanvas::pixels_written()
{
    cairo_surface_mark_dirty(m_surface);
}

bool CairoCanvas::write_png(const std::string& path, std::string& error) const
{
    const std::string part = path + ".part";
    if (!ok() || cairo_surface_write_to_png(m_surface, part.c_str()) != CAIRO_STATUS_SUCCESS ||
        std::rename(part.c_str(), path.c_str()) != 0) {
        std::remove(part.c_str());
        error = "cannot write " + path + " (disk full or not writable?)";
        return false;
    }
    return true;
}

void set_source_rgb(cairo_t* cr, unsigned rgb, double alpha)
{
    cairo_set_source_rgba(cr, double((rgb >> 16) & 0xff) / 255.0, double((rgb >> 8) & 0xff) / 255.0,
                          double(rgb & 0xff) / 255.0, alpha);
}
