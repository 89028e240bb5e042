#include "startup/caption_sizes.h"

#include <array>

#include "config/frm_about.h"
#include "config/frm_config.h"
#include "config/frm_drifter_config.h"
#include "config/frm_flasher_config.h"
#include "config/frm_still_quote_config.h"
#include "saver/frm_main_screen_saver.h"
#include "startup/program.h"
#include "toolkit/check_box.h"
#include "toolkit/command_button.h"
#include "toolkit/frame.h"
#include "toolkit/label.h"
#include "toolkit/option_button.h"
#include "toolkit/text_rules.h"
#include "toolkit/toolkit.h"

namespace vq {
namespace {

constexpr std::array kDpis{96, 120, 144, 192};
// The width the Still & Quote texts wrap in: five inches, about the width of a still and a
// half, whatever the screen.
constexpr double kQuoteWrapTwips = 7200;

class Measurer {
  public:
    explicit Measurer(tk::Toolkit& toolkit) : toolkit_(toolkit) {}

    void add(const std::string& where, const tk::Font& font, const std::string& text,
             double wrap_twips) {
        for (const int dpi : kDpis) {
            const tk::Size size = toolkit_.measure_text_at(font, text, wrap_twips, dpi);
            const double tpp = 1440.0 / dpi;
            const int wrap_px = wrap_twips > 0 ? tk::twips_to_pixels(wrap_twips, tpp) : 0;
            out_ += where + ' ' + std::to_string(dpi) + ' ' +
                    std::to_string(tk::twips_to_pixels(size.width, tpp)) + ' ' +
                    std::to_string(tk::twips_to_pixels(size.height, tpp)) + ' ' +
                    std::to_string(wrap_px) + '\n';
        }
    }

    // Every caption of a loaded form; labels again after each option button takes the
    // focus, since their captions may follow it.
    void add_form(tk::Form& form) {
        add_controls(form, "");
        int round = 0;
        for (tk::Control* control : form.controls()) {
            auto* option = dynamic_cast<tk::OptionButton*>(control);
            if (option == nullptr || !option->on_got_focus) continue;
            option->on_got_focus();
            std::string suffix = "#";
            suffix += std::to_string(++round);
            add_controls(form, suffix, /*labels_only=*/true);
        }
    }

    const std::string& text() const { return out_; }

  private:
    void add_controls(tk::Form& form, const std::string& suffix, bool labels_only = false) {
        for (tk::Control* control : form.controls()) {
            std::string where = form.name() + '.' + control->name();
            if (const auto* option = dynamic_cast<const tk::OptionButton*>(control))
                where.append("(").append(std::to_string(option->index())).append(")");
            where += suffix;
            if (const auto* label = dynamic_cast<const tk::Label*>(control)) {
                if (!label->caption().empty())
                    add(where, label->font(), label->caption(),
                        label->word_wrap() ? label->width() : 0);
            } else if (!labels_only) {
                if (const std::string* caption = caption_of(*control); caption && !caption->empty())
                    add(where, form.font(), *caption, 0);
            }
        }
    }

    static const std::string* caption_of(const tk::Control& control) {
        if (const auto* c = dynamic_cast<const tk::CommandButton*>(&control)) return &c->caption();
        if (const auto* c = dynamic_cast<const tk::CheckBox*>(&control)) return &c->caption();
        if (const auto* c = dynamic_cast<const tk::OptionButton*>(&control)) return &c->caption();
        if (const auto* c = dynamic_cast<const tk::Frame*>(&control)) return &c->caption();
        return nullptr;
    }

    tk::Toolkit& toolkit_;
    std::string out_;
};

}  // namespace

std::string CaptionSizes(Program& program) {
    Measurer measurer(program.toolkit());
    measurer.add_form(program.load_config());
    measurer.add_form(program.load_drifter_config());
    measurer.add_form(program.load_still_quote_config());
    measurer.add_form(program.load_flasher_config());
    measurer.add_form(program.load_about());

    // The saver's labels, not loaded: only their fonts are needed.
    const frmMainScreenSaver saver(program);
    tk::Resources& resources = program.toolkit().resources();
    measurer.add("StillQuote.intro", saver.lblQuote.font(), frmMainScreenSaver::kStillQuoteIntro,
                 kQuoteWrapTwips);
    for (int film = 1; film <= 10; ++film) {
        const auto add = [&](const char* what, const tk::Label& label, int id, double wrap) {
            measurer.add(std::string("StillQuote.") + what + std::to_string(film), label.font(),
                         resources.load_string(static_cast<tk::Int16>(id)).value_or(""), wrap);
        };
        add("title", saver.lblTitle, 60 + film, 0);
        add("quote", saver.lblQuote, 80 + film, kQuoteWrapTwips);
        add("studio", saver.lblStudio, 100 + film, 0);
        add("year", saver.lblYear, 120 + film, 0);
    }

    // Access-key marks, as each backend shows them.
    const tk::Font& dialog_font = program.config()->font();
    measurer.add("AccessKeys.marked", dialog_font, "&Next >", 0);
    measurer.add("AccessKeys.doubled", dialog_font, "Fish && Chips", 0);
    measurer.add("AccessKeys.trailing", dialog_font, "Trailing&", 0);
    return measurer.text();
}

}  // namespace vq
