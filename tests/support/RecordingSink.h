#pragma once
// A message sink for tests: records every message and installs itself for its
// lifetime, restoring the previous sink afterwards.
#include <string>
#include <vector>

#include "text/MessageSink.h"

struct TRecordedMessage {
    std::string text;
    int32_t position;
};

class TRecordingSink : public TInstalledSink {
public:
    void Show(const std::string& message, int32_t position) override {
        messages.push_back({message, position});
    }
    std::vector<TRecordedMessage> messages;
};
