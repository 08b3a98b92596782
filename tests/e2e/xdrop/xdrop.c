/* Drops files onto an X window the way a Linux file manager does (the XDND protocol, version
 * 5, a text/uri-list): under Wine the window's own process then makes the drop's handle, as
 * the system makes it for a drop from Explorer, and posts WM_DROPFILES with it.
 * Prints "accepted" or "refused" (the target's answer to the position) and, once dropped,
 * "finished". Usage: xdrop <target X window> <root x> <root y> <file URI>...  (DISPLAY from the
 * environment; gives up after five seconds without an answer) */
#include <X11/Xatom.h>
#include <X11/Xlib.h>
#include <stdio.h>
#include <stdlib.h>
#include <string.h>
#include <sys/select.h>

static Display* display;
static Window source;
static Atom xdndSelection, uriList;

static void Send(Window target, const char* type, long l1, long l2, long l3, long l4) {
    XEvent event;
    memset(&event, 0, sizeof event);
    event.xclient.type = ClientMessage;
    event.xclient.window = target;
    event.xclient.message_type = XInternAtom(display, type, False);
    event.xclient.format = 32;
    event.xclient.data.l[0] = (long)source;
    event.xclient.data.l[1] = l1;
    event.xclient.data.l[2] = l2;
    event.xclient.data.l[3] = l3;
    event.xclient.data.l[4] = l4;
    XSendEvent(display, target, False, NoEventMask, &event);
    XFlush(display);
}

/* Hands the file list to whoever asks for the selection. */
static void AnswerSelectionRequest(const XSelectionRequestEvent* request, const char* uris) {
    XEvent reply;
    memset(&reply, 0, sizeof reply);
    reply.xselection.type = SelectionNotify;
    reply.xselection.requestor = request->requestor;
    reply.xselection.selection = request->selection;
    reply.xselection.target = request->target;
    reply.xselection.time = request->time;
    reply.xselection.property = None;
    if (request->target == uriList) {
        Atom property = request->property != None ? request->property : request->target;
        XChangeProperty(display, request->requestor, property, uriList, 8, PropModeReplace,
                        (const unsigned char*)uris, (int)strlen(uris));
        reply.xselection.property = property;
    }
    XSendEvent(display, request->requestor, False, NoEventMask, &reply);
    XFlush(display);
}

/* The next event, or 0 after the time is up. */
static int NextEvent(XEvent* event, int seconds) {
    while (!XPending(display)) {
        fd_set fds;
        FD_ZERO(&fds);
        FD_SET(ConnectionNumber(display), &fds);
        struct timeval limit = {seconds, 0};
        if (select(ConnectionNumber(display) + 1, &fds, NULL, NULL, &limit) <= 0) return 0;
    }
    XNextEvent(display, event);
    return 1;
}

/* Waits for the client message of this type to the source, answering selection requests. */
static int WaitFor(const char* type, XEvent* found, const char* uris) {
    Atom wanted = XInternAtom(display, type, False);
    XEvent event;
    while (NextEvent(&event, 5)) {
        if (event.type == SelectionRequest) AnswerSelectionRequest(&event.xselectionrequest, uris);
        if (event.type == ClientMessage && event.xclient.message_type == wanted) {
            *found = event;
            return 1;
        }
    }
    return 0;
}

int main(int argc, char** argv) {
    if (argc < 5) {
        fprintf(stderr, "usage: xdrop <window> <x> <y> <uri>...\n");
        return 2;
    }
    display = XOpenDisplay(NULL);
    if (!display) return 2;
    Window target = (Window)strtoul(argv[1], NULL, 0);
    long x = atol(argv[2]), y = atol(argv[3]);
    size_t length = 1;
    for (int i = 4; i < argc; ++i) length += strlen(argv[i]) + 2;
    char* uris = calloc(length, 1);
    for (int i = 4; i < argc; ++i) strcat(strcat(uris, argv[i]), "\r\n");
    source = XCreateSimpleWindow(display, DefaultRootWindow(display), 0, 0, 1, 1, 0, 0, 0);
    xdndSelection = XInternAtom(display, "XdndSelection", False);
    uriList = XInternAtom(display, "text/uri-list", False);
    XSetSelectionOwner(display, xdndSelection, source, CurrentTime);

    Send(target, "XdndEnter", 5L << 24, (long)uriList, None, None);
    Send(target, "XdndPosition", 0, (x << 16) | y, CurrentTime, (long)XInternAtom(display, "XdndActionCopy", False));
    XEvent status;
    if (!WaitFor("XdndStatus", &status, uris)) return 1;
    const int accepted = (status.xclient.data.l[1] & 1) != 0;
    printf("%s\n", accepted ? "accepted" : "refused");
    fflush(stdout);
    if (!accepted) {
        Send(target, "XdndLeave", 0, 0, 0, 0);
        return 0;
    }
    Send(target, "XdndDrop", 0, CurrentTime, 0, 0);
    XEvent finished;
    if (!WaitFor("XdndFinished", &finished, uris)) return 1;
    printf("finished\n");
    XCloseDisplay(display);
    return 0;
}
