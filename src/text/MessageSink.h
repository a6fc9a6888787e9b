#pragma once
// The one way the core speaks to the user. The core formats a message and hands
// it to the sink the program installed: the desktop program shows a message box,
// the command-line program prints to stderr, tests record. The core never shows
// a window itself.
#include <cstdint>
#include <string>

class TMessageSink {
public:
    virtual ~TMessageSink() = default;
    // message: the finished text (UTF-8); position: the character offset of a
    // condition error, or -1 for messages that have no position (file commands).
    virtual void Show(const std::string& message, int32_t position) = 0;
};

// Installs the sink for the whole program; nullptr drops every message.
// Returns the sink that was installed before.
TMessageSink* SetMessageSink(TMessageSink* sink);

// A sink that installs itself for its lifetime and then puts back the sink it
// replaced; sinks so made nest like scopes.
class TInstalledSink : public TMessageSink {
public:
    TInstalledSink() : previous_(SetMessageSink(this)) {}
    ~TInstalledSink() override { SetMessageSink(previous_); }
    TInstalledSink(const TInstalledSink&) = delete;
    TInstalledSink& operator=(const TInstalledSink&) = delete;

private:
    TMessageSink* previous_;
};

// Hands a message to the installed sink (nothing happens without one).
void ShowMessage(const std::string& message, int32_t position = -1);
