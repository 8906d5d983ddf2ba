#include "ui/WindowProgram.h"

#include "platform/TerminationSignals.h"
#include "run/RunParts.h"
#include "ui/DisplayCheck.h"
#include "ui/FontCheck.h"

#include <QApplication>

#include <iostream>

namespace slidemill {

int RunWindowProgram(int argc, char** argv, RunParts& parts, const WindowSessionOptions& options) {
    if (const std::string problem = DisplayProblem(CurrentDisplayEnvironment(), options.programName);
        !problem.empty()) {
        std::cerr << problem << "\n";
        return kWindowExitNoDisplay;
    }
    // Caught from here on: a signal that comes while the window is being built closes it as
    // soon as the event loop runs.
    TerminationSignalDescriptor();
    QApplication app(argc, argv);
    QApplication::setApplicationName("Slidemill");
    QApplication::setApplicationVersion(SLIDEMILL_VERSION);
    QApplication::setOrganizationName("Lumenware, Inc.");
    if (!ApplicationFontResolves())
        std::cerr << options.programName
                  << ": no font was found, so the window's text cannot be drawn; install a font "
                     "package (fonts-dejavu-core, for example).\n";

    int exitCode = 0;
    {
        WindowSession session(parts, options, std::cerr);
        QObject::connect(&session, &WindowSession::finished, &app, &QCoreApplication::quit);
        session.Start();
        exitCode = QApplication::exec();
    }
    parts.ShutDown();
    return exitCode;
}

} // namespace slidemill
