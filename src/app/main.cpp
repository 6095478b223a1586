// The program entry: the application object, the one window, the loop.
#include <QStyleFactory>

#include "app/Application.h"
#include "pricing/RegionalSeparators.h"
#include "ui/UfrmDorvak.h"

int main(int argc, char** argv) {
    dorvak::Application application(argc, argv);
    // The classic, unthemed look the window's pixels were laid out for.
    QApplication::setStyle(QStyleFactory::create(QStringLiteral("Windows")));
    // Amounts follow the user's separators from the first label on.
    dorvak::RegionalSeparators separators(&application);
    dorvak::TfrmDorvak::setFailureSink(&dorvak::Application::reportFailure);

    dorvak::TfrmDorvak frmDorvak;
    // A Linux launcher hands no show state to the program; the window manager
    // applies its own rules (and the session's) to the mapped window, so a
    // plain show honours whatever the desktop offers.
    frmDorvak.show();
    application.exec();
    return 0;
}
