#pragma once
// A Cairo image surface and its drawing context, owned together: the 2-D
// pictures of the tools (the baked art's masks, the profile plot, the
// contact sheet, the icon) are drawn on one of these with Cairo's paths,
// strokes, fills and text. Rows run top-down, as Cairo keeps them; ARGB32
// pixels are premultiplied and lie in memory as B, G, R, A on this
// little-endian machine. A canvas whose surface could not be made (no
// memory, a size Cairo refuses) says so through ok(); drawing on it does
// nothing.
#include <cairo.h>

#include <string>

class CairoCanvas {
public:
    CairoCanvas(cairo_format_t format, int width, int height);
    ~CairoCanvas();
    CairoCanvas(const CairoCanvas&) = delete;
    CairoCanvas& operator=(const CairoCanvas&) = delete;

    bool ok() const;
    int width() const { return m_width; }
    int height() const { return m_height; }
    cairo_t* cr() const { return m_cr; }
    cairo_surface_t* surface() const { return m_surface; }

    // The pixels after Cairo's drawing so far; stride() bytes per row.
    const unsigned char* data() const;
    int stride() const;
    // For writing pixels by hand between drawing calls: take them with
    // pixels_for_writing(), then tell Cairo with pixels_written().
    unsigned char* pixels_for_writing();
    void pixels_written();

    // Writes the picture as PNG under PATH.part and renames it to PATH when
    // complete; false with `error` naming the file otherwise.
    bool write_png(const std::string& path, std::string& error) const;

private:
    int m_width, m_height;
    cairo_surface_t* m_surface = nullptr;
    cairo_t* m_cr = nullptr;
};

// Sets the source colour from 0xRRGGBB.
void set_source_rgb(cairo_t* cr, unsigned rgb, double alpha = 1.0);
