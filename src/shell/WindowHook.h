#pragma once
// The hooks that a window fills for as long as it lives.
#include <vector>

namespace tarv {

// A hook slot the window fills: set when the window is built, cleared when it goes, unless something set
// its own hook there meanwhile (which then stays).

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

// A window in a list of windows of one kind for as long as it lives.
template <class Hook>
class WindowInList {
public:
    WindowInList(std::vector<Hook*>& list, Hook& hook) : list_(list), hook_(&hook) { list_.push_back(hook_); }
    ~WindowInList() { std::erase(list_, hook_); }
    WindowInList(const WindowInList&) = delete;
    WindowInList& operator=(const WindowInList&) = delete;

private:
    std::vector<Hook*>& list_;
    Hook* hook_;
};

}  // namespace tarv
