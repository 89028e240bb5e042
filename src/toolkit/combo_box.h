// A drop-down list: the user picks one entry and cannot type.
#pragma once

#include <vector>

#include "toolkit/control.h"

namespace tk {

struct ComboBoxDesign {
    std::string name;
    Rect rect;
    Frame* container = nullptr;
};

class ComboBox : public Control {
public:
    ComboBox(Form& form, ComboBoxDesign design);

    void add_item(std::string text);
    const std::vector<std::string>& items() const { return items_; }
    // -1 when nothing is selected.
    int list_index() const { return list_index_; }
    // Raises on_click whenever the selection changes, whoever changes it. An index outside
    // the list selects nothing.
    void set_list_index(int index);
    std::function<void()> on_click;

private:
    std::vector<std::string> items_;
    int list_index_ = -1;
};

}  // namespace tk
