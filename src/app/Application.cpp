#include "app/Application.h"

#include <QIcon>
#include <QWidget>

#include "app/ApplicationTitle.h"
#include "app/SilentAbort.h"
#include "ui/ErrorBox.h"
#include "ui/Resources.h"

namespace dorvak {

namespace {

// A widget that keeps the grab after its handler failed would swallow every
// later click, so the grab goes before anything is shown.
void releaseMouseGrab() {
    if (QWidget* grabber = QWidget::mouseGrabber()) grabber->releaseMouse();
}

}  // namespace

Application::Application(int& argc, char** argv) : QApplication(argc, argv) {
    // Set as the application name, which applicationDisplayName() reports:
    // an explicit display name would be appended by X11 to every window's
    // caption ("Dorvak dijelova — Dorvak", "Confirm — Dorvak").
    setApplicationName(ApplicationTitle(applicationFilePath()));
    initResources();
    QIcon icon;
    for (int size : {16, 24, 32, 48})
        icon.addFile(QStringLiteral(":/dorvak/icon-%1.png").arg(size), QSize(size, size));
    setWindowIcon(icon);
}

bool Application::notify(QObject* receiver, QEvent* event) {
    try {
        return QApplication::notify(receiver, event);
    } catch (const SilentAbort&) {
        releaseMouseGrab();
    } catch (const std::exception& failure) {
        reportFailure(failure);
    } catch (...) {
        releaseMouseGrab();
        ErrorBox::show(QStringLiteral("Unknown failure"));
    }
    // The failed handler is abandoned; the event counts as handled so that
    // nothing else acts on it half-done.
    return true;
}

void Application::reportFailure(const std::exception& failure) {
    releaseMouseGrab();
    if (dynamic_cast<const SilentAbort*>(&failure)) return;
    ErrorBox::show(QString::fromUtf8(failure.what()));
}

}  // namespace dorvak
