// SPDX-License-Identifier: MIT
#include "platform/clipboard.h"

#ifdef CF_HAVE_X11

#include "platform/display.h"
#include "platform/end_signals.h"

// After Qt's headers, which Xlib's macros (Bool, Status) would break.
#include <X11/Xatom.h>
#include <X11/Xlib.h>
#include <fcntl.h>
#include <sys/wait.h>
#include <unistd.h>

#include <cerrno>
#include <cstdlib>
#include <iterator>
#include <string>

namespace cf::platform {
namespace {

enum AtomIndex { kClipboard, kTargets, kUtf8String, kText, kPlainUtf8, kPlain, kAtomCount };
const char* atomNames[kAtomCount] = {
    "CLIPBOARD", "TARGETS", "UTF8_STRING", "TEXT", "text/plain;charset=utf-8", "text/plain"};

// A requesting window may vanish in mid-transfer; that must not end the server.
int IgnoreError(Display*, XErrorEvent*)
{
    return 0;
}

// The X server went away: nobody is left to serve.
int EndServer(Display*)
{
    _exit(0);
}

bool OffersTextAs(Atom target, const Atom* atoms)
{
    return target == atoms[kUtf8String] || target == XA_STRING || target == atoms[kText]
           || target == atoms[kPlainUtf8] || target == atoms[kPlain];
}

void AnswerRequest(Display* display, const XSelectionRequestEvent& request, const Atom* atoms,
                   const std::string& text)
{
    XSelectionEvent reply{};
    reply.type = SelectionNotify;
    reply.display = request.display;
    reply.requestor = request.requestor;
    reply.selection = request.selection;
    reply.target = request.target;
    reply.time = request.time;
    reply.property = None;
    // Old clients leave the property empty and expect the target's name.
    const Atom property = request.property != None ? request.property : request.target;
    if (request.target == atoms[kTargets]) {
        const Atom offered[] = {atoms[kTargets], atoms[kUtf8String], XA_STRING,
                                atoms[kText],    atoms[kPlainUtf8],  atoms[kPlain]};
        XChangeProperty(display, request.requestor, property, XA_ATOM, 32, PropModeReplace,
                        reinterpret_cast<const unsigned char*>(offered), std::size(offered));
        reply.property = property;
    } else if (OffersTextAs(request.target, atoms)) {
        const Atom type = request.target == atoms[kText] ? XA_STRING : request.target;
        XChangeProperty(display, request.requestor, property, type, 8, PropModeReplace,
                        reinterpret_cast<const unsigned char*>(text.data()), static_cast<int>(text.size()));
        reply.property = property;
    }
    XSendEvent(display, request.requestor, False, NoEventMask, reinterpret_cast<XEvent*>(&reply));
    XFlush(display);
}

// Cuts the server off from the caller: no terminal, standard streams on
// /dev/null and no inherited descriptor but `ready`, so that a caller reading
// our output to its end is not kept waiting. Returns the new number of
// `ready`.
int DetachFromCaller(int ready)
{
    const int kept = fcntl(ready, F_DUPFD_CLOEXEC, 3);
    if (kept < 0)
        _exit(0);
    const int null = open("/dev/null", O_RDWR);
    for (int stream = 0; stream <= 2; ++stream)
        dup2(null, stream);
    if (kept > 3)
        close_range(3, static_cast<unsigned>(kept) - 1, 0);
    close_range(static_cast<unsigned>(kept) + 1, ~0U, 0);
    if (chdir("/") != 0) {
        // Staying in the caller's directory only keeps it busy.
    }
    return kept;
}

// The background server: takes the clipboard, writes '1' to `ready` once it
// holds it, then hands the text to every program asking for it until another
// program takes the clipboard.
[[noreturn]] void ServeClipboard(const std::string& text, int ready)
{
    // The caller's signal handlers would write into a descriptor closed here
    // and maybe taken again by the X connection.
    RestoreEndSignals();
    ready = DetachFromCaller(ready);
    // A display that takes the connection and never answers ends the server
    // (SIGALRM) by the time the caller has stopped waiting for it.
    alarm((kDisplayAnswerTimeoutMs + 999) / 1000);
    XSetErrorHandler(IgnoreError);
    XSetIOErrorHandler(EndServer);
    Display* display = XOpenDisplay(nullptr);
    if (display == nullptr)
        _exit(0);
    Atom atoms[kAtomCount];
    XInternAtoms(display, const_cast<char**>(atomNames), kAtomCount, False, atoms);
    const Window window = XCreateSimpleWindow(display, DefaultRootWindow(display), 0, 0, 1, 1, 0, 0, 0);
    XSetSelectionOwner(display, atoms[kClipboard], window, CurrentTime);
    if (XGetSelectionOwner(display, atoms[kClipboard]) != window)
        _exit(0);
    const char held = '1';
    if (write(ready, &held, 1) != 1)
        _exit(0);
    close(ready);
    alarm(0);

    for (;;) {
        XEvent event;
        XNextEvent(display, &event);
        if (event.type == SelectionClear && event.xselectionclear.selection == atoms[kClipboard])
            break;
        if (event.type == SelectionRequest)
            AnswerRequest(display, event.xselectionrequest, atoms, text);
    }
    XCloseDisplay(display);
    _exit(0);
}

}  // namespace

bool KeepOnClipboardAfterExit(std::string_view text)
{
    const char* displayName = std::getenv("DISPLAY");
    if (displayName == nullptr || *displayName == '\0')
        return false;
    int pipeEnds[2];
    if (pipe2(pipeEnds, O_CLOEXEC) != 0)
        return false;

    const std::string served(text);
    // Two forks: the server is not our child, so it never lingers as a
    // zombie of ours, and setsid() leaves it without a terminal.
    const pid_t helper = fork();
    if (helper == 0) {
        close(pipeEnds[0]);
        setsid();
        if (fork() == 0)
            ServeClipboard(served, pipeEnds[1]);
        _exit(0);
    }
    close(pipeEnds[1]);

    bool held = false;
    if (helper > 0) {
        while (waitpid(helper, nullptr, 0) < 0 && errno == EINTR) {
        }
        char byte = 0;
        held = WaitToRead(pipeEnds[0], kDisplayAnswerTimeoutMs) == WaitOutcome::Readable
               && read(pipeEnds[0], &byte, 1) == 1 && byte == '1';
    }
    close(pipeEnds[0]);
    return held;
}

}  // namespace cf::platform

#else  // no X11

namespace cf::platform {

bool KeepOnClipboardAfterExit(std::string_view)
{
    return false;
}

}  // namespace cf::platform

#endif
