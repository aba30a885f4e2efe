#pragma once

namespace zvkob::win32 {

// Whether the view itself is writing to the screen. What Windows reports
// meanwhile (a text box's change, a window's move) is the view's own echo,
// not the user's doing, and must not go back to the model.
class ViewWriting {
public:
    bool active() const { return active_; }

    // Marks the view as writing for as long as it lives; nests.
    class Mark {
    public:
        explicit Mark(ViewWriting& writing) : writing_(writing), before_(writing.active_) {
            writing.active_ = true;
        }
        ~Mark() { writing_.active_ = before_; }
        Mark(const Mark&) = delete;
        Mark& operator=(const Mark&) = delete;

    private:
        ViewWriting& writing_;
        bool before_;
    };

private:
    bool active_ = false;
};

}  // namespace zvkob::win32
