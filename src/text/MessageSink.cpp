#include "text/MessageSink.h"

#include <atomic>

namespace {
std::atomic<TMessageSink*> installedSink{nullptr};
}

TMessageSink* SetMessageSink(TMessageSink* sink) { return installedSink.exchange(sink); }

void ShowMessage(const std::string& message, int32_t position) {
    if (TMessageSink* sink = installedSink.load()) sink->Show(message, position);
}
