// A picture a control can hold or a form can draw: a bitmap or an icon, owned by a backend.
#pragma once

#include <memory>

namespace tk {

class Picture {
public:
    virtual ~Picture() = default;
    virtual int width_px() const = 0;
    virtual int height_px() const = 0;
};

using PicturePtr = std::shared_ptr<const Picture>;

}  // namespace tk
