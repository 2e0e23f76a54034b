#include "startup/command_line_output.h"

#include <QApplication>
#include <QString>

#include <cstdio>
#include <optional>

#include "platform/clipboard.h"
#include "platform/display.h"
#include "platform/end_signals.h"
#include "platform/message_box.h"

namespace cf {

int DeliverCommandLineOutcome(const CommandLineOutcome& outcome, int& argc, char** argv)
{
    if (outcome.computed)
        std::printf("%s\n", outcome.code.c_str());
    else if (outcome.box)
        std::fprintf(stderr, "%s\n", outcome.box->text.c_str());
    // Nothing buffered may be duplicated into the clipboard server.
    std::fflush(stdout);
    std::fflush(stderr);

    if (!platform::DisplayAvailable())
        return outcome.exitStatus;

    std::optional<QApplication> application;
    if (outcome.computed && !platform::KeepOnClipboardAfterExit(outcome.code)) {
        application.emplace(argc, argv);
        platform::SetClipboardText(QString::fromStdString(outcome.code));
    }
    if (outcome.box) {
        if (!application)
            application.emplace(argc, argv);
        // An end signal closes the box, so that the place file still goes.
        platform::OnEndSignal(&*application, [] { QCoreApplication::exit(); });
        platform::ShowMessage(outcome.box->icon, QString::fromStdString(outcome.box->title),
                              QString::fromStdString(outcome.box->text));
    }
    return outcome.exitStatus;
}

}  // namespace cf
