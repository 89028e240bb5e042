#include "platform/gtk/gtk_text.h"

#include <hb-ot.h>
#include <pango/pangocairo.h>

#include <algorithm>

#include "toolkit/text_rules.h"

namespace gtkb {

TextFont::TextFont(PangoContext* context, const tk::Font& font, int dpi)
    : context_(context), description_(pango_font_description_new()) {
    const int pixels = tk::font_pixel_height(font.size, dpi);
    pango_font_description_set_family(description_.get(), font.name.c_str());
    pango_font_description_set_absolute_size(description_.get(), pixels * PANGO_SCALE);
    pango_font_description_set_weight(description_.get(),
                                      font.bold ? PANGO_WEIGHT_BOLD : PANGO_WEIGHT_NORMAL);
    pango_font_description_set_style(description_.get(),
                                     font.italic ? PANGO_STYLE_ITALIC : PANGO_STYLE_NORMAL);
    Object<PangoFont> loaded(pango_context_load_font(context_, description_.get()));
    if (!loaded) return;
    // Pango's own line height differs from Windows'; the font's OS/2 Windows metrics give
    // the one a caption is laid out with there.
    hb_font_t* shaped = pango_font_get_hb_font(loaded.get());
    hb_face_t* face = shaped != nullptr ? hb_font_get_face(shaped) : nullptr;
    if (face != nullptr) {
        hb_font_t* unscaled = hb_font_create(face);  // scale: the face's units per em
        hb_position_t win_ascent = 0;
        hb_position_t win_descent = 0;
        if (hb_ot_metrics_get_position(unscaled, HB_OT_METRICS_TAG_HORIZONTAL_CLIPPING_ASCENT,
                                       &win_ascent) &&
            hb_ot_metrics_get_position(unscaled, HB_OT_METRICS_TAG_HORIZONTAL_CLIPPING_DESCENT,
                                       &win_descent)) {
            const tk::LineMetrics metrics = tk::windows_line_metrics(
                win_ascent, win_descent, static_cast<int>(hb_face_get_upem(face)), pixels);
            ascent_ = metrics.ascent;
            descent_ = metrics.descent;
        }
        hb_font_destroy(unscaled);
    }
    if (ascent_ + descent_ <= 0) {
        Object<PangoFontMetrics> metrics{pango_font_get_metrics(loaded.get(), nullptr)};
        ascent_ = PANGO_PIXELS_CEIL(pango_font_metrics_get_ascent(metrics.get()));
        descent_ = PANGO_PIXELS_CEIL(pango_font_metrics_get_descent(metrics.get()));
    }
}

int TextFont::width_of(std::string_view text) const {
    if (text.empty()) return 0;
    Object<PangoLayout> layout(pango_layout_new(context_));
    pango_layout_set_font_description(layout.get(), description_.get());
    pango_layout_set_text(layout.get(), text.data(), static_cast<int>(text.size()));
    PangoRectangle logical{};
    pango_layout_get_pixel_extents(layout.get(), nullptr, &logical);
    return logical.width;
}

TextLayout TextFont::lay_out(std::string_view caption, int wrap_px) const {
    TextLayout layout;
    layout.ascent = ascent_;
    layout.line_height = ascent_ + descent_;
    const auto measure = [this](std::string_view text) { return width_of(text); };
    for (std::string& line : tk::break_lines(tk::shown_text(caption), wrap_px, measure)) {
        const int width = width_of(line);
        layout.width = std::max(layout.width, width);
        layout.lines.push_back({std::move(line), width});
    }
    return layout;
}

void TextFont::draw_line(cairo_t* cairo, const std::string& text, double x, double y) const {
    if (text.empty()) return;
    // Laid out in the measuring context, so a line draws exactly as wide as it measured.
    Object<PangoLayout> layout(pango_layout_new(context_));
    pango_layout_set_font_description(layout.get(), description_.get());
    pango_layout_set_text(layout.get(), text.data(), static_cast<int>(text.size()));
    cairo_move_to(cairo, x, y);
    pango_cairo_show_layout_line(cairo, pango_layout_get_line_readonly(layout.get(), 0));
}

}  // namespace gtkb
