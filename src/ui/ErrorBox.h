// The error box: how every failure that escapes an event handler reaches the
// user.
#pragma once

#include <QString>
#include <functional>

namespace dorvak {

class ErrorBox {
public:
    // Receives the caption and the final text (full stop already applied)
    // instead of the box being shown.
    using Answerer = std::function<void(const QString& caption, const QString& text)>;

    // Shows withFullStop(message) in a modal box: caption =
    // QGuiApplication::applicationDisplayName(), the critical (stop) icon, one
    // "OK". Every other window of the program is blocked while it is open and
    // the previously active window gets its focus back afterwards.
    static void show(const QString& message);

    // The message with a "." appended, unless it is empty or its last character
    // is at or below U+002E (control characters, blank, !"#$%&'()*+,-.), so that
    // messages already ending in punctuation are not doubled.
    static QString withFullStop(const QString& message);

    // Replaces the box for tests; an empty function restores the real one.
    static void setAnswererForTesting(Answerer answerer);
};

}  // namespace dorvak
