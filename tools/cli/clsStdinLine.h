#pragma once

#include <QString>

#include <optional>

class QEventLoop;

// A line of standard input, read while the event loop goes on, so that a
// Stop is heard while a question waits for its answer.
class clsStdinLine {
public:
    // The line without its end; nothing at the end of input, or when
    // abandoned.
    std::optional<QString> Read();
    // Ends a Read under way, with nothing.
    void Abandon();

private:
    QEventLoop* pWaiting = nullptr;
};
