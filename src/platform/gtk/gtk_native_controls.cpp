#include "platform/gtk/gtk_native_controls.h"

#include <gtk/gtk.h>

#include <cctype>
#include <cmath>
#include <set>
#include <vector>

#include "platform/gtk/gtk_form_peer.h"
#include "platform/gtk/gtk_toolkit.h"
#include "platform/gtk/gtk_windowless_controls.h"
#include "toolkit/check_box.h"
#include "toolkit/combo_box.h"
#include "toolkit/command_button.h"
#include "toolkit/frame.h"
#include "toolkit/label.h"
#include "toolkit/option_button.h"
#include "toolkit/scroll_bar.h"
#include "toolkit/text_rules.h"

namespace gtkb {
namespace {

constexpr const char* kControlKey = "vq-control";

// True while a peer copies the program's state into its widget: the signals GTK raises for
// that are no user's doing.
bool copying_state = false;

class CopyingState {
  public:
    CopyingState() : was_(copying_state) { copying_state = true; }
    ~CopyingState() { copying_state = was_; }
    CopyingState(const CopyingState&) = delete;
    CopyingState& operator=(const CopyingState&) = delete;

  private:
    bool was_;
};

class NativeControl : public tk::ControlPeer {
  public:
    NativeControl(FormPeer& form, tk::Control& control, GtkWidget* widget)
        : form_(form), control_(control), widget_(widget) {
        // The widget goes with its window; the peer may outlive both.
        g_object_add_weak_pointer(G_OBJECT(widget_), reinterpret_cast<gpointer*>(&widget_));
        g_object_set_data(G_OBJECT(widget_), kControlKey, &control_);
        g_signal_connect(widget_, "focus-in-event",
                         G_CALLBACK(+[](GtkWidget*, GdkEvent*, gpointer self) -> gboolean {
                             static_cast<NativeControl*>(self)->control_.raise_got_focus();
                             return FALSE;
                         }),
                         this);
        gtk_fixed_put(form.fixed(), widget_, 0, 0);
    }
    ~NativeControl() override {
        if (widget_ == nullptr) return;
        g_signal_handlers_disconnect_by_data(widget_, this);
        g_object_remove_weak_pointer(G_OBJECT(widget_), reinterpret_cast<gpointer*>(&widget_));
    }
    NativeControl(const NativeControl&) = delete;
    NativeControl& operator=(const NativeControl&) = delete;

    void sync() override {
        if (widget_ == nullptr || form_.fixed() == nullptr) return;
        const CopyingState copying;
        const PixelRect r = pixel_rect(control_);
        const int scale = form_.toolkit().pixel_scale();
        gtk_fixed_move(form_.fixed(), widget_, r.left / scale, r.top / scale);
        gtk_widget_set_size_request(widget_, std::max(1, r.width / scale),
                                    std::max(1, r.height / scale));
        gtk_widget_set_sensitive(widget_, control_.enabled());
        copy_state();
        gtk_widget_set_visible(widget_, control_.visible());
    }
    void focus() override {
        if (widget_ != nullptr) gtk_widget_grab_focus(widget_);
    }

  protected:
    virtual void copy_state() {}
    GtkWidget* widget() const { return widget_; }
    tk::Control& control() const { return control_; }
    // Connects a widget signal without arguments beyond the widget to a member, which runs
    // only for the user's changes.
    template <auto Member, typename Self>
    void on_user(const char* signal, Self* self) {
        g_signal_connect(widget_, signal, G_CALLBACK(+[](GtkWidget*, gpointer data) {
                             if (!copying_state) (static_cast<Self*>(data)->*Member)();
                         }),
                         self);
    }

  private:
    FormPeer& form_;
    tk::Control& control_;
    GtkWidget* widget_;
};

class Button : public NativeControl {
  public:
    Button(FormPeer& form, tk::CommandButton& button)
        : NativeControl(form, button,
                        gtk_button_new_with_mnemonic(gtk_mnemonic(button.caption()).c_str())),
          button_(button) {
        gtk_widget_set_can_default(widget(), TRUE);
        on_user<&Button::clicked>("clicked", this);
    }

  private:
    void clicked() { button_.press(); }
    void copy_state() override {
        gtk_button_set_label(GTK_BUTTON(widget()), gtk_mnemonic(button_.caption()).c_str());
        // The default button shows itself as such once it is in its window.
        if (button_.is_default() && gtk_widget_get_toplevel(widget()) != widget())
            gtk_widget_grab_default(widget());
    }
    tk::CommandButton& button_;
};

class CheckBox : public NativeControl {
  public:
    CheckBox(FormPeer& form, tk::CheckBox& box)
        : NativeControl(form, box,
                        gtk_check_button_new_with_mnemonic(gtk_mnemonic(box.caption()).c_str())),
          box_(box) {
        on_user<&CheckBox::toggled>("toggled", this);
    }

  private:
    void toggled() { box_.toggle_by_user(); }
    void copy_state() override {
        gtk_toggle_button_set_active(GTK_TOGGLE_BUTTON(widget()), box_.value() != 0);
    }
    tk::CheckBox& box_;
};

// The option buttons of one container on one form form one group.
GtkWidget* radio_button(FormPeer& form, const tk::OptionButton& option) {
    const std::string key =
        "vq-radio-group-" + std::to_string(reinterpret_cast<std::uintptr_t>(option.container()));
    auto* first =
        static_cast<GtkRadioButton*>(g_object_get_data(G_OBJECT(form.fixed()), key.c_str()));
    const CopyingState copying;
    GtkWidget* button = gtk_radio_button_new_with_mnemonic_from_widget(
        first, gtk_mnemonic(option.caption()).c_str());
    if (first == nullptr) g_object_set_data(G_OBJECT(form.fixed()), key.c_str(), button);
    return button;
}

class RadioButton : public NativeControl {
  public:
    RadioButton(FormPeer& form, tk::OptionButton& option)
        : NativeControl(form, option, radio_button(form, option)), option_(option) {
        on_user<&RadioButton::toggled>("toggled", this);
    }

  private:
    void toggled() {
        if (gtk_toggle_button_get_active(GTK_TOGGLE_BUTTON(widget())) && !option_.value())
            option_.set_value(true);
    }
    void copy_state() override {
        if (option_.value()) gtk_toggle_button_set_active(GTK_TOGGLE_BUTTON(widget()), TRUE);
    }
    tk::OptionButton& option_;
};

// A scroll bar as a scale without its value shown: it takes the focus and the arrow and page
// keys as a dialog's scroll bar does, and has the same range and steps.
class Scale : public NativeControl {
  public:
    Scale(FormPeer& form, tk::HScrollBar& bar)
        : NativeControl(form, bar, gtk_scale_new(GTK_ORIENTATION_HORIZONTAL, nullptr)), bar_(bar) {
        gtk_scale_set_draw_value(GTK_SCALE(widget()), FALSE);
        gtk_widget_set_can_focus(widget(), TRUE);
        on_user<&Scale::moved>("value-changed", this);
    }

  private:
    void moved() {
        const double value = gtk_range_get_value(GTK_RANGE(widget()));
        bar_.set_value(static_cast<tk::Int16>(std::lround(value)));
    }
    void copy_state() override {
        GtkAdjustment* adjustment = gtk_range_get_adjustment(GTK_RANGE(widget()));
        gtk_adjustment_configure(adjustment, bar_.value(), std::min(bar_.min(), bar_.max()),
                                 std::max(bar_.min(), bar_.max()), bar_.small_change(),
                                 bar_.large_change(), 0);
        gtk_range_set_inverted(GTK_RANGE(widget()), bar_.min() > bar_.max());
    }
    tk::HScrollBar& bar_;
};

class DropDown : public NativeControl {
  public:
    DropDown(FormPeer& form, tk::ComboBox& combo)
        : NativeControl(form, combo, gtk_combo_box_text_new()), combo_(combo) {
        on_user<&DropDown::changed>("changed", this);
    }

  private:
    void changed() { combo_.set_list_index(gtk_combo_box_get_active(GTK_COMBO_BOX(widget()))); }
    void copy_state() override {
        if (items_ != combo_.items()) {
            items_ = combo_.items();
            gtk_combo_box_text_remove_all(GTK_COMBO_BOX_TEXT(widget()));
            for (const std::string& item : items_)
                gtk_combo_box_text_append_text(GTK_COMBO_BOX_TEXT(widget()), item.c_str());
        }
        gtk_combo_box_set_active(GTK_COMBO_BOX(widget()), combo_.list_index());
    }
    tk::ComboBox& combo_;
    std::vector<std::string> items_;
};

class FramePeer : public NativeControl {
  public:
    FramePeer(FormPeer& form, tk::Frame& frame)
        : NativeControl(form, frame, gtk_frame_new(tk::shown_text(frame.caption()).c_str())),
          frame_(frame) {}

  private:
    void copy_state() override {
        gtk_frame_set_label(GTK_FRAME(widget()), tk::shown_text(frame_.caption()).c_str());
    }
    tk::Frame& frame_;
};

// A label is painted by its form, as on Windows; an invisible GtkLabel over it carries its
// text for screen readers and lets input through to the form.
// A control the form paints (a label, a picture) with an invisible widget in its place, which
// screen readers find with the control's role, text and extents.
class AccessibleStandIn : public NativeControl {
  public:
    AccessibleStandIn(FormPeer& form, tk::Control& control, GtkWidget* widget)
        : NativeControl(form, control, widget), painted_(form, control) {
        gtk_widget_set_opacity(widget, 0);
    }
    void sync() override {
        painted_.sync();
        NativeControl::sync();
    }

  private:
    WindowlessPeer painted_;
};

class AccessibleLabel : public AccessibleStandIn {
  public:
    AccessibleLabel(FormPeer& form, tk::Label& label)
        : AccessibleStandIn(form, label, gtk_label_new(nullptr)), label_(label) {
        // Never larger than the painted label: a screen reader shows where it stands.
        gtk_label_set_ellipsize(GTK_LABEL(widget()), PANGO_ELLIPSIZE_END);
        gtk_label_set_xalign(GTK_LABEL(widget()), 0);
        gtk_label_set_yalign(GTK_LABEL(widget()), 0);
    }

  private:
    void copy_state() override {
        gtk_label_set_text(GTK_LABEL(widget()), tk::shown_text(label_.caption()).c_str());
    }
    tk::Label& label_;
};

constexpr const char* kCompactWidgets = R"css(
.vq-dialog button { padding: 0 4px; min-height: 0; min-width: 0; }
.vq-dialog combobox button { padding: 0 2px; }
.vq-dialog combobox arrow { min-height: 8px; min-width: 8px; }
.vq-dialog checkbutton, .vq-dialog radiobutton { padding: 0; min-height: 0; }
.vq-dialog check, .vq-dialog radio { margin: 0 4px 0 0; min-height: 12px; min-width: 12px; }
.vq-dialog scale { padding: 0; min-height: 0; }
.vq-dialog scale trough { margin: 0 6px; }
.vq-dialog scale slider { min-height: 12px; min-width: 12px; margin: -6px; }
)css";

void add_screen_css(GtkWidget* widget, const std::string& css) {
    GtkCssProvider* provider = gtk_css_provider_new();
    gtk_css_provider_load_from_data(provider, css.c_str(), -1, nullptr);
    gtk_style_context_add_provider_for_screen(gtk_widget_get_screen(widget),
                                              GTK_STYLE_PROVIDER(provider),
                                              GTK_STYLE_PROVIDER_PRIORITY_APPLICATION);
    g_object_unref(provider);
}

}  // namespace

void style_dialog_window(GtkWidget* window, const tk::Form& form, int pixel_scale) {
    static std::set<std::string> installed;
    if (installed.insert("compact").second) add_screen_css(window, kCompactWidgets);
    // Pixels as the painted captions have them; CSS pixels are logical ones. One class per
    // font, set on the window, reaches every widget in it.
    const tk::Font& font = form.font();
    const int pixels = tk::font_pixel_height(font.size, form.dpi());
    std::string font_class = "vq-font-" + std::to_string(pixels) + "-" +
                             std::to_string(pixel_scale) + (font.bold ? "-bold" : "") +
                             (font.italic ? "-italic" : "") + "-";
    for (const char c : font.name)
        font_class += std::isalnum(static_cast<unsigned char>(c)) ? c : '_';
    if (installed.insert(font_class).second) {
        add_screen_css(window, "." + font_class + ", ." + font_class + " * { font-family: \"" +
                                   font.name + "\"; font-size: " +
                                   std::to_string(static_cast<double>(pixels) / pixel_scale) +
                                   "px; font-weight: " + (font.bold ? "bold" : "normal") +
                                   "; font-style: " + (font.italic ? "italic" : "normal") + "; }");
    }
    GtkStyleContext* context = gtk_widget_get_style_context(window);
    gtk_style_context_add_class(context, "vq-dialog");
    gtk_style_context_add_class(context, font_class.c_str());
}

std::string gtk_mnemonic(std::string_view caption) {
    std::string result;
    for (std::size_t i = 0; i < caption.size(); ++i) {
        const char c = caption[i];
        if (c == '_') {
            result += "__";
        } else if (c == '&' && i + 1 < caption.size()) {
            // "&&" is one "&"; "&x" marks x.
            if (caption[i + 1] == '&') {
                result += '&';
                ++i;
            } else {
                result += '_';
            }
        } else {
            result += c;
        }
    }
    return result;
}

std::unique_ptr<tk::ControlPeer> create_native_control(FormPeer& form, tk::Control& control) {
    switch (control.kind()) {
        case tk::ControlKind::CommandButton:
            return std::make_unique<Button>(form, static_cast<tk::CommandButton&>(control));
        case tk::ControlKind::CheckBox:
            return std::make_unique<CheckBox>(form, static_cast<tk::CheckBox&>(control));
        case tk::ControlKind::OptionButton:
            return std::make_unique<RadioButton>(form, static_cast<tk::OptionButton&>(control));
        case tk::ControlKind::HScrollBar:
            return std::make_unique<Scale>(form, static_cast<tk::HScrollBar&>(control));
        case tk::ControlKind::ComboBox:
            return std::make_unique<DropDown>(form, static_cast<tk::ComboBox&>(control));
        case tk::ControlKind::Frame:
            return std::make_unique<FramePeer>(form, static_cast<tk::Frame&>(control));
        case tk::ControlKind::Label:
            return std::make_unique<AccessibleLabel>(form, static_cast<tk::Label&>(control));
        case tk::ControlKind::Image:
        case tk::ControlKind::PictureBox:
            // An empty image: screen readers learn there is a picture and where it stands.
            return std::make_unique<AccessibleStandIn>(form, control, gtk_image_new());
    }
    return std::make_unique<WindowlessPeer>(form, control);
}

namespace {

tk::Control* initial_focus(const tk::Form& form) {
    for (tk::Control* control : form.tab_order()) {
        if (!control->visible() || !control->enabled() || !control->takes_focus()) continue;
        if (control->kind() != tk::ControlKind::OptionButton) return control;
        for (tk::Control* other : form.controls()) {
            if (other->kind() == tk::ControlKind::OptionButton &&
                other->container() == control->container() &&
                static_cast<const tk::OptionButton*>(other)->value())
                return other;
        }
        return control;
    }
    return nullptr;
}

}  // namespace

void arrange_focus(FormPeer& form) {
    if (form.fixed() == nullptr) return;
    GList* children = gtk_container_get_children(GTK_CONTAINER(form.fixed()));
    GList* chain = nullptr;
    for (const tk::Control* control : form.form().tab_order()) {
        for (GList* child = children; child != nullptr; child = child->next) {
            if (g_object_get_data(G_OBJECT(child->data), kControlKey) == control)
                chain = g_list_append(chain, child->data);
        }
    }
    g_list_free(children);
    if (chain != nullptr) {
        // The focus chain is what GTK 3 offers for a tab order of its own.
        G_GNUC_BEGIN_IGNORE_DEPRECATIONS
        gtk_container_set_focus_chain(GTK_CONTAINER(form.fixed()), chain);
        G_GNUC_END_IGNORE_DEPRECATIONS
        g_list_free(chain);
    }
    if (form.form().focused() != nullptr) {
        form.form().focused()->set_focus();
    } else if (tk::Control* first = initial_focus(form.form())) {
        first->set_focus();
    }
}

}  // namespace gtkb
