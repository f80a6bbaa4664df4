#pragma once

#include <QString>

#include <functional>
#include <memory>
#include <optional>

class QEventLoop;
class QObject;

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
    // Hands oTake each piece of standard input as it comes, and an empty
    // one at its end, while the watch returned lives; nothing when there is
    // no standard input.
    static std::unique_ptr<QObject> Watch(const std::function<void(const QByteArray&)>& oTake);

    QEventLoop* pWaiting = nullptr;
};
