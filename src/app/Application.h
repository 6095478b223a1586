// The application object: title, icon, and the one place where failures that
// escape event handlers are reported.
#pragma once

#include <QApplication>
#include <exception>

namespace dorvak {

class Application : public QApplication {
    Q_OBJECT

public:
    // Makes applicationDisplayName() report ApplicationTitle(applicationFilePath())
    // (through applicationName, so that no window caption gets it appended),
    // and sets the window icon to the program icon (16, 24, 32 and 48 px).
    Application(int& argc, char** argv);

    // Delivers the event; an exception that leaves the receiver never crosses
    // into Qt: any mouse grab is released, SilentAbort is dropped, anything
    // else is shown in the error box, and the event counts as handled so the
    // loop goes on.
    bool notify(QObject* receiver, QEvent* event) override;

    // The same reporting, for code that catches a failure itself (e.g. the
    // window's show handler, which must go on showing afterwards).
    static void reportFailure(const std::exception& failure);
};

}  // namespace dorvak
