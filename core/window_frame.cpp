#include "core/window_frame.hpp"

namespace zvkob {

void WindowFrame::set_position(float left, float top) {
    if (left_ != left || top_ != top) {
        left_ = left;
        top_ = top;
        changed();
    }
}

void WindowFrame::set_size(float width, float height) {
    if (width_ != width || height_ != height) {
        width_ = width;
        height_ = height;
        changed();
    }
}

void WindowFrame::set_caption(std::string_view caption) {
    if (caption_ != caption) {
        caption_ = caption;
        changed();
    }
}

void WindowFrame::changed() const {
    if (observer_) {
        observer_();
    }
}

}  // namespace zvkob
