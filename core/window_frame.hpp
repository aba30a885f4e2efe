#pragma once
#include <functional>
#include <string>
#include <string_view>

namespace zvkob {

// A window's outer position and size in twips, in screen coordinates, and its
// caption. The view places the window from it and writes back a position the
// user moved it to.
class WindowFrame {
public:
    float left() const { return left_; }
    float top() const { return top_; }
    float width() const { return width_; }
    float height() const { return height_; }
    const std::string& caption() const { return caption_; }

    void set_position(float left, float top);
    void set_size(float width, float height);
    void set_caption(std::string_view caption);

    void set_observer(std::function<void()> observer) { observer_ = std::move(observer); }

private:
    void changed() const;

    float left_ = 0;
    float top_ = 0;
    float width_ = 0;
    float height_ = 0;
    std::string caption_;
    std::function<void()> observer_;
};

}  // namespace zvkob
