#include "platform/gtk/gtk_text.h"

#include <hb-ot.h>
#include <pango/pangocairo.h>

#include <algorithm>
#include <string>

#include "toolkit/text_rules.h"

namespace gtkb {
namespace {

// A one-line layout of the text in the font, shaped as Windows shapes it: without kerning
// or ligatures, which GDI's text output does not apply ("Year" is 2 pixels narrower kerned).
Object<PangoLayout> plain_layout(PangoContext* context, const PangoFontDescription* description,
                                 std::string_view text) {
    Object<PangoLayout> layout(pango_layout_new(context));
    pango_layout_set_font_description(layout.get(), description);
    PangoAttrList* attributes = pango_attr_list_new();
    pango_attr_list_insert(attributes, pango_attr_font_features_new("kern 0, liga 0, clig 0"));
    pango_layout_set_attributes(layout.get(), attributes);
    pango_attr_list_unref(attributes);
    pango_layout_set_text(layout.get(), text.data(), static_cast<int>(text.size()));
    return layout;
}

}  // namespace

TextFont::TextFont(PangoContext* context, const tk::Font& font, int dpi)
    : context_(context), description_(pango_font_description_new()) {
    const int pixels = tk::font_pixel_height(font.size, dpi);
    const std::string family(tk::family_to_match(font.name));
    pango_font_description_set_family(description_.get(), family.c_str());
    pango_font_description_set_absolute_size(description_.get(), pixels * PANGO_SCALE);
    pango_font_description_set_weight(description_.get(),
                                      font.bold ? PANGO_WEIGHT_BOLD : PANGO_WEIGHT_NORMAL);
    pango_font_description_set_style(description_.get(),
                                     font.italic ? PANGO_STYLE_ITALIC : PANGO_STYLE_NORMAL);
    Object<PangoFont> loaded(pango_context_load_font(context_, description_.get()));
    if (!loaded) return;
    if (PangoFontDescription* chosen = pango_font_describe(loaded.get())) {
        if (const char* family = pango_font_description_get_family(chosen)) face_family_ = family;
        pango_font_description_free(chosen);
    }
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
    const Object<PangoLayout> layout = plain_layout(context_, description_.get(), text);
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
    const Object<PangoLayout> layout = plain_layout(context_, description_.get(), text);
    cairo_move_to(cairo, x, y);
    pango_cairo_show_layout_line(cairo, pango_layout_get_line_readonly(layout.get(), 0));
}

}  // namespace gtkb
