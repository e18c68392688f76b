#pragma once

#include <cstddef>
#include <functional>
#include <utility>
#include <vector>

namespace ts::platform {

// The modal windows of one thread, innermost last, and the progress of a
// quit request through them. A quit closes the innermost window first; once
// it has ended, the next one out is closed, up to the outermost. The window
// systems keep what a `Window` is and how it is closed (`close`); the order
// of the steps is the same for all of them, and kept here.
template <class Window>
class ModalStack {
public:
    struct Modal {
        Window window;
        bool quitAsked = false;  // the quit has asked this window to close
    };

    explicit ModalStack(std::function<void(Window&)> close) : close_(std::move(close)) {}

    bool empty() const { return modals_.empty(); }
    const std::vector<Modal>& modals() const { return modals_; }
    Modal& innermost() { return modals_.back(); }
    bool quitPending() const { return quitPending_; }
    // Whether a quit was ever requested, also once it has closed every window.
    bool quitEverRequested() const { return quitEverRequested_; }

    void push(Window window) { modals_.push_back(Modal{std::move(window), false}); }
    // Removes the innermost window; true when the quit request closed it, so
    // that whatever it answers counts as dismissed.
    bool pop() {
        const bool quitAnswered = modals_.back().quitAsked;
        modals_.pop_back();
        return quitAnswered;
    }

    // Records a quit request and closes the innermost window; with no window
    // open, the next one to open is closed once its loop runs (closeNext).
    // A repeated request asks the innermost window again, even if it was
    // asked before.
    void requestQuit() {
        quitPending_ = true;
        quitEverRequested_ = true;
        if (!modals_.empty()) {
            modals_.back().quitAsked = false;
        }
        closeNext();
    }
    // Closes the window the quit must close now, if any (nextToClose).
    void closeNext() {
        if (Window* window = nextToClose()) {
            close_(*window);
        }
    }
    // After a window has ended: true when the quit goes on with the next one
    // out; false when no quit is pending or it has closed every window.
    bool quitContinues() {
        if (!quitPending_) {
            return false;
        }
        if (modals_.empty()) {
            quitPending_ = false;
            return false;
        }
        return true;
    }

private:
    // The window the quit must close now, marked as asked; null when no quit
    // is pending, no window is open or the innermost was asked already (what
    // it opens meanwhile is its own).
    Window* nextToClose() {
        if (!quitPending_ || modals_.empty() || modals_.back().quitAsked) {
            return nullptr;
        }
        modals_.back().quitAsked = true;
        return &modals_.back().window;
    }

    std::function<void(Window&)> close_;
    std::vector<Modal> modals_;
    bool quitPending_ = false;
    bool quitEverRequested_ = false;
};

}  // namespace ts::platform
