// The information dialog: the program's own short notices ("Upišite barem 3
// znaka u pretragu"), captioned with the application title.
#pragma once

#include <QString>
#include <functional>

namespace dorvak {

class InformationDialog {
public:
    // Receives the caption and the text instead of the dialog being shown.
    using Answerer = std::function<void(const QString& caption, const QString& text)>;

    // Shows `text` word-wrapped in a modal dialog: caption =
    // QGuiApplication::applicationDisplayName(), no icon, one "OK" that is both
    // the default and the escape button (Enter, Space and Escape close it).
    // Returns when the dialog is closed. With a test answerer set, calls it
    // instead and returns at once.
    static void show(const QString& text);

    // Replaces the dialog for tests; an empty function restores the real one.
    static void setAnswererForTesting(Answerer answerer);
};

}  // namespace dorvak
