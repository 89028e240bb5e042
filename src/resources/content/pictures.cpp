#include "resources/content/pictures.h"

#include <algorithm>

#include "resources/content/canvas.h"

namespace vq::content {
namespace {

// Every level but the frame's stays within these, so no unframed picture has a black edge.
constexpr std::uint8_t kDarkest = 10;
constexpr std::uint8_t kLightest = 245;

// A small per-picture variation: a value in [-1, 1] that depends only on id and salt.
float vary(int id, int salt) {
    std::uint32_t h =
        static_cast<std::uint32_t>(id) * 73856093u ^ static_cast<std::uint32_t>(salt) * 19349663u;
    h ^= h >> 13;
    h *= 0x5bd1e995u;
    h ^= h >> 15;
    return static_cast<float>(h % 2001) / 1000.0f - 1.0f;
}

enum class Look { Plain, Dishevelled, HatAndGrin, BlackTie };

Look look_of(int id) {
    switch (id) {
        case 42:
            return Look::Dishevelled;
        case 44:
            return Look::HatAndGrin;
        case 45:
            return Look::BlackTie;
        default:
            return Look::Plain;
    }
}

// A head with its face, seen from the front and lit from the right; (cx, cy) is the face's
// centre and rx its half width.
void head(Canvas& c, float cx, float cy, float rx, float skin, Look look, int id) {
    const float ry = rx * 1.3f;
    const float soft = std::max(1.5f, rx * 0.08f);
    // Hair first; the face then covers all but its crown and sides.
    c.ellipse(cx, cy - ry * 0.22f, rx * 1.1f, ry * 0.98f, {40, 12, -8}, soft);
    if (look == Look::Dishevelled) {
        for (int i = 0; i < 7; ++i) {
            const float along = -1 + i / 3.0f;
            c.ellipse(cx + along * rx * 0.95f, cy - ry * (0.95f - 0.25f * along * along),
                      rx * 0.32f, ry * 0.22f, {45, 10, 0}, soft);
        }
    }
    c.ellipse(cx - rx * 0.98f, cy + ry * 0.05f, rx * 0.16f, ry * 0.2f, {skin - 25, 8, 0}, soft);
    c.ellipse(cx + rx * 0.98f, cy + ry * 0.05f, rx * 0.16f, ry * 0.2f, {skin - 5, 8, 0}, soft);
    c.ellipse(cx, cy + ry * 0.12f, rx, ry * 0.88f, {skin, 32, 8}, soft);

    const float eye_y = cy - ry * 0.02f;
    for (float side : {-1.0f, 1.0f}) {
        const float ex = cx + side * rx * 0.38f;
        c.rect(ex - rx * 0.2f, eye_y - ry * 0.17f, ex + rx * 0.2f, eye_y - ry * 0.13f, {55, 0, 0},
               soft * 0.7f);                                                     // brow
        c.ellipse(ex, eye_y, rx * 0.17f, ry * 0.07f, {225, 0, 0}, soft * 0.5f);  // white
        c.ellipse(ex, eye_y, rx * 0.08f, ry * 0.065f, {30, 0, 0}, soft * 0.4f);  // iris
    }
    c.ellipse(cx + rx * 0.08f, cy + ry * 0.25f, rx * 0.1f, ry * 0.16f, {skin - 35, 20, 10},
              soft);  // the nose's shadow
    const float mouth_y = cy + ry * 0.52f;
    if (look == Look::HatAndGrin) {
        c.ellipse(cx, mouth_y, rx * 0.5f, ry * 0.13f, {60, 0, 0}, soft * 0.6f);
        c.ellipse(cx, mouth_y - ry * 0.03f, rx * 0.42f, ry * 0.07f, {230, 0, 0}, soft * 0.5f);
    } else {
        c.ellipse(cx, mouth_y, rx * (0.32f + 0.05f * vary(id, 7)), ry * 0.05f, {85, 0, 0},
                  soft * 0.6f);
    }
    if (look == Look::HatAndGrin) {
        c.rect(cx - rx * 1.6f, cy - ry * 0.78f, cx + rx * 1.6f, cy - ry * 0.66f, {35, 10, 0},
               soft);  // brim
        c.rect(cx - rx * 0.95f, cy - ry * 1.55f, cx + rx * 0.95f, cy - ry * 0.7f, {30, 12, 0},
               soft);  // crown
        c.rect(cx - rx * 0.95f, cy - ry * 0.9f, cx + rx * 0.95f, cy - ry * 0.78f, {95, 0, 0},
               soft * 0.5f);  // band
    }
}

// Shoulders in a dark jacket, with a neck rising from them, below a head at (cx, head_y).
void shoulders(Canvas& c, float cx, float head_y, float rx, float skin, Look look) {
    const float w = static_cast<float>(c.width());
    const float h = static_cast<float>(c.height());
    const float soft = std::max(1.5f, rx * 0.08f);
    c.rect(cx - rx * 0.42f, head_y + rx, cx + rx * 0.42f, head_y + rx * 2.4f, {skin - 30, 25, 0},
           soft);
    const float top = head_y + rx * 2.0f;
    // The shirt's opening, then the jacket over all but a V of it.
    c.ellipse(cx, h, w * 0.55f, h - top, {55, 14, -6}, soft * 2);
    c.ellipse(cx, top + rx * 0.45f, rx * 0.36f, rx * 0.7f, {215, 10, 0}, soft);
    if (look == Look::BlackTie) {
        const float tie_y = top + rx * 0.1f;
        c.ellipse(cx - rx * 0.2f, tie_y, rx * 0.2f, rx * 0.12f, {20, 0, 0}, soft * 0.6f);
        c.ellipse(cx + rx * 0.2f, tie_y, rx * 0.2f, rx * 0.12f, {20, 0, 0}, soft * 0.6f);
        c.ellipse(cx, tie_y, rx * 0.08f, rx * 0.08f, {15, 0, 0}, soft * 0.5f);
    }
}

GreyImage portrait(const PictureSpec& spec) {
    const float w = static_cast<float>(spec.width);
    const float h = static_cast<float>(spec.height);
    const Look look = look_of(spec.id);
    Canvas c(spec.width, spec.height, 0);
    c.vertical_gradient(150 + 30 * vary(spec.id, 1), 95 + 25 * vary(spec.id, 2));
    // A soft studio light behind the head.
    c.ellipse(w * (0.55f + 0.1f * vary(spec.id, 3)), h * 0.35f, w * 0.45f, h * 0.35f, {200, 0, 0},
              w * 0.3f, 0.5f);

    const float rx = std::min(w * 0.24f, h * 0.15f);
    const float cx = w * (0.5f + 0.05f * vary(spec.id, 4));
    const float cy = h * 0.4f + (look == Look::HatAndGrin ? rx * 0.3f : 0.0f);
    const float skin = 185 + 15 * vary(spec.id, 5);
    shoulders(c, cx, cy, rx, skin, look);
    head(c, cx, cy, rx, skin, look, spec.id);

    c.vignette(0.4f);
    c.grain(static_cast<std::uint32_t>(spec.id), 5);
    GreyImage image = c.take(kDarkest, kLightest);
    if (is_framed(spec.id)) {
        for (int x = 0; x < image.width; ++x)
            image.pixels[x] =
                image.pixels[static_cast<std::size_t>(image.height - 1) * image.width + x] = 0;
        for (int y = 0; y < image.height; ++y)
            image.pixels[static_cast<std::size_t>(y) * image.width] =
                image.pixels[static_cast<std::size_t>(y) * image.width + image.width - 1] = 0;
    }
    return image;
}

// A standing figure in a coat and hat, its feet at (x, feet_y), `tall` pixels high.
void figure(Canvas& c, float x, float feet_y, float tall, float level) {
    const float soft = std::max(1.0f, tall * 0.02f);
    const float head_r = tall * 0.075f;
    c.rect(x - tall * 0.12f, feet_y - tall * 0.78f, x + tall * 0.12f, feet_y, {level, 8, 0}, soft);
    c.ellipse(x, feet_y - tall * 0.72f, tall * 0.17f, tall * 0.1f, {level, 8, 0},
              soft);  // shoulders
    c.ellipse(x, feet_y - tall * 0.86f, head_r, head_r * 1.2f, {level + 40, 15, 0}, soft);
    c.rect(x - head_r * 1.8f, feet_y - tall * 0.95f, x + head_r * 1.8f, feet_y - tall * 0.93f,
           {level - 10, 0, 0}, soft);  // brim
    c.rect(x - head_r * 1.1f, feet_y - tall * 1.04f, x + head_r * 1.1f, feet_y - tall * 0.94f,
           {level - 10, 0, 0}, soft);  // crown
}

// Night street: dark sky, a row of houses with lit windows, a street lamp and a figure.
void night_street(Canvas& c, int id) {
    const float w = static_cast<float>(c.width());
    const float h = static_cast<float>(c.height());
    c.vertical_gradient(20, 60);
    const float ground = h * 0.78f;
    float left = -w * 0.05f;
    for (int i = 0; left < w; ++i) {
        const float bw = w * (0.18f + 0.06f * vary(id, 10 + i));
        const float top = h * (0.3f + 0.12f * vary(id, 30 + i));
        c.rect(left, top, left + bw, ground, {60 + 10 * vary(id, 50 + i), 6, 0}, 1.5f);
        for (float wy = top + h * 0.06f; wy < ground - h * 0.1f; wy += h * 0.11f)
            for (float wx = left + bw * 0.2f; wx < left + bw * 0.8f; wx += bw * 0.35f)
                if (vary(id, static_cast<int>(wx * 7 + wy)) > -0.2f)
                    c.rect(wx, wy, wx + bw * 0.15f, wy + h * 0.05f, {200, 0, 10}, 1.0f);
        left += bw + w * 0.01f;
    }
    c.rect(0, ground, w, h, {90, 0, 25}, 2);
    const float lamp_x = w * (0.25f + 0.1f * vary(id, 2));
    c.ellipse(lamp_x, h * 0.3f, w * 0.3f, h * 0.3f, {220, 0, 0}, w * 0.25f, 0.3f);
    c.rect(lamp_x - 2, h * 0.3f, lamp_x + 2, ground, {25, 0, 0}, 1);
    c.ellipse(lamp_x, h * 0.3f, 6, 7, {250, 0, 0}, 3);
    figure(c, w * (0.62f + 0.1f * vary(id, 3)), ground + h * 0.06f, h * 0.5f, 30);
}

// A room: a bright window with its bars, a table, and two figures facing each other.
void interior(Canvas& c, int id) {
    const float w = static_cast<float>(c.width());
    const float h = static_cast<float>(c.height());
    c.vertical_gradient(120, 85);
    const float floor_y = h * 0.75f;
    c.rect(0, floor_y, w, h, {70, 0, 20}, 3);
    const float win_x = w * (0.5f + 0.1f * vary(id, 2));
    const float win_w = w * 0.18f;
    c.rect(win_x - win_w, h * 0.12f, win_x + win_w, h * 0.55f, {235, 10, 10}, 2);
    c.rect(win_x - 1.5f, h * 0.12f, win_x + 1.5f, h * 0.55f, {60, 0, 0}, 1);
    c.rect(win_x - win_w, h * 0.33f - 1.5f, win_x + win_w, h * 0.33f + 1.5f, {60, 0, 0}, 1);
    c.ellipse(win_x, floor_y + h * 0.05f, w * 0.3f, h * 0.05f, {160, 0, 0}, h * 0.05f, 0.5f);
    c.rect(w * 0.3f, floor_y - h * 0.15f, w * 0.7f, floor_y - h * 0.12f, {45, 10, 0}, 1.5f);
    c.rect(w * 0.33f, floor_y - h * 0.12f, w * 0.35f, floor_y + h * 0.05f, {40, 0, 0}, 1);
    c.rect(w * 0.65f, floor_y - h * 0.12f, w * 0.67f, floor_y + h * 0.05f, {40, 0, 0}, 1);
    figure(c, w * 0.2f, floor_y + h * 0.08f, h * 0.62f, 35);
    figure(c, w * 0.82f, floor_y + h * 0.1f, h * 0.58f, 50);
}

// Open country: a pale sky, a sun behind haze, rolling hills and a road with a figure.
void country(Canvas& c, int id) {
    const float w = static_cast<float>(c.width());
    const float h = static_cast<float>(c.height());
    c.vertical_gradient(215, 160);
    c.ellipse(w * (0.7f + 0.15f * vary(id, 2)), h * 0.22f, h * 0.07f, h * 0.07f, {245, 0, 0},
              h * 0.1f);
    c.ellipse(w * 0.2f, h * 0.75f, w * 0.6f, h * 0.22f, {115, 20, -10}, 4);
    c.ellipse(w * 0.85f, h * 0.8f, w * 0.55f, h * 0.25f, {95, 15, -10}, 4);
    c.rect(0, h * 0.82f, w, h, {80, 0, 20}, 3);
    c.ellipse(w * 0.5f, h * 1.05f, w * 0.12f, h * 0.25f, {170, 0, 0}, 3);  // the road
    figure(c, w * (0.45f + 0.05f * vary(id, 3)), h * 0.9f, h * 0.45f, 40);
}

GreyImage film_still(const PictureSpec& spec) {
    Canvas c(spec.width, spec.height, 0);
    switch (spec.id % 3) {
        case 0:
            night_street(c, spec.id);
            break;
        case 1:
            interior(c, spec.id);
            break;
        default:
            country(c, spec.id);
            break;
    }
    c.vignette(0.55f);
    c.grain(static_cast<std::uint32_t>(spec.id), 9);
    return c.take(kDarkest, kLightest);
}

}  // namespace

std::optional<PictureSpec> picture_spec(int id) {
    const auto found = std::find_if(kPictures.begin(), kPictures.end(),
                                    [id](const PictureSpec& spec) { return spec.id == id; });
    if (found == kPictures.end()) return std::nullopt;
    return *found;
}

std::optional<GreyImage> make_picture(int id) {
    const auto spec = picture_spec(id);
    if (!spec) return std::nullopt;
    return id >= kFirstPortrait ? portrait(*spec) : film_still(*spec);
}

}  // namespace vq::content
