#include "crv/platform/message_box.h"

#include <dlfcn.h>

#include <cstdio>
#include <mutex>

namespace crv::platform {

namespace {
std::mutex presenterMutex;
MessagePresenter installedPresenter = nullptr;
void* installedContext = nullptr;

using HostHook = void (*)(const char*, const char*, int);

HostHook findHostHook() {
    return reinterpret_cast<HostHook>(::dlsym(RTLD_DEFAULT, "crv_host_show_message"));
}
}  // namespace

void setMessagePresenter(MessagePresenter presenter, void* context) {
    std::lock_guard lock(presenterMutex);
    installedPresenter = presenter;
    installedContext = context;
}

void showMessage(const std::string& text, const std::string& title, MessageIcon icon) {
    MessagePresenter presenter;
    void* context;
    {
        std::lock_guard lock(presenterMutex);
        presenter = installedPresenter;
        context = installedContext;
    }
    if (presenter) {
        presenter(text, title, icon, context);
        return;
    }
    if (HostHook hook = findHostHook()) {
        hook(text.c_str(), title.c_str(), static_cast<int>(icon));
        return;
    }
    // Message boxes break lines with a carriage return alone; a terminal wants LF.
    std::string shown = text;
    for (char& c : shown)
        if (c == '\r') c = '\n';
    std::fprintf(stderr, "%s: %s\n", title.c_str(), shown.c_str());
    std::fflush(stderr);
}

}  // namespace crv::platform
