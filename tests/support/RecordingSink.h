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

class TRecordingSink : public TMessageSink {
public:
    TRecordingSink() : previous_(SetMessageSink(this)) {}
    ~TRecordingSink() override { SetMessageSink(previous_); }
    void Show(const std::string& message, int32_t position) override {
        messages.push_back({message, position});
    }
    std::vector<TRecordedMessage> messages;

private:
    TMessageSink* previous_;
};
