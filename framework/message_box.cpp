#include "framework/message_box.h"

#include <atomic>
#include <cstdio>

namespace {

std::atomic<MessageBoxHandler> s_handler{nullptr};

} // namespace

int AfxMessageBox(const CString& text, UINT type) {
    if (MessageBoxHandler handler = s_handler.load())
        return handler(text, type);
    std::fprintf(stderr, "%s\n", text.c_str());
    return IDOK;
}

MessageBoxHandler AfxSetMessageBoxHandler(MessageBoxHandler handler) {
    return s_handler.exchange(handler);
}
