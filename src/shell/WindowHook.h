#pragma once
// A hook that a window fills for as long as it lives: set when the window is built, cleared when it goes,
// unless something set its own hook there meanwhile (which then stays).
namespace tarv {

template <class Hook>
class WindowHook {
public:
    WindowHook(Hook*& slot, Hook& hook) : slot_(slot), hook_(&hook) { slot_ = hook_; }
    ~WindowHook() {
        if (slot_ == hook_) slot_ = nullptr;
    }
    WindowHook(const WindowHook&) = delete;
    WindowHook& operator=(const WindowHook&) = delete;

private:
    Hook*& slot_;
    Hook* hook_;
};

}  // namespace tarv
