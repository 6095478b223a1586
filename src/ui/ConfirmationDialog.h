// The confirmation dialog: a yes-or-no question ("Delete record?") before an
// action that cannot be undone.
#pragma once

#include <QString>
#include <functional>

namespace dorvak {

class ConfirmationDialog {
public:
    // Receives the caption and the question and returns the answer (true = OK)
    // instead of the dialog being shown.
    using Answerer = std::function<bool(const QString& caption, const QString& question)>;

    // Asks `question` in a modal dialog with the caption "Confirm", the
    // question-mark icon and the buttons "OK" (default: Enter) and "Cancel"
    // (escape: Escape or the close box). Returns true only for OK.
    static bool ask(const QString& question);

    // Replaces the dialog for tests; an empty function restores the real one.
    static void setAnswererForTesting(Answerer answerer);
};

}  // namespace dorvak
